// TForm1's selection: which faces the face controls act on, chosen by clicks, a Ctrl drag's box
// and the Edit menu's items, kept in step with the current face, the face bar and the panel, and
// outlined over the view.
#include "Tessaro3DUnit.h"

#include "EditorDocument.h"
#include "FaceSelection.h"
#include "Renderer.h"
#include "Tessaro3DEntries.h"
#include "Tessaro3DFormHelpers.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Selected faces are outlined in this colour over the view; the current face blinks white and black.
const QColor SelectionColour(255, 150, 0);

} // namespace

void TForm1::buildSelectionMenus()
{
    const auto add = [this](QWidget* menu, QKeySequence keys, void (TForm1::*handler)()) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        menu->addAction(action);
        return action;
    };
    // The Edit menu takes these once the document has made it (addSelectionItems).
    SelectAll = add(this, QKeySequence(Qt::CTRL | Qt::Key_A), &TForm1::SelectAllClick);
    SelectNone = add(this, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), &TForm1::SelectNoneClick);
    InvertSelection = add(this, QKeySequence(Qt::CTRL | Qt::Key_I), &TForm1::InvertSelectionClick);
    SelectSameSkin = add(this, QKeySequence(Qt::CTRL | Qt::Key_E), &TForm1::SelectSameSkinClick);
    SelectConnected = add(this, QKeySequence(), &TForm1::SelectConnectedClick);
    SelectFlatRegion = add(this, QKeySequence(), &TForm1::SelectFlatRegionClick);

    ViewMenu = new QMenu(this);
    menuBar()->insertMenu(Outil->menuAction(), ViewMenu);
    FrameAll = add(ViewMenu, QKeySequence(Qt::Key_Home), &TForm1::FrameAllClick);
    FrameSelection = add(ViewMenu, QKeySequence(Qt::Key_F), &TForm1::FrameSelectionClick);
    ResetView = add(ViewMenu, QKeySequence(), &TForm1::ResetClick);
    ViewMenu->addSeparator();
    NextFace = add(ViewMenu, QKeySequence(Qt::Key_PageDown), &TForm1::NextFaceClick);
    PreviousFace = add(ViewMenu, QKeySequence(Qt::Key_PageUp), &TForm1::PreviousFaceClick);
    // The arrow keys turn the view; an edit or a list with the focus keeps them for itself.
    const struct {
        Qt::Key key;
        int x, y;
    } turns[] = {{Qt::Key_Left, -1, 0}, {Qt::Key_Right, 1, 0}, {Qt::Key_Up, 0, 1}, {Qt::Key_Down, 0, -1}};
    for (const auto& turn : turns) {
        auto* action = new QAction(this);
        action->setShortcut(turn.key);
        connect(action, &QAction::triggered, this, [this, turn] {
            constexpr int Step = 45; // 2,700 AngleUnits, a little under 15 degrees
            angleX += turn.x * Step;
            angleY += turn.y * Step;
            viewChanged();
        });
        addAction(action);
    }
}

void TForm1::addSelectionItems(QMenu* edit)
{
    edit->addSeparator();
    edit->addActions({SelectAll, SelectNone, InvertSelection, SelectSameSkin, SelectConnected, SelectFlatRegion});
}

std::vector<std::uint32_t> TForm1::editedFaces() const { return SelectedFaces(editedFlags()); }

FaceFlags TForm1::selectionFlags() const
{
    FaceFlags flags = selection;
    flags.resize(object.faceCount(), 0);
    return flags;
}

FaceFlags TForm1::editedFlags() const
{
    FaceFlags flags = selectionFlags();
    if (CountSelected(flags) == 0 && currentFace >= 0 && static_cast<std::size_t>(currentFace) < flags.size())
        flags[static_cast<std::size_t>(currentFace)] = 1;
    return flags;
}

void TForm1::setCurrentFace(std::int32_t face)
{
    face = std::clamp<std::int32_t>(face, 0, object.lastFace);
    if (face != currentFace)
        ++selectionRun_; // a run of edits (a slider's drag) stays on the faces it began on
    currentFace = face;
    {
        const QSignalBlocker quiet(FaceBar);
        FaceBar->setMaximum(object.lastFace);
        FaceBar->setValue(currentFace);
    }
    outlineChanged();
    ShowFaceInfo();
}

void TForm1::selectFace(std::int32_t face)
{
    FaceFlags only(object.faceCount(), 0);
    if (face >= 0 && static_cast<std::size_t>(face) < only.size())
        only[static_cast<std::size_t>(face)] = 1;
    selection = std::move(only);
    setCurrentFace(face);
}

void TForm1::setSelection(FaceFlags flags)
{
    flags.resize(object.faceCount(), 0);
    if (flags != selection) {
        selection = std::move(flags);
        ++selectionRun_;
        overlayStale_ = true;
    }
    std::int32_t current = currentFace;
    if (CountSelected(selection) > 0 && (current < 0 || static_cast<std::size_t>(current) >= selection.size() ||
                                         selection[static_cast<std::size_t>(current)] == 0))
        current = static_cast<std::int32_t>(std::find(selection.begin(), selection.end(), 1) - selection.begin());
    setCurrentFace(current);
}

