#include "RecentFiles.h"

#include "Dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

constexpr const char* Key = "RecentFiles";

} // namespace

RecentFiles::RecentFiles(QWidget* window, QMenu* fileMenu, QAction* before, const DocumentTexts& texts, Open open)
    : QObject(window)
    , window_(window)
    , texts_(texts)
    , open_(std::move(open))
    , menu_(new QMenu(texts.recentMenu, fileMenu))
{
    fileMenu->insertMenu(before, menu_);
    fillMenu();
}

QStringList RecentFiles::Files() const { return QSettings().value(Key).toStringList(); }

void RecentFiles::Add(const QString& file)
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    QStringList files = Files();
    files.removeAll(absolute);
    files.prepend(absolute);
    store(files.mid(0, Count));
}

void RecentFiles::Retranslate(const DocumentTexts& texts)
{
    texts_ = texts;
    menu_->setTitle(texts_.recentMenu);
}

void RecentFiles::choose(const QString& file)
{
    if (QFileInfo::exists(file))
        return open_(file);
    QStringList files = Files();
    files.removeAll(file);
    store(files);
    ShowMessage(window_, texts_.missingRecent.arg(file));
}

void RecentFiles::store(const QStringList& files)
{
    QSettings().setValue(Key, files);
    fillMenu();
}

void RecentFiles::fillMenu()
{
    menu_->clear();
    const QStringList files = Files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        QString name = QFileInfo(file).fileName();
        name.replace('&', QStringLiteral("&&"));
        QAction* item = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        item->setToolTip(file);
        item->setStatusTip(file);
        connect(item, &QAction::triggered, this, [this, file] { choose(file); });
    }
    menu_->setEnabled(!files.isEmpty());
}
