#pragma once
// An up-down control: two arrow buttons, one above the other, that step a position between a
// minimum and a maximum without wrapping. With a negative increment the upper arrow lowers the
// position, as a row scroller wants (up shows the rows above).
#include <QWidget>

class QToolButton;

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Increment() const { return increment_; }

    // A maximum below the minimum is taken as the minimum; the position follows into the range.
    void SetRange(int min, int max);
    void SetPosition(int position);
    void SetIncrement(int increment) { increment_ = increment; }
    // One click of the upper (steps = 1) or lower (steps = -1) arrow, `steps` times.
    void Step(int steps);

    QToolButton* UpButton;
    QToolButton* DownButton;

Q_SIGNALS:
    void Changed(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int min_ = 0;
    int max_ = 0;
    int position_ = 0;
    int increment_ = 1;
};
