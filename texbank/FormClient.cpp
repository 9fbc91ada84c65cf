#include "FormClient.h"

#include "FileDrops.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QWheelEvent>

FormClient::FormClient(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true); // the cursor slot follows the mouse without a button held
    setAcceptDrops(true);
}

void FormClient::paintEvent(QPaintEvent*) { Q_EMIT Painting(this); }

void FormClient::resizeEvent(QResizeEvent*) { Q_EMIT Resized(); }

void FormClient::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT MouseMoved(at.x(), at.y());
}

void FormClient::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    Q_EMIT MousePressed(at.x(), at.y(), event->modifiers().testFlag(Qt::ShiftModifier));
}

bool FormClient::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    Q_EMIT TipAsked(help->pos(), help->globalPos());
    return true;
}

void FormClient::contextMenuEvent(QContextMenuEvent* event) { Q_EMIT MenuAsked(event->globalPos()); }

void FormClient::wheelEvent(QWheelEvent* event)
{
    Q_EMIT WheelTurned(event->position().toPoint(), event->angleDelta().y());
}

bool FormClient::takes(QDropEvent* event) const
{
    return takesDrop && takesDrop(event->position().toPoint(), DroppedFiles(event->mimeData()));
}

// Ignored, a drag goes on to the window.
void FormClient::dragEnterEvent(QDragEnterEvent* event)
{
    if (takes(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FormClient::dragMoveEvent(QDragMoveEvent* event)
{
    if (takes(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FormClient::dropEvent(QDropEvent* event)
{
    if (!takes(event))
        return event->ignore();
    event->acceptProposedAction();
    Q_EMIT FileDropped(event->position().toPoint(), DroppedFiles(event->mimeData()).constFirst());
}
