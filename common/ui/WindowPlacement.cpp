#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace {

constexpr const char* GeometryKey = "Window/Geometry";
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

QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& screens)
{
    if (screens.isEmpty() || saved.isEmpty())
        return saved;
    const QRect top(saved.left(), saved.top(), saved.width(), std::min(TitleHeight, saved.height()));
    const auto shown = std::find_if(screens.begin(), screens.end(), [&](const QRect& screen) {
        const QRect part = screen.intersected(top);
        return part.width() >= std::min(VisibleWidth, saved.width()) && part.height() >= std::min(TitleHeight, saved.height()) / 2;
    });
    // Never larger than the screen it is on (a geometry saved on a larger display, at another scale
    // factor, or written by hand: a window of 30,000 pixels a side takes gigabytes).
    const QRect& screen = shown != screens.end() ? *shown : screens.first();
    QRect placed(saved.topLeft(), saved.size().boundedTo(screen.size()));
    if (shown != screens.end() && placed.size() == saved.size())
        return saved;
    placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() + 1 - placed.height()));
    return placed;
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
        window->setGeometry(PlaceOnScreens(wanted, availableScreens()));
    }
    if (settings.value(MaximizedKey).toBool())
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    window->installEventFilter(this);
}

void WindowPlacement::Remember() const
{
    QSettings settings;
    settings.setValue(MaximizedKey, window_->isMaximized());
    if (!window_->isMaximized())
        settings.setValue(GeometryKey, window_->geometry());
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Close)
        Remember();
    return false;
}
