#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace {

constexpr const char* GeometryKey = "Window/Geometry";
constexpr const char* FrameKey = "Window/Frame"; // the same window with its title bar and borders
constexpr const char* MaximizedKey = "Window/Maximized";
// How much of the window's top must show on one screen to leave it where it is.
constexpr int VisibleWidth = 100;
constexpr int TitleHeight = 30;

QList<QRect> availableScreens()
{
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            screens << screen->availableGeometry();
    return screens;
}

} // namespace

QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& screens, const QMargins& frame)
{
    if (screens.isEmpty() || saved.isEmpty())
        return saved;
    const QRect outer = saved.marginsAdded(frame);
    const QRect top(outer.left(), outer.top(), outer.width(), std::min(TitleHeight, outer.height()));
    const auto shown = std::find_if(screens.begin(), screens.end(), [&](const QRect& screen) {
        const QRect part = screen.intersected(top);
        return part.width() >= std::min(VisibleWidth, outer.width()) && part.height() >= std::min(TitleHeight, outer.height()) / 2;
    });
    // Never larger than the screen it is on (a geometry saved on a larger display, at another scale
    // factor, or written by hand: a window of 30,000 pixels a side takes gigabytes).
    const QRect& screen = shown != screens.end() ? *shown : screens.first();
    QRect placed(outer.topLeft(), outer.size().boundedTo(screen.size()));
    if (shown != screens.end() && placed.size() == outer.size() && placed.top() >= screen.top())
        return saved;
    placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() + 1 - placed.height()));
    return placed.marginsRemoved(frame);
}

WindowPlacement::WindowPlacement(QWidget* window)
    : QObject(window)
    , window_(window)
{
    const QSettings settings;
    const QRect saved = settings.value(GeometryKey).toRect();
    if (saved.isValid()) {
        const bool fixedSize = window->minimumSize() == window->maximumSize();
        const QRect wanted = fixedSize ? QRect(saved.topLeft(), window->size()) : saved;
        // The frame's size as it was; a frame rect from elsewhere than around the window counts as none.
        const QRect framed = settings.value(FrameKey).toRect();
        const QMargins frame = framed.contains(saved) ? QMargins(saved.left() - framed.left(), saved.top() - framed.top(),
                                                                 framed.right() - saved.right(), framed.bottom() - saved.bottom())
                                                      : QMargins();
        window->setGeometry(PlaceOnScreens(wanted, availableScreens(), frame));
    }
    if (settings.value(MaximizedKey).toBool())
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    window->installEventFilter(this);
}

void WindowPlacement::Remember() const
{
    QSettings settings;
    settings.setValue(MaximizedKey, window_->isMaximized());
    if (!window_->isMaximized()) {
        settings.setValue(GeometryKey, window_->geometry());
        settings.setValue(FrameKey, window_->frameGeometry());
    }
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Close)
        Remember();
    return false;
}
