// TForm1's view of the object: its size with the window in device pixels, the mouse turning,
// zooming, panning and picking, the framing, and the paint of the frame and the small views, drawn
// only when something they show changed.
#include "Tessaro3DUnit.h"

#include "EditorFrame.h"
#include "K3xDisplay.h"
#include "Renderer.h"
#include "Tessaro3DFormHelpers.h"

#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr int MouseTurn = 60; // AngleUnits per pixel of mouse movement

// Strictly inside on all four sides.
bool inside(const QRect& place, int x, int y)
{
    return x > place.left() && x < place.left() + place.width() && y > place.top() && y < place.top() + place.height();
}

int roundDownTo4(int value) { return value - value % 4; }

// The view as the form's state gives it: the turns, the distance, the height bar and the pan.
EditorView viewOf(const TForm1& form)
{
    EditorView view;
    view.yaw = static_cast<std::int32_t>(std::int64_t{form.angleX} * MouseTurn);
    view.pitch = static_cast<std::int32_t>(std::int64_t{form.angleY} * MouseTurn);
    view.roll = static_cast<std::int32_t>(std::int64_t{form.angleZ} * MouseTurn);
    view.distance = form.viewDistance;
    view.height = form.objectHeight + form.panY;
    view.across = form.panX;
    return view;
}

} // namespace

void TForm1::turnViewBack()
{
    angleX = angleZ = angleY = 0;
    viewChanged();
}

void TForm1::frameFaces(const FaceFlags* faces)
{
    takeView(FrameInView(object, faces, viewOf(*this), *context));
}

void TForm1::takeView(const EditorView& view)
{
    viewDistance = view.distance;
    panX = view.across;
    panY = view.height - objectHeight;
    viewChanged();
}

void TForm1::ResetClick()
{
    angleX = angleZ = angleY = 0;
    frameFaces(nullptr);
}

void TForm1::FrameAllClick() { frameFaces(nullptr); }

void TForm1::FrameSelectionClick()
{
    const FaceFlags faces = editedFlags();
    frameFaces(&faces);
}

double TForm1::viewScale() const { return RenderView->devicePixelRatioF(); }

void TForm1::viewChanged()
{
    frameStale_ = true;
    centralWidget()->update();
}

void TForm1::FormResize()
{
    QWidget* client = centralWidget();
    const int width = std::max(client->width(), client->minimumWidth());
    const int height = std::max(client->height(), client->minimumHeight());
    Label1->move(width - Label1->width(), 0);
    ColorPaletteView->move(Label1->x(), Label1->y() + Label1->height() + 2);
    TextureView->move(Label1->x() + Label1->width() - TextureView->width(), ColorPaletteView->y());
    TextureBar->move(TextureView->x(), TextureView->y() + TextureView->height());
    placeTexturePanel(height);
    RenderView->resize(Label1->x() - 4, height - 4);
    // The frame has a pixel for each of the screen's: sharp at any scale factor.
    const double scale = viewScale();
    ResizeView(*context, roundDownTo4(int(RenderView->width() * scale)), roundDownTo4(int(RenderView->height() * scale)));
    paint();
}

