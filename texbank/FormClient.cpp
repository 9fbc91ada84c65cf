#include "FormClient.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QWheelEvent>

FormClient::FormClient(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true); // the cursor slot follows the mouse without a button held
}

void FormClient::paintEvent(QPaintEvent*) { Q_EMIT Painting(this); }

void FormClient::resizeEvent(QResizeEvent*) { Q_EMIT Resized(); }

void FormClient::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT MouseMoved(at.x(), at.y());
}

void FormClient::contextMenuEvent(QContextMenuEvent* event) { Q_EMIT MenuAsked(event->globalPos()); }

void FormClient::wheelEvent(QWheelEvent* event)
{
    Q_EMIT WheelTurned(event->position().toPoint(), event->angleDelta().y());
}
