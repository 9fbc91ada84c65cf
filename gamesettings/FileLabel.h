#pragma once
// A label that shows a stored file name and acts as a button: the hand cursor, a click.
#include <QLabel>

class TFileLabel : public QLabel {
    Q_OBJECT
public:
    explicit TFileLabel(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};
