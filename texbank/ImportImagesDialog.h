#pragma once
// The question of File, "Import images ...": the folder of the game the textures are written
// into (proposed: the one chosen last time, else the folder of the bank's other images), typed
// (relative to the game folder or whole) or chosen with the button, and whether each picture
// also becomes its own still texture. Tests answer it through the hook.
#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;

struct ImportChoice {
    QString folder; // absolute
    bool stillTextures = true;
};

struct ImportDialogTexts {
    QString caption, folderLabel, chooseFolder, stillTextures, cancel;
};

// How a typed folder is read and checked: relative to `gameFolder`; `problem` says why a folder
// cannot take the textures (none when it can), and the dialog stays open until it can.
struct ImportFolderCheck {
    QString gameFolder;
    std::function<QString(const QString& folder)> problem;
};

// Answers instead of the dialog when set.
std::function<std::optional<ImportChoice>(const ImportChoice& proposed)>& ImportChoiceHook();

// The user's choice, or nothing when cancelled.
std::optional<ImportChoice> AskImportChoice(QWidget* parent, const ImportChoice& proposed,
                                            const ImportDialogTexts& texts, const ImportFolderCheck& check);

class ImportImagesDialog : public QDialog {
public:
    ImportImagesDialog(QWidget* parent, const ImportChoice& proposed, const ImportDialogTexts& texts,
                       const ImportFolderCheck& check);
    ImportChoice Choice() const; // the folder made whole
    void accept() override;

private:
    void chooseFolder();

    QLineEdit* folder_;
    QCheckBox* stillTextures_;
    QString caption_;
    ImportFolderCheck check_;
};
