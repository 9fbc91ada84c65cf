#include "ImportImagesDialog.h"

#include "Dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::function<std::optional<ImportChoice>(const ImportChoice& proposed)>& ImportChoiceHook()
{
    static std::function<std::optional<ImportChoice>(const ImportChoice&)> hook;
    return hook;
}

std::optional<ImportChoice> AskImportChoice(QWidget* parent, const ImportChoice& proposed,
                                            const ImportDialogTexts& texts, const ImportFolderCheck& check)
{
    if (ImportChoiceHook())
        return ImportChoiceHook()(proposed);
    ImportImagesDialog dialog(parent, proposed, texts, check);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

ImportImagesDialog::ImportImagesDialog(QWidget* parent, const ImportChoice& proposed, const ImportDialogTexts& texts,
                                       const ImportFolderCheck& check)
    : QDialog(parent)
    , folder_(new QLineEdit(proposed.folder, this))
    , stillTextures_(new QCheckBox(texts.stillTextures, this))
    , caption_(texts.caption)
    , check_(check)
{
    setWindowTitle(texts.caption);
    folder_->setObjectName("ImportFolder");
    folder_->setMinimumWidth(360);
    auto* choose = new QPushButton(texts.chooseFolder, this);
    connect(choose, &QPushButton::clicked, this, &ImportImagesDialog::chooseFolder);
    stillTextures_->setChecked(proposed.stillTextures);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(choose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(texts.folderLabel, this));
    layout->addLayout(folderRow);
    layout->addWidget(stillTextures_);
    layout->addWidget(buttons);
}

ImportChoice ImportImagesDialog::Choice() const
{
    // "\" separates folders too, as in the bank's own names.
    const QString typed = QString(folder_->text().trimmed()).replace('\\', '/');
    return {QDir::cleanPath(QDir(check_.gameFolder).absoluteFilePath(typed)), stillTextures_->isChecked()};
}

void ImportImagesDialog::accept()
{
    const QString problem = check_.problem ? check_.problem(Choice().folder) : QString();
    if (!problem.isEmpty()) {
        ShowMessage(this, problem); // the dialog stays, the folder can be typed again
        activateWindow();
        folder_->setFocus();
        folder_->selectAll();
        return;
    }
    QDialog::accept();
}

void ImportImagesDialog::chooseFolder()
{
    const QString chosen = ChooseFolder(this, {caption_, {}, folder_->text(), {}, {}});
    if (!chosen.isEmpty())
        folder_->setText(chosen);
}
