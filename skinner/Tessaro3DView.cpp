// TForm1's view of the object: its size with the window, the mouse turning and picking, and the
// paint of the frame and the small views.
#include "Tessaro3DUnit.h"

#include "K3xDisplay.h"
#include "Renderer.h"
#include "Tessaro3DFormHelpers.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int MouseTurn = 60; // AngleUnits per pixel of mouse movement

// Strictly inside on all four sides.
bool inside(const QRect& place, int x, int y)
{
    return x > place.left() && x < place.left() + place.width() && y > place.top() && y < place.top() + place.height();
}

int roundDownTo4(int value) { return value - value % 4; }

} // namespace

void TForm1::ResetClick() { angleX = angleZ = angleY = 0; }

void TForm1::FormResize()
{
    QWidget* client = centralWidget();
    const int width = std::max(client->width(), client->minimumWidth());
    const int height = std::max(client->height(), client->minimumHeight());
    Label1->move(width - Label1->width(), 0);
    ColorPaletteView->move(Label1->x(), Label1->y() + Label1->height() + 2);
    TextureView->move(Label1->x() + Label1->width() - TextureView->width(), ColorPaletteView->y());
    TextureBar->move(TextureView->x(), TextureView->y() + TextureView->height());
    RenderView->resize(Label1->x() - 4, height - 4);
    ResizeView(*context, roundDownTo4(RenderView->width()), roundDownTo4(RenderView->height()));
    paint();
}

void TForm1::FormMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int X, int Y)
{
    TestPalette(buttons, modifiers, X, Y);
    const bool inView = inside(RenderView->geometry(), X, Y);
    if (onlyButton(buttons, modifiers, Qt::LeftButton) && inView) {
        angleX += X - lastMouseX;
        angleY += lastMouseY - Y;
    }
    if (onlyButton(buttons, modifiers, Qt::RightButton) && inView)
        viewDistance += Y - lastMouseY;
    lastMouseX = X;
    lastMouseY = Y;
    Info->setText(QString("Ax:%1 Ay:%2").arg(angleX).arg(angleY));
    paint();
}

void TForm1::FormClick()
{
    const QRect view = RenderView->geometry();
    if (!inside(view, lastMouseX, lastMouseY))
        return;
    const PickedFace picked = PickFace(*context, lastMouseX - view.left(), lastMouseY - view.top());
    if (picked.faceIndex >= 0) {
        currentFace = picked.faceIndex;
        ShowFaceInfo();
    }
}

void TForm1::paint()
{
    EditorView view;
    view.yaw = static_cast<std::int32_t>(std::int64_t{angleX} * MouseTurn);
    view.pitch = static_cast<std::int32_t>(std::int64_t{angleY} * MouseTurn);
    view.roll = static_cast<std::int32_t>(std::int64_t{angleZ} * MouseTurn);
    view.distance = viewDistance;
    view.height = objectHeight;
    DrawEditorFrame(*context, object, view);
    OutlineFace(*context, currentFace, {highlightWhite, highlightBlack}, highlightColour);
    ShowTextureImage(TextureViewImage, context->bank, currentTexture);
    ShowPaletteGrid(PaletteViewImage, paletteGrid, currentColour, highlightColour);
    QWidget* client = centralWidget();
    client->update(RenderView->geometry());
    client->update(TextureView->geometry());
    client->update(ColorPaletteView->geometry());
}

void TForm1::paintClient(QWidget* client)
{
    QPainter canvas(client);
    const QRect view = RenderView->geometry();
    PresentScreen(canvas, false, view.x(), view.y(), view.width(), view.height(), context->screen);
    // Upside down, so that the texture's first row is on top.
    const QRect texture = TextureView->geometry();
    StretchImage(TextureViewImage, texture.x(), texture.y() + texture.height(), canvas, -texture.height(),
                 texture.width());
    DrawImage(PaletteViewImage, ColorPaletteView->x(), ColorPaletteView->y(), canvas);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != centralWidget())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        paintClient(centralWidget());
        return true;
    case QEvent::Resize:
        FormResize();
        break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // A press counts as a move too, so that a click on the colour grid chooses its colour.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (event->type() != QEvent::MouseMove && mouse->button() == Qt::LeftButton)
            clickStarted_ = true;
        FormMouseMove(mouse->buttons(), mouse->modifiers(), at.x(), at.y());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && clickStarted_) {
            clickStarted_ = false;
            FormClick();
        }
        return true;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
