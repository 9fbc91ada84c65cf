#include "LastFolders.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString keyOf(const QString& dialog) { return QStringLiteral("LastFolders/") + dialog; }

// The folder remembered for `dialog`, or `fallback` when none (or it has gone).
QString rememberedFolder(const QString& dialog, const QString& fallback)
{
    const QString folder = QSettings().value(keyOf(dialog)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
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
        QSettings().setValue(keyOf(dialog), QFileInfo(firstOf(chosen)).absolutePath());
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
