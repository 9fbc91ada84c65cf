#pragma once
// A window comes back where and as large as it was left (remembered in the user's settings), but
// never off-screen: a screen unplugged or a smaller display since, and it is brought back onto
// the screens there are.
#include <QList>
#include <QMargins>
#include <QObject>
#include <QRect>

#include <optional>

class QWidget;

// Where a window last at `saved` (its inside, without the title bar and borders the window manager
// adds, which are `frame`) goes on screens whose free areas are `screens`: unchanged while a good
// part of its title bar (where it is dragged) shows on one of them and, frame included, it is no
// larger than that screen; else shrunk to the screen if need be and moved into it, title bar and
// borders too (into the first screen when its title bar shows on none).
QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& screens, const QMargins& frame = {});

// Restores `window`'s remembered geometry now (before it is shown) and remembers it when it
// closes. A window of fixed size keeps its size; only its position comes back.
class WindowPlacement : public QObject {
public:
    explicit WindowPlacement(QWidget* window);
    void Remember() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
};
