#pragma once
// The question of File, "Import images ...": the folder of the game the textures are written
// into (proposed: the one chosen last time, else the folder of the bank's other images) and
// whether each picture also becomes its own still texture. Tests answer it through the hook.
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

// Answers instead of the dialog when set.
std::function<std::optional<ImportChoice>(const ImportChoice& proposed)>& ImportChoiceHook();

// The user's choice, or nothing when cancelled.
std::optional<ImportChoice> AskImportChoice(QWidget* parent, const ImportChoice& proposed,
                                            const ImportDialogTexts& texts);

class ImportImagesDialog : public QDialog {
public:
    ImportImagesDialog(QWidget* parent, const ImportChoice& proposed, const ImportDialogTexts& texts);
    ImportChoice Choice() const;

private:
    void chooseFolder();

    QLineEdit* folder_;
    QCheckBox* stillTextures_;
    QString caption_;
};
