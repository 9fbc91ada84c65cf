#include "IdleRepaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

IdleRepaint::IdleRepaint(QWidget* window, std::function<void()> repaint)
    : QObject(window), timer_(new QTimer(this)), repaint_(std::move(repaint))
{
    timer_->setInterval(Interval);
    connect(timer_, &QTimer::timeout, this, [this] { repaint_(); });
    window->installEventFilter(this);
}

bool IdleRepaint::Running() const { return timer_->isActive(); }

bool IdleRepaint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        repaint_();
        timer_->start();
    } else if (event->type() == QEvent::Hide) {
        timer_->stop();
    }
    return QObject::eventFilter(watched, event);
}
