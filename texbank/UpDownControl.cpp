#include "UpDownControl.h"

#include <QToolButton>

#include <algorithm>

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent)
    , UpButton(new QToolButton(this))
    , DownButton(new QToolButton(this))
{
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    UpButton->setArrowType(Qt::UpArrow);
    DownButton->setArrowType(Qt::DownArrow);
    connect(UpButton, &QToolButton::clicked, this, [this] { Step(1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownControl::SetRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    SetPosition(position_);
}

void UpDownControl::SetPosition(int position)
{
    position = std::clamp(position, min_, max_);
    if (position == position_)
        return;
    position_ = position;
    Q_EMIT Changed(position_);
}

void UpDownControl::Step(int steps) { SetPosition(position_ + steps * increment_); }

void UpDownControl::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    UpButton->setGeometry(0, 0, width(), half);
    DownButton->setGeometry(0, half, width(), height() - half);
}
