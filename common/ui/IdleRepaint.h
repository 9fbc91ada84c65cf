#pragma once
// The editors redraw their views about as often as the display refreshes while their window is
// shown (animated textures, flickering frames); hidden or minimised, they rest.
#include <QObject>

#include <functional>

class QTimer;
class QWidget;

class IdleRepaint : public QObject {
public:
    static constexpr int Interval = 16; // ms, about the display rate

    // Calls `repaint` once when `window` appears, then every Interval until it is hidden.
    IdleRepaint(QWidget* window, std::function<void()> repaint);

    bool Running() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer* timer_;
    std::function<void()> repaint_;
};
