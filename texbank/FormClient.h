#pragma once
// The client area of the texture bank editor's window: the form paints the slot grid and the
// preview into it. Each kind of event it receives becomes one signal, which the form connects to
// its own handler.
#include <QWidget>

class FormClient : public QWidget {
    Q_OBJECT
public:
    explicit FormClient(QWidget* parent = nullptr);

Q_SIGNALS:
    void Painting(QWidget* client);          // paint now, with a painter on `client`
    void Resized();                          // lay out again for the new size
    void MouseMoved(int x, int y);           // client coordinates
    void MenuAsked(const QPoint& globalPos); // the right button, or the menu key
    void WheelTurned(const QPoint& at, int eighthsOfDegree);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
