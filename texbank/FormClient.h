#pragma once
// The client area of the texture bank editor's window: the form paints the slot grid and the
// preview into it. Each kind of event it receives becomes one signal, which the form connects to
// its own handler. A file dragged over it is taken when `takesDrop` says so (a PCX over the slot
// grid); any other drop goes on to the window, which opens what it can.
#include <QStringList>
#include <QWidget>

#include <functional>

class FormClient : public QWidget {
    Q_OBJECT
public:
    explicit FormClient(QWidget* parent = nullptr);

    std::function<bool(const QPoint& at, const QStringList& files)> takesDrop;

Q_SIGNALS:
    void Painting(QWidget* client);          // paint now, with a painter on `client`
    void Resized();                          // lay out again for the new size
    void MouseMoved(int x, int y);           // client coordinates
    void MousePressed(int x, int y, bool shift); // the left button
    void TipAsked(const QPoint& at, const QPoint& globalPos);
    void MenuAsked(const QPoint& globalPos); // the right button, or the menu key
    void WheelTurned(const QPoint& at, int eighthsOfDegree);
    void FileDropped(const QPoint& at, const QString& file); // a file it takes (see takesDrop)

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool takes(QDropEvent* event) const;
};