void TForm1::FormMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int X, int Y)
{
    TestPalette(buttons, modifiers, X, Y);
    const bool inView = inside(RenderView->geometry(), X, Y);
    bool moved = false;
    if (onlyButton(buttons, modifiers, Qt::LeftButton) && inView) {
        angleX += X - lastMouseX;
        angleY += lastMouseY - Y;
        moved = true;
    }
    if (onlyButton(buttons, modifiers, Qt::RightButton) && inView) {
        viewDistance += Y - lastMouseY;
        moved = true;
    }
    // The middle button, or Shift and the right button, moves the object with the mouse.
    const bool pan = buttons == Qt::MiddleButton ||
                     (buttons == Qt::RightButton && (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ShiftModifier);
    if (pan && inView) {
        const double scale = viewScale();
        const double depth = std::max(viewDistance, 1);
        panX += static_cast<std::int32_t>(std::lround((X - lastMouseX) * scale * depth / std::max<int>(context->focalX, 1)));
        panY += static_cast<std::int32_t>(std::lround((lastMouseY - Y) * scale * depth / std::max<int>(context->focalY, 1)));
        moved = true;
    }
    lastMouseX = X;
    lastMouseY = Y;
    Info->setText(QString("Ax:%1 Ay:%2").arg(angleX).arg(angleY));
    if (moved)
        viewChanged();
}

void TForm1::WheelZoom(int steps, int X, int Y)
{
    const QRect view = RenderView->geometry();
    if (!inside(view, X, Y) || steps == 0)
        return;
    const double scale = viewScale();
    takeView(ZoomToward(viewOf(*this), std::pow(0.85, steps), int((X - view.left()) * scale),
                        int((Y - view.top()) * scale), *context));
}

void TForm1::outlineChanged()
{
    outlineStale_ = true;
    centralWidget()->update(RenderView->geometry());
}

void TForm1::paint()
{
    DrawEditorFrame(*context, object, viewOf(*this));
    // Kept for an outline that moves to another face while the frame stands.
    plainFrame_.assign(context->screen.pixels.begin(), context->screen.pixels.end());
    OutlineFace(*context, currentFace, {highlightWhite, highlightBlack}, highlightColour);
    frameStale_ = outlineStale_ = false;
    shownStale_ = overlayStale_ = true;
    updateAnimation();
    centralWidget()->update();
}

const ShownFaces& TForm1::shownFaces()
{
    if (shownStale_) {
        FacesShown(*context, 0, 0, context->maxX, context->maxY, shown_);
        shownStale_ = false;
    }
    return shown_;
}

void TForm1::paintClient(QWidget* client, const QRect& dirty)
{
    if (frameStale_) {
        paint();
    } else if (outlineStale_ && plainFrame_.size() == context->screen.pixels.size()) {
        std::copy(plainFrame_.begin(), plainFrame_.end(), context->screen.pixels.begin());
        OutlineFace(*context, currentFace, {highlightWhite, highlightBlack}, highlightColour);
        outlineStale_ = false;
    }
    QPainter canvas(client);
    // Only what needs it: a blink or an animation step repaints a part, not the whole frame.
    const QRect view = RenderView->geometry();
    if (dirty.intersects(view)) {
        PresentScreen(canvas, view.x(), view.y(), viewScale(), context->screen);
        paintSelection(canvas);
    }
    // Upside down, so that the texture's first row is on top.
    const QRect texture = TextureView->geometry();
    if (texturePreview_ && dirty.intersects(texture)) {
        ShowTextureImage(TextureViewImage, context->bank, currentTexture);
        StretchImage(TextureViewImage, texture.x(), texture.y() + texture.height(), canvas, -texture.height(),
                     texture.width());
    }
    if (dirty.intersects(ColorPaletteView->geometry())) {
        ShowPaletteGrid(PaletteViewImage, paletteGrid, currentColour, highlightColour);
        DrawImage(PaletteViewImage, ColorPaletteView->x(), ColorPaletteView->y(), canvas);
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != centralWidget())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        paintClient(centralWidget(), static_cast<QPaintEvent*>(event)->rect());
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
        if (event->type() != QEvent::MouseMove && mouse->button() == Qt::LeftButton) {
            clickStarted_ = true;
            pressAt_ = at;
            if ((mouse->modifiers() & Qt::ControlModifier) && inside(RenderView->geometry(), at.x(), at.y())) {
                if (box_ == nullptr)
                    box_ = new QRubberBand(QRubberBand::Rectangle, centralWidget());
                box_->setGeometry(QRect(at, QSize(1, 1)));
                box_->show();
                shownFaces(); // the frame searched while the box is drawn, not when it is let go
            }
        }
        if (box_ != nullptr && !box_->isHidden()) {
            box_->setGeometry(QRect(pressAt_, at).normalized().intersected(RenderView->geometry()));
            return true;
        }
        FormMouseMove(mouse->buttons(), mouse->modifiers(), at.x(), at.y());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && clickStarted_) {
            clickStarted_ = false;
            const QPoint at = mouse->position().toPoint();
            // A press and release in one place is a click; a drag turned the view.
            if ((box_ != nullptr && !box_->isHidden()) || (at - pressAt_).manhattanLength() < 4)
                ViewClick(mouse->modifiers(), at.x(), at.y());
        }
        return true;
    }
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (!showColourTip(help->pos(), help->globalPos()))
            QToolTip::hideText();
        return true;
    }
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint at = wheel->position().toPoint();
        WheelZoom(wheel->angleDelta().y() / 120, at.x(), at.y());
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
