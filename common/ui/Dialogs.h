#pragma once
// Every message box, question and file dialog of the forms goes through these functions, so
// that form tests can answer them through DialogHooks instead of a window.
#include "DictionaryEntries.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

struct FileDialogRequest {
    QString title;
    QString filter;        // Qt form: "3D objects (*.3do);;All files (*)"
    QString folder;        // initial folder; empty: the current folder
    QString fileName;      // initial file name
    QString defaultSuffix; // added to a typed name without extension ("3do")
};

// The question before work is lost (a close, New, Open, an import over unsaved changes).
enum class SaveChoice { Save, Discard, Cancel };
// The question at start about work a program kept when it stopped without saving; Later (the
// box closed) keeps it for the next start.
enum class RecoveryChoice { Recover, Discard, Later };

// The texts of a question's buttons, from the program's dictionary.
struct ChoiceButtons {
    QString accept;  // Save, Recover
    QString discard; // Discard
    QString cancel;  // Cancel (the Save question only)
};

struct DialogHooks {
    std::function<void(const QString& text)> message;
    std::function<void(const QString& text)> error;
    std::function<std::optional<QString>(const QString& caption, const QString& prompt, const QString& value)> askText;
    std::function<bool(const QString& caption, const QString& text)> askYesNo;
    std::function<SaveChoice(const QString& caption, const QString& text)> askSaveDiscardCancel;
    std::function<RecoveryChoice(const QString& caption, const QString& text)> askRecoverDiscard;
    std::function<bool(const QString& caption, const QString& text)> askOkCancel;
    std::function<QString(const FileDialogRequest&)> chooseOpenFile;
    std::function<QString(const FileDialogRequest&)> chooseSaveFile;
    std::function<QStringList(const FileDialogRequest&)> chooseOpenFiles;
    std::function<QString(const FileDialogRequest&)> chooseFolder;
};

// Process-wide hooks; a set hook answers instead of showing a window. Tests set them.
DialogHooks& Hooks();

// The title of the message boxes: the program's name in the interface language, which each
// program sets when it translates its window; the application's name until then.
void SetMessageTitle(const QString& text);
QString MessageTitle();

// The texts of the boxes' buttons (Yes, No, OK, Cancel): the rows of those names in the program's
// dictionary table (DialogEntries.h), each program setting them when it translates its window;
// English until then, and for a row the table or the dictionary lacks. (Qt's own translations are
// not loaded: they would give the boxes the system's language, not the program's.)
void SetDialogButtons(DictionaryEntries table);

void ShowMessage(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
// The one-line question: the typed text, or nothing when the user cancels.
std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& prompt, const QString& value);
// A yes-or-no question whose default answer (Enter, Escape) is No.
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text);
SaveChoice AskSaveDiscardCancel(QWidget* parent, const QString& caption, const QString& text,
                                const ChoiceButtons& buttons);
RecoveryChoice AskRecoverDiscard(QWidget* parent, const QString& caption, const QString& text,
                                 const ChoiceButtons& buttons);
// A question answered with OK or Cancel (Cancel the default); true for OK.
bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text);
// The chosen file's path, or empty when the user cancels.
QString ChooseOpenFile(QWidget* parent, const FileDialogRequest& request);
QString ChooseSaveFile(QWidget* parent, const FileDialogRequest& request);
// Several existing files at once, in the order the dialog gives them; empty when cancelled.
QStringList ChooseOpenFiles(QWidget* parent, const FileDialogRequest& request);
// An existing folder (the request's title and folder), or empty when the user cancels.
QString ChooseFolder(QWidget* parent, const FileDialogRequest& request);

// The hourglass while a long operation runs, restored however the operation ends.
class HourglassCursor {
public:
    HourglassCursor();
    ~HourglassCursor();
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};
