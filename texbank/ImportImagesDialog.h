#pragma once
// The question of File, "Import images ...": the folder of the game the textures are written
// into (proposed: the one chosen last time, else the folder of the bank's other images), typed
// (relative to the game folder or whole) or chosen with the button, whether each picture also
// becomes its own still texture, how the pictures are fitted to the square and whether they are
// dithered. Before anything is written it shows the palette the textures will use (the bank's,
// or the one made from all the pictures for a bank that has none) and each picture as it will
// come out, made again whenever the fit or the dithering changes. Tests answer it through the
// hook.
#include "Palette.h"
#include "PictureFit.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

struct ImportChoice {
    QString folder; // absolute
    bool stillTextures = true;
    TextureFit fit = TextureFit::Crop;
    bool dither = false;
};

struct ImportDialogTexts {
    QString caption, folderLabel, chooseFolder, stillTextures, cancel;
    QString fitLabel, fitCrop, fitPad, fitStretch, dither;
};

// How a typed folder is read and checked: relative to `gameFolder`; `problem` says why a folder
// cannot take the textures (none when it can), and the dialog stays open until it can.
struct ImportFolderCheck {
    QString gameFolder;
    std::function<QString(const QString& folder)> problem;
};

// What the dialog shows for a fit and dithering: the palette, a line saying where it comes from,
// and each picture (its texture, or why it is refused).
struct ImportPreviewPicture {
    QString name;
    QImage texture; // null when refused
    QString refusal;
};
struct ImportPreview {
    PalettePlanes palette{};
    QString paletteNote;
    std::vector<ImportPreviewPicture> pictures;
};
using ImportPreviewMaker = std::function<ImportPreview(TextureFit fit, bool dither)>;

// Answers instead of the dialog when set.
std::function<std::optional<ImportChoice>(const ImportChoice& proposed)>& ImportChoiceHook();

// The user's choice, or nothing when cancelled.
std::optional<ImportChoice> AskImportChoice(QWidget* parent, const ImportChoice& proposed,
                                            const ImportDialogTexts& texts, const ImportFolderCheck& check,
                                            const ImportPreviewMaker& preview);

class ImportImagesDialog : public QDialog {
public:
    ImportImagesDialog(QWidget* parent, const ImportChoice& proposed, const ImportDialogTexts& texts,
                       const ImportFolderCheck& check, ImportPreviewMaker preview);
    ImportChoice Choice() const; // the folder made whole
    void accept() override;

private:
    // The fit's three choices in a box, `proposed` checked, in the fit_ group.
    QGroupBox* fitChoice(const ImportDialogTexts& texts, TextureFit proposed);
    void chooseFolder();
    void showPreview();

    QLineEdit* folder_;
    QCheckBox* stillTextures_;
    QButtonGroup* fit_;
    QCheckBox* dither_;
    QLabel* paletteNote_;
    QLabel* palette_;
    QListWidget* pictures_;
    QString caption_;
    ImportFolderCheck check_;
    ImportPreviewMaker preview_;
};
