#include "Dialogs.h"

#include "OrmelApplication.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString messageTitle;

QString title() { return messageTitle.isEmpty() ? OrmelApplication::Title() : messageTitle; }

// A question with the buttons given (an empty text leaves its button out); the role answered,
// QMessageBox::RejectRole when the box is closed.
QMessageBox::ButtonRole askWithButtons(QWidget* parent, const QString& caption, const QString& text,
                                       const ChoiceButtons& buttons)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton* accept = box.addButton(buttons.accept, QMessageBox::AcceptRole);
    box.addButton(buttons.discard, QMessageBox::DestructiveRole);
    if (!buttons.cancel.isEmpty())
        box.setEscapeButton(box.addButton(buttons.cancel, QMessageBox::RejectRole));
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() ? box.buttonRole(box.clickedButton()) : QMessageBox::RejectRole;
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

QString MessageTitle() { return title(); }

void ShowMessage(QWidget* parent, const QString& text)
{
    if (Hooks().message)
        return Hooks().message(text);
    QMessageBox::information(parent, title(), text);
}

void ShowError(QWidget* parent, const QString& text)
{
    if (Hooks().error)
        return Hooks().error(text);
    QMessageBox::critical(parent, title(), text);
}

std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& prompt, const QString& value)
{
    if (Hooks().askText)
        return Hooks().askText(caption, prompt, value);
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
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
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

SaveChoice AskSaveDiscardCancel(QWidget* parent, const QString& caption, const QString& text,
                                const ChoiceButtons& buttons)
{
    if (Hooks().askSaveDiscardCancel)
        return Hooks().askSaveDiscardCancel(caption, text);
    switch (askWithButtons(parent, caption, text, buttons)) {
    case QMessageBox::AcceptRole: return SaveChoice::Save;
    case QMessageBox::DestructiveRole: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
    }
}

RecoveryChoice AskRecoverDiscard(QWidget* parent, const QString& caption, const QString& text,
                                 const ChoiceButtons& buttons)
{
    if (Hooks().askRecoverDiscard)
        return Hooks().askRecoverDiscard(caption, text);
    switch (askWithButtons(parent, caption, text, {buttons.accept, buttons.discard, {}})) {
    case QMessageBox::AcceptRole: return RecoveryChoice::Recover;
    case QMessageBox::DestructiveRole: return RecoveryChoice::Discard;
    default: return RecoveryChoice::Later;
    }
}

bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text)
{
    if (Hooks().askOkCancel)
        return Hooks().askOkCancel(caption, text);
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) ==
           QMessageBox::Ok;
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

QString ChooseFolder(QWidget* parent, const FileDialogRequest& request)
{
    if (Hooks().chooseFolder)
        return Hooks().chooseFolder(request);
    return firstOf(runFileDialog(parent, request, QFileDialog::AcceptOpen, QFileDialog::Directory));
}

QString ChooseSaveFile(QWidget* parent, const FileDialogRequest& request)
{
    if (Hooks().chooseSaveFile)
        return Hooks().chooseSaveFile(request);
    return firstOf(runFileDialog(parent, request, QFileDialog::AcceptSave, QFileDialog::AnyFile));
}

HourglassCursor::HourglassCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The change waits in the window system's queue until the event loop runs again, which a
    // long operation holds off: without this the hourglass would show only once it is over.
    QApplication::sync();
}

HourglassCursor::~HourglassCursor() { QApplication::restoreOverrideCursor(); }
