#pragma once
// Files dropped on a window open as from the command line. Only local files are taken; the
// editors add drops of their own on single widgets (an image on a bank slot), which take the
// drop before the window sees it.
#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

class FileDrops : public QObject {
public:
    // Called with the dropped files' paths, in the order dropped.
    using Open = std::function<void(const QStringList& files)>;
    FileDrops(QWidget* window, Open open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Open open_;
};

// The local files a drop carries (nothing when it carries none).
class QMimeData;
QStringList DroppedFiles(const QMimeData* data);
