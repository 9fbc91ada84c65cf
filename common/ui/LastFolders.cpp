#include "LastFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString keyOf(const QString& dialog) { return QStringLiteral("LastFolders/") + dialog; }

// The project is the current folder when a dialog runs (each editor makes its start folder
// current first): a folder is remembered for the project it was used in, so a program started
// in another project never opens its dialogs among the first one's files.
QString currentProject() { return QDir::current().absolutePath(); }

// The folder remembered for `dialog` in this project, or `fallback` when none (or it has gone).
QString rememberedFolder(const QString& dialog, const QString& fallback)
{
    const QStringList kept = QSettings().value(keyOf(dialog)).toStringList(); // project, folder
    return kept.size() == 2 && kept[0] == currentProject() && QFileInfo(kept[1]).isDir() ? kept[1] : fallback;
}

const QString& firstOf(const QString& file) { return file; }
const QString& firstOf(const QStringList& files) { return files.constFirst(); }

// Runs `choose` in the folder remembered for `dialog` and remembers the folder of what was chosen.
template <typename Chosen>
Chosen chooseRemembering(QWidget* parent, const QString& dialog, FileDialogRequest request,
                         Chosen (*choose)(QWidget*, const FileDialogRequest&))
{
    request.folder = rememberedFolder(dialog, request.folder);
    const Chosen chosen = choose(parent, request);
    if (!chosen.isEmpty())
        QSettings().setValue(keyOf(dialog), QStringList{currentProject(), QFileInfo(firstOf(chosen)).absolutePath()});
    return chosen;
}

} // namespace

QString ChooseOpenFileRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request)
{
    return chooseRemembering(parent, dialog, std::move(request), &ChooseOpenFile);
}

QStringList ChooseOpenFilesRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request)
{
    return chooseRemembering(parent, dialog, std::move(request), &ChooseOpenFiles);
}

QString ChooseSaveFileRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request)
{
    return chooseRemembering(parent, dialog, std::move(request), &ChooseSaveFile);
}
