#include "Dialogs.h"

#include "DialogEntries.h"
#include "DocumentEntries.h"
#include "OrmelApplication.h"
#include "Text.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString messageTitle;

QString title() { return messageTitle.isEmpty() ? OrmelApplication::Title() : messageTitle; }

// The buttons' texts in the interface language (SetDialogButtons). The Save question's Save and
// Discard come with it, from the editor's document texts.
struct ButtonTexts {
    QString yes, no, ok, cancel;
};

ButtonTexts buttonTextsOf(DictionaryEntries table)
{
    const auto text = [table](const DictionaryEntry& row) { return SharedRowText(table, row); };
    return {text(EntryNamed(DialogButtonRows, "Yes")), text(EntryNamed(DialogButtonRows, "No")),
            text(EntryNamed(DialogButtonRows, "OK")), text(EntryNamed(DocumentEntryRows, "Cancel"))};
}

ButtonTexts& buttonTexts()
{
    static ButtonTexts texts = buttonTextsOf({});
    return texts;
}

struct BoxButton {
    QString text;
    QMessageBox::ButtonRole role;
};

// A message box with the buttons given, `defaultButton` taking Enter and `escapeButton` Escape
// (-1: none). Answers the index of the button clicked, -1 when the box was closed otherwise.
int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
            const QList<BoxButton>& buttons, int defaultButton, int escapeButton = -1)
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    QList<QPushButton*> made;
    for (const BoxButton& button : buttons)
        made << box.addButton(button.text, button.role);
    box.setDefaultButton(made[defaultButton]);
    if (escapeButton >= 0)
        box.setEscapeButton(made[escapeButton]);
    box.exec();
    return static_cast<int>(made.indexOf(box.clickedButton()));
}

QStringList runFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode,
                          QFileDialog::FileMode files)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(files);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString firstOf(const QStringList& files) { return files.isEmpty() ? QString() : files.constFirst(); }

} // namespace

DialogHooks& Hooks()
{
    static DialogHooks hooks;
    return hooks;
}

void SetMessageTitle(const QString& text) { messageTitle = text; }

void SetDialogButtons(DictionaryEntries table) { buttonTexts() = buttonTextsOf(table); }

QString MessageTitle() { return title(); }

void ShowMessage(QWidget* parent, const QString& text)
{
    if (Hooks().message)
        return Hooks().message(text);
    showBox(parent, QMessageBox::Information, title(), text, {{buttonTexts().ok, QMessageBox::AcceptRole}}, 0, 0);
}

void ShowError(QWidget* parent, const QString& text)
{
    if (Hooks().error)
        return Hooks().error(text);
    showBox(parent, QMessageBox::Critical, title(), text, {{buttonTexts().ok, QMessageBox::AcceptRole}}, 0, 0);
}

std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& prompt, const QString& value)
{
    if (Hooks().askText)
        return Hooks().askText(caption, prompt, value);
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(buttonTexts().ok);
    dialog.setCancelButtonText(buttonTexts().cancel);
    dialog.resize(480, dialog.sizeHint().height()); // room for a whole folder path
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    if (Hooks().askYesNo)
        return Hooks().askYesNo(caption, text);
    // No is the default: a question before something is lost must not be answered by Enter.
    const ButtonTexts& texts = buttonTexts();
    return showBox(parent, QMessageBox::Question, caption, text,
                   {{texts.yes, QMessageBox::YesRole}, {texts.no, QMessageBox::NoRole}}, 1, 1) == 0;
}

SaveChoice AskSaveDiscardCancel(QWidget* parent, const QString& caption, const QString& text,
                                const ChoiceButtons& buttons)
{
    if (Hooks().askSaveDiscardCancel)
        return Hooks().askSaveDiscardCancel(caption, text);
    switch (showBox(parent, QMessageBox::Question, caption, text,
                    {{buttons.accept, QMessageBox::AcceptRole},
                     {buttons.discard, QMessageBox::DestructiveRole},
                     {buttons.cancel, QMessageBox::RejectRole}},
                    0, 2)) {
    case 0: return SaveChoice::Save;
    case 1: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
    }
}

RecoveryChoice AskRecoverDiscard(QWidget* parent, const QString& caption, const QString& text,
                                 const ChoiceButtons& buttons)
{
    if (Hooks().askRecoverDiscard)
        return Hooks().askRecoverDiscard(caption, text);
    switch (showBox(parent, QMessageBox::Question, caption, text,
                    {{buttons.accept, QMessageBox::AcceptRole}, {buttons.discard, QMessageBox::DestructiveRole}}, 0)) {
    case 0: return RecoveryChoice::Recover;
    case 1: return RecoveryChoice::Discard;
    default: return RecoveryChoice::Later;
    }
}

bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text)
{
    if (Hooks().askOkCancel)
        return Hooks().askOkCancel(caption, text);
    const ButtonTexts& texts = buttonTexts();
    return showBox(parent, QMessageBox::Question, caption, text,
                   {{texts.ok, QMessageBox::AcceptRole}, {texts.cancel, QMessageBox::RejectRole}}, 1, 1) == 0;
}

QString ChooseOpenFile(QWidget* parent, const FileDialogRequest& request)
{
    if (Hooks().chooseOpenFile)
        return Hooks().chooseOpenFile(request);
    return firstOf(runFileDialog(parent, request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile));
}

QStringList ChooseOpenFiles(QWidget* parent, const FileDialogRequest& request)
{
    if (Hooks().chooseOpenFiles)
        return Hooks().chooseOpenFiles(request);
    return runFileDialog(parent, request, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
}

QString ChooseSaveFile(QWidget* parent, const FileDialogRequest& request)
{
    if (Hooks().chooseSaveFile)
        return Hooks().chooseSaveFile(request);
    return firstOf(runFileDialog(parent, request, QFileDialog::AcceptSave, QFileDialog::AnyFile));
}

QString ChooseFolder(QWidget* parent, const FileDialogRequest& request)
{
    if (Hooks().chooseFolder)
        return Hooks().chooseFolder(request);
    return QFileDialog::getExistingDirectory(parent, request.title, request.folder);
}

HourglassCursor::HourglassCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The change waits in the window system's queue until the event loop runs again, which a
    // long operation holds off: without this the hourglass would show only once it is over.
    QApplication::sync();
}

HourglassCursor::~HourglassCursor() { QApplication::restoreOverrideCursor(); }
