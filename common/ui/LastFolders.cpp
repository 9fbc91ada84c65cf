#include "LastFolders.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString keyOf(const QString& dialog) { return QStringLiteral("LastFolders/") + dialog; }

QString chooseRemembering(const QString& dialog, FileDialogRequest request,
                          QString (*choose)(QWidget*, const FileDialogRequest&), QWidget* parent)
{
    request.folder = RememberedFolder(dialog, request.folder);
    const QString chosen = choose(parent, request);
    if (!chosen.isEmpty())
        RememberFolder(dialog, chosen);
    return chosen;
}

} // namespace

QString RememberedFolder(const QString& dialog, const QString& fallback)
{
    const QString folder = QSettings().value(keyOf(dialog)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void RememberFolder(const QString& dialog, const QString& chosenFile)
{
    QSettings().setValue(keyOf(dialog), QFileInfo(chosenFile).absolutePath());
}

QString ChooseOpenFileRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request)
{
    return chooseRemembering(dialog, std::move(request), &ChooseOpenFile, parent);
}

QStringList ChooseOpenFilesRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request)
{
    request.folder = RememberedFolder(dialog, request.folder);
    const QStringList chosen = ChooseOpenFiles(parent, request);
    if (!chosen.isEmpty())
        RememberFolder(dialog, chosen.constFirst());
    return chosen;
}

QString ChooseSaveFileRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request)
{
    return chooseRemembering(dialog, std::move(request), &ChooseSaveFile, parent);
}