void TForm1::SelectAllClick() { setSelection(AllFaces(object.faceCount())); }

void TForm1::SelectNoneClick() { setSelection(FaceFlags(object.faceCount(), 0)); }

void TForm1::InvertSelectionClick()
{
    FaceFlags flags = selectionFlags();
    for (std::uint8_t& flag : flags)
        flag = flag == 0;
    setSelection(std::move(flags));
}

void TForm1::SelectSameSkinClick() { setSelection(::SelectSameSkin(object, currentFace)); }

void TForm1::SelectConnectedClick()
{
    FaceFlags flags = editedFlags(); // grown from the selection, or the current face
    ::SelectConnected(object, flags);
    setSelection(std::move(flags));
}

void TForm1::SelectFlatRegionClick()
{
    FaceFlags flags = editedFlags(); // grown from the selection, or the current face
    ::SelectFlatRegion(object, flags);
    setSelection(std::move(flags));
}

void TForm1::NextFaceClick() { selectFace(std::min<std::int32_t>(currentFace + 1, object.lastFace)); }

void TForm1::PreviousFaceClick() { selectFace(std::max(currentFace - 1, 0)); }

void TForm1::FormClick()
{
    const QRect view = RenderView->geometry();
    if (lastMouseX <= view.left() || lastMouseX >= view.right() || lastMouseY <= view.top() || lastMouseY >= view.bottom())
        return;
    const double scale = viewScale();
    const PickedFace picked = PickFace(*context, int((lastMouseX - view.left()) * scale), int((lastMouseY - view.top()) * scale));
    if (picked.faceIndex >= 0)
        selectFace(picked.faceIndex);
}

void TForm1::ViewClick(Qt::KeyboardModifiers modifiers, int X, int Y)
{
    const QRect view = RenderView->geometry();
    const double scale = viewScale();
    if (box_ != nullptr && !box_->isHidden()) {
        box_->hide();
        const QRect box = box_->geometry().translated(-view.topLeft());
        const std::vector<std::int32_t> faces =
            FacesInBox(shownFaces(), int(box.left() * scale), int(box.top() * scale),
                       int((box.right() + 1) * scale) - 1, int((box.bottom() + 1) * scale) - 1);
        // Shift adds the box's faces to the selection; without it they become the selection.
        FaceFlags flags = modifiers & Qt::ShiftModifier ? selectionFlags() : FaceFlags(object.faceCount(), 0);
        for (const std::int32_t f : faces)
            if (static_cast<std::size_t>(f) < flags.size()) // a frame older than the object names no more
                flags[static_cast<std::size_t>(f)] = 1;
        setSelection(std::move(flags));
        return;
    }
    lastMouseX = X;
    lastMouseY = Y;
    if (!(modifiers & Qt::ShiftModifier)) {
        FormClick();
        return;
    }
    // Shift+click adds the face or takes it away.
    const PickedFace picked = PickFace(*context, int((X - view.left()) * scale), int((Y - view.top()) * scale));
    if (picked.faceIndex < 0)
        return;
    FaceFlags flags = selectionFlags();
    std::uint8_t& flag = flags[static_cast<std::size_t>(picked.faceIndex)];
    flag = flag == 0;
    if (flag != 0)
        currentFace = picked.faceIndex;
    setSelection(std::move(flags));
}

void TForm1::paintSelection(QPainter& canvas)
{
    if (overlayStale_) {
        makeSelectionOverlay();
        overlayStale_ = false;
    }
    if (!selectionOverlay_.isNull())
        canvas.drawImage(RenderView->geometry().topLeft(), selectionOverlay_);
}

void TForm1::makeSelectionOverlay()
{
    selectionOverlay_ = QImage();
    if (CountSelected(selection) == 0)
        return;
    // The selected faces where they show: tinted, their border drawn, over the frame (whose bytes
    // stay as the renderer drew them).
    const ShownFaces& shown = shownFaces();
    if (shown.width == 0)
        return;
    std::vector<std::uint8_t> selected(shown.faces.size());
    std::transform(shown.faces.begin(), shown.faces.end(), selected.begin(), [this](std::int32_t f) {
        return std::uint8_t(f >= 0 && static_cast<std::size_t>(f) < selection.size() && selection[std::size_t(f)] != 0);
    });
    QImage overlay(shown.width, shown.height, QImage::Format_ARGB32_Premultiplied);
    overlay.fill(Qt::transparent);
    const QRgb tint = qPremultiply(qRgba(SelectionColour.red(), SelectionColour.green(), SelectionColour.blue(), 70));
    const QRgb border = SelectionColour.rgba();
    const std::size_t width = std::size_t(shown.width);
    for (int y = 0; y < shown.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        const std::uint8_t* in = selected.data() + std::size_t(y) * width;
        const bool edgeRow = y == 0 || y == shown.height - 1;
        for (std::size_t x = 0; x < width; ++x) {
            if (in[x] == 0)
                continue;
            const bool edge = edgeRow || x == 0 || x == width - 1 || !in[x - 1] || !in[x + 1] || !in[x - width] ||
                              !in[x + width];
            row[x] = edge ? border : tint;
        }
    }
    overlay.setDevicePixelRatio(viewScale());
    selectionOverlay_ = std::move(overlay);
}
