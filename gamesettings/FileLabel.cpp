#include "FileLabel.h"

#include <QMouseEvent>

TFileLabel::TFileLabel(QWidget* parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    // A sunken field, so that an empty name still shows where to click.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette field = palette();
    field.setColor(QPalette::Window, QColor(150, 175, 166));
    setPalette(field);
    setTextFormat(Qt::PlainText);
    setIndent(3);
}

void TFileLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TFileLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a press and a release of the left button over the label.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}
