// The texture bank editor's slot grid: its layout for the window's size and the screen's pixels,
// the thumbnails drawn into the 8-bit view image, the marks drawn over them in full colour, the
// slot under the mouse, the selection, the wheel and the tooltips.
#include "PigmentaUnit.h"

#include "K3xDisplay.h"
#include "PigmentaEntries.h"
#include "SlotGridPainter.h"
#include "Text.h"
#include "UpDownControl.h"

#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int WheelStep = 120; // eighths of a degree per notch

int roundDownTo4(int value) { return value - value % 4; }

// A frame `width` pixels wide just outside `inner`.
void outline(QPainter& canvas, const QRect& inner, int width, const QColor& colour)
{
    const QRect outer = inner.adjusted(-width, -width, width, width);
    canvas.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), colour);
    canvas.fillRect(QRect(outer.left(), inner.bottom() + 1, outer.width(), width), colour);
    canvas.fillRect(QRect(outer.left(), inner.top(), width, inner.height()), colour);
    canvas.fillRect(QRect(inner.right() + 1, inner.top(), width, inner.height()), colour);
}

// Text on a box of its own at `corner` of `place`, readable on any picture.
void boxedText(QPainter& canvas, const QRect& place, Qt::Corner corner, const QString& text, const QColor& paper,
               const QColor& ink, int pad)
{
    const QFontMetrics metrics = canvas.fontMetrics();
    const int width = std::min(place.width(), metrics.horizontalAdvance(text) + 2 * pad);
    const int height = std::min(place.height(), metrics.height());
    const int x = corner == Qt::TopLeftCorner || corner == Qt::BottomLeftCorner ? place.left() : place.right() + 1 - width;
    const int y = corner == Qt::TopLeftCorner || corner == Qt::TopRightCorner ? place.top() : place.bottom() + 1 - height;
    const QRect box(x, y, width, height);
    canvas.fillRect(box, paper);
    canvas.setPen(ink);
    canvas.drawText(box.adjusted(pad, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

QRect toRect(const PixelRect& r) { return {r.x, r.y, r.width, r.height}; }

// The bands over the texture runs, each piece cut short at its run's ends so that runs side by
// side stay apart, with the texture's number where labelled; lines `line` pixels wide.
void paintBands(QPainter& canvas, const std::vector<BandMark>& bands, int inset, int line)
{
    const QString bandText = EntryOrEnglish(PigmentaText("BandLabel"));
    for (const BandMark& band : bands) {
        const int left = band.place.x + (band.startsRun ? inset : 0);
        const int right = band.place.x + band.place.width - (band.endsRun ? inset : 0);
        const QRect place(left, band.place.y + line, right - left, band.place.height - line);
        const QColor fill = band.chosen ? QColor(0, 230, 118) : band.texture % 2 ? QColor(64, 196, 255) : QColor(255, 193, 7);
        canvas.fillRect(place, Qt::black);
        canvas.fillRect(place.adjusted(line, line, -line, -line), fill);
        if (band.labelled) {
            canvas.setPen(Qt::black);
            canvas.drawText(place.adjusted(3 * line, 0, -line, 0), Qt::AlignLeft | Qt::AlignVCenter,
                            bandText.arg(band.texture));
        }
    }
}

// What an empty bank shows in the middle of a view of `size` pixels: how to fill it.
void paintEmptyBankHint(QPainter& canvas, QSize size, double scale, int line)
{
    QFont font = canvas.font();
    font.setBold(false);
    font.setPixelSize(static_cast<int>(std::lround(12 * scale)));
    canvas.setFont(font);
    const int width = std::min(size.width() - 8 * line, static_cast<int>(380 * scale));
    const QString hint = EntryOrEnglish(PigmentaText("EmptyBankHint"));
    QRect place = canvas.fontMetrics().boundingRect(QRect(0, 0, width - 16 * line, 10000), Qt::TextWordWrap, hint);
    place.adjust(-8 * line, -8 * line, 8 * line, 8 * line);
    place.moveCenter(QPoint(size.width() / 2, size.height() / 2));
    canvas.fillRect(place, QColor(32, 32, 32, 230));
    outline(canvas, place, line, QColor(255, 213, 79));
    canvas.setPen(Qt::white);
    canvas.drawText(place.adjusted(8 * line, 8 * line, -8 * line, -8 * line), Qt::TextWordWrap, hint);
}

} // namespace

double TMainForm::ViewScale() const { return std::max(1.0, centralWidget()->devicePixelRatioF()); }

void TMainForm::FormResize()
{
    const QWidget* client = centralWidget();
    const int column = client->width() - TextureColumnWidth;
    ViewPanel->setGeometry(UpDown->width() + 1, InterfacePanel->height() + 1, column - 1 - (UpDown->width() + 1),
                           client->height() - (InterfacePanel->height() + 1) - 1);
    UpDown->setGeometry(UpDown->x(), ViewPanel->y(), UpDown->width(), ViewPanel->height());
    MakeTextureButton->setGeometry(column + 2, 2, TextureColumnWidth - 4, 26);
    TextureList->setGeometry(column, 30, TextureColumnWidth, client->height() - 30);
    // The view image has the screen's own pixels, so that thumbnails stay sharp at any scale.
    const double scale = ViewScale();
    const int width = roundDownTo4(static_cast<int>(ViewPanel->width() * scale));
    const int height = roundDownTo4(static_cast<int>(ViewPanel->height() * scale));
    if (!CreateImage(ViewImage, width, height))
        FreeImage(ViewImage); // too small to show anything
    SetColourTable(ViewImage, Bank.bankPalette);
    Layout = ChooseGridLayout(ViewImage.width, scale);
    // Every slot stays reachable whatever the number of columns.
    UpDown->SetRange(0, TopRowMaximum(Layout, ViewImage.height));
    Repaint();
    followAnimation(); // the list shows other rows
}

void TMainForm::FormMouseMove(int X, int Y)
{
    const QRect view = ViewPanel->geometry();
    if (X < view.left() || X > view.left() + view.width() || Y < view.top() || Y > view.top() + view.height())
        return;
    const double scale = ViewScale();
    const std::int32_t was = CursorImage;
    CursorImage = SlotAt(static_cast<int>((X - view.left()) * scale), static_cast<int>((Y - view.top()) * scale),
                         Layout, UpDown->Position());
    if (CursorImage == was)
        return;
    showCursorLabels();
    updateCell(was);
    updateCell(CursorImage);
}

void TMainForm::FormMouseDown(int X, int Y, bool shift)
{
    if (!ViewPanel->geometry().contains(X, Y))
        return;
    FormMouseMove(X, Y);
    if (shift && Selection) {
        Selection = SlotSpan{std::min(selectionAnchor_, CursorImage), std::max(selectionAnchor_, CursorImage)};
    } else {
        selectionAnchor_ = CursorImage;
        Selection = SlotSpan{CursorImage, CursorImage};
    }
    centralWidget()->update(ViewPanel->geometry());
}

void TMainForm::Paint()
{
    ColorLabel->setVisible(CursorImage == 0);
    DrawSlotGrid(ViewImage, Bank, Layout, UpDown->Position());
    ShowColours(ViewImage, viewShown_);
    viewShown_.setDevicePixelRatio(ViewScale());
    PreviewShown = DrawPreview(PreviewImage, Bank, ChosenTexture());
    viewDrawn_ = true;
}

void TMainForm::Repaint()
{
    viewDrawn_ = false;
    centralWidget()->update(ViewPanel->geometry());
    centralWidget()->update(TexturePanel->geometry());
}

QRect TMainForm::cellOnClient(std::int32_t slot) const
{
    const double scale = ViewScale();
    const CellPlace cell = CellCorner(slot, Layout, UpDown->Position());
    const QRect view = ViewPanel->geometry();
    const QRect place(view.x() + static_cast<int>(std::floor(cell.x / scale)),
                      view.y() + static_cast<int>(std::floor(cell.y / scale)),
                      static_cast<int>(std::ceil(Layout.CellWidth() / scale)) + 1,
                      static_cast<int>(std::ceil(Layout.CellHeight() / scale)) + 1);
    return place.intersected(view);
}

void TMainForm::updateCell(std::int32_t slot)
{
    if (slot < 0 || slot > LastSlot)
        return;
    const QRect place = cellOnClient(slot);
    if (!place.isEmpty())
        centralWidget()->update(place);
}

GridMarksState TMainForm::marksState() const
{
    return {UpDown->Position(), CursorImage, TextureIndex->value(), Selection};
}

void TMainForm::paintClient(QWidget* client)
{
    if (!viewDrawn_)
        Paint(); // the grid changed since the window last showed it
    QPainter canvas(client);
    const double scale = ViewScale();
    canvas.save();
    canvas.setClipRect(ViewPanel->geometry());
    canvas.drawImage(ViewPanel->pos(), viewShown_); // its pixels are the screen's
    canvas.translate(ViewPanel->pos());
    canvas.scale(1 / scale, 1 / scale);
    paintMarks(canvas, MarkSlotGrid(Bank, Layout, ViewImage.width, ViewImage.height, marksState()));
    canvas.restore();
    if (PreviewShown) {
        // Upside down, so that the texture's first row is on top.
        const QRect place = TexturePanel->geometry();
        StretchImage(PreviewImage, place.x(), place.y() + place.height(), canvas, -place.height(), place.width());
    }
}

// Colours that stand out on any picture: light marks edged in black, black text on light boxes,
// white text on dark ones.
void TMainForm::paintMarks(QPainter& canvas, const GridMarks& marks) const
{
    const double scale = ViewScale();
    const int line = std::max(1, static_cast<int>(std::lround(scale)));
    QFont font = canvas.font();
    font.setPixelSize(std::max(8, static_cast<int>(std::lround(10 * scale))));
    font.setBold(true);
    canvas.setFont(font);
    paintBands(canvas, marks.bands, Layout.inset, line);

    const QString roles[] = {QString(), EntryOrEnglish(PigmentaText("PaletteSlotMark")),
                             EntryOrEnglish(PigmentaText("ColourGridSlotMark"))};
    for (const SlotMark& slot : marks.slots) {
        const QRect thumbnail = toRect(slot.thumbnail);
        if (!slot.named)
            outline(canvas, thumbnail.adjusted(line, line, -line, -line), line, QColor(96, 96, 96));
        if (slot.missing) {
            canvas.setPen(QPen(QColor(255, 64, 64), 2 * line));
            canvas.drawLine(thumbnail.topLeft(), thumbnail.bottomRight());
            canvas.drawLine(thumbnail.topRight(), thumbnail.bottomLeft());
        }
        if (slot.selected) {
            canvas.fillRect(thumbnail, QColor(40, 120, 255, 90));
            outline(canvas, thumbnail, Layout.inset, QColor(40, 120, 255));
        }
        if (slot.current)
            outline(canvas, thumbnail, line, QColor(0, 230, 118));
        if (slot.cursor) {
            // Over the palette slot the frame takes a new colour at every repaint.
            const QColor colour = slot.slot == 0 ? QColor::fromRgb(static_cast<QRgb>(flicker_()) | 0xFF000000u)
                                                 : QColor(Qt::white);
            outline(canvas, thumbnail, line, colour);
            outline(canvas, thumbnail.adjusted(-line, -line, line, line), line, Qt::black);
        }
        boxedText(canvas, thumbnail, Qt::TopLeftCorner, QString::number(slot.slot), QColor(0, 0, 0, 180),
                  Qt::white, 2 * line);
        if (slot.role != SlotRole::Image)
            boxedText(canvas, thumbnail, Qt::BottomLeftCorner, roles[static_cast<int>(slot.role)],
                      QColor(255, 213, 79), Qt::black, 2 * line);
    }

    if (marks.emptyBank)
        paintEmptyBankHint(canvas, QSize(ViewImage.width, ViewImage.height), scale, line);
}

QString TMainForm::SlotTip(const QPoint& at) const
{
    const QRect view = ViewPanel->geometry();
    if (!view.contains(at))
        return {};
    const double scale = ViewScale();
    const std::int32_t slot = SlotAt(static_cast<int>((at.x() - view.left()) * scale),
                                     static_cast<int>((at.y() - view.top()) * scale), Layout, UpDown->Position());
    QStringList lines;
    if (slot == 0)
        lines << EntryOrEnglish(PigmentaText("PaletteSlotTip"));
    else if (slot == 1)
        lines << EntryOrEnglish(PigmentaText("ColourGridSlotTip"));
    const BankImageSlot& held = Bank.slots[static_cast<std::size_t>(slot)];
    if (held.name.empty())
        lines << EntryOrEnglish(PigmentaText("EmptySlotTip")).arg(slot);
    else if (!held.image)
        lines << EntryOrEnglish(PigmentaText("MissingSlotTip")).arg(slot).arg(Ui(held.name));
    else
        lines << EntryOrEnglish(PigmentaText("SlotTip")).arg(slot).arg(Ui(held.name));
    QStringList textures;
    for (std::int32_t texture : TexturesOver(Bank, slot))
        textures << QString::number(texture);
    if (!textures.isEmpty())
        lines << EntryOrEnglish(PigmentaText("TexturesOverTip")).arg(textures.join(", "));
    return lines.join("\n");
}

void TMainForm::showSlotTip(const QPoint& at, const QPoint& globalPos)
{
    const QString tip = SlotTip(at);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, tip, centralWidget(), cellOnClient(CursorImage));
}

void TMainForm::turnWheel(const QPoint& at, int eighthsOfDegree)
{
    // The wheel over the grid (or its up-down control) scrolls it by rows.
    if (!ViewPanel->geometry().united(UpDown->geometry()).contains(at))
        return;
    wheelSteps_ += eighthsOfDegree;
    const int rows = wheelSteps_ / WheelStep;
    wheelSteps_ -= rows * WheelStep;
    if (rows != 0)
        UpDown->Step(rows);
}

