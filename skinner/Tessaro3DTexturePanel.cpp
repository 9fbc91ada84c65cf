// TForm1's texture panel: the texture bar, view and typed index, the bank's textures as thumbnails
// to pick by sight, the colour grid with its tooltips, and the animation of the textures shown.
#include "Tessaro3DUnit.h"

#include "Renderer.h"
#include "Tessaro3DEntries.h"
#include "Tessaro3DFormHelpers.h"
#include "Text.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>

namespace {

constexpr int ThumbnailSide = 48;
// A thumbnail's place in the panel, its number under it: two fit beside a scroll bar in the room
// the texture view leaves beside the colour grid.
constexpr QSize ThumbnailCell(ThumbnailSide + 6, ThumbnailSide + 18);

bool animated(const AnimTexture& texture) { return texture.first != texture.last; }

// The image a texture shows now, as the bank's palette colours it (first row on top); a grey
// square for an image the bank lacks.
QPixmap thumbnail(const SkinnerBank& bank, std::int32_t texture)
{
    const std::uint8_t* pixels = bank.image(bank.textures[static_cast<std::size_t>(texture)].current);
    QImage image(TextureSide, TextureSide, QImage::Format_Indexed8);
    if (pixels == nullptr) {
        image.fill(Qt::gray);
        return QPixmap::fromImage(image.scaled(ThumbnailSide, ThumbnailSide));
    }
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(bank.bankPalette.red[i], bank.bankPalette.green[i], bank.bankPalette.blue[i]);
    image = QImage(pixels, TextureSide, TextureSide, TextureSide, QImage::Format_Indexed8);
    image.setColorTable(colours);
    return QPixmap::fromImage(image.scaled(ThumbnailSide, ThumbnailSide, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

} // namespace

void TForm1::buildTexturePanel(QWidget* client)
{
    TexturePanel = new QListWidget(client);
    TexturePanel->setObjectName("TexturePanel");
    TexturePanel->setViewMode(QListView::IconMode);
    TexturePanel->setIconSize(QSize(ThumbnailSide, ThumbnailSide));
    TexturePanel->setGridSize(ThumbnailCell);
    TexturePanel->setResizeMode(QListView::Adjust);
    TexturePanel->setMovement(QListView::Static);
    TexturePanel->setUniformItemSizes(true);
    connect(TexturePanel, &QListWidget::itemClicked, this, &TForm1::TexturePanelClick);
    connect(TexturePanel, &QListWidget::itemDoubleClicked, this, &TForm1::TexturePanelDoubleClick);
    connect(TexturePanel->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { updateAnimation(); });
    // A typed number chooses the texture, as the bar does.
    connect(TextureIndex, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool number = false;
        const int texture = text.toInt(&number);
        if (number && texture >= 0 && texture <= context->bank.lastTexture)
            TextureBar->setValue(texture);
    });
}

void TForm1::placeTexturePanel(int clientHeight)
{
    // Under the texture view and its bar while two rows of thumbnails fit there; on a shorter window
    // (a large scale factor on a small screen) in their place beside the colour grid, where the
    // thumbnails show the chosen texture as well.
    const int under = TextureBar->y() + TextureBar->height() + 4;
    const int rows = 2 * ThumbnailCell.height() + 2 * TexturePanel->frameWidth();
    texturePreview_ = clientHeight - under - 2 >= rows;
    TextureBar->setVisible(texturePreview_);
    if (texturePreview_) {
        TexturePanel->setGeometry(Label1->x(), under, Label1->width(), clientHeight - under - 2);
        return;
    }
    const int left = ColorPaletteView->x() + ColorPaletteView->width() + 2;
    TexturePanel->setGeometry(left, ColorPaletteView->y(), Label1->x() + Label1->width() - left,
                              std::max(0, clientHeight - ColorPaletteView->y() - 2));
}

void TForm1::fillTexturePanel()
{
    TexturePanel->clear();
    const SkinnerBank& bank = context->bank;
    for (std::int32_t t = 0; t <= bank.lastTexture; ++t) {
        auto* item = new QListWidgetItem(QIcon(thumbnail(bank, t)), QString::number(t), TexturePanel);
        item->setData(Qt::UserRole, t);
        item->setToolTip(EntryOrEnglish(Tessaro3DText("TextureTip")).arg(t));
    }
    updateAnimation();
}

void TForm1::animateTexturePanel()
{
    if (!TexturePanel->isVisible())
        return;
    for (int row = 0; row < TexturePanel->count(); ++row)
        if (QListWidgetItem* item = TexturePanel->item(row); animatesInSight(item))
            item->setIcon(QIcon(thumbnail(context->bank, item->data(Qt::UserRole).toInt())));
}

bool TForm1::animatesInSight(const QListWidgetItem* item) const
{
    return animated(context->bank.textures[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())]) &&
           TexturePanel->visualItemRect(item).intersects(TexturePanel->viewport()->rect());
}

bool TForm1::previewAnimates() const
{
    const SkinnerBank& bank = context->bank;
    return texturePreview_ && currentTexture >= 0 && currentTexture <= bank.lastTexture &&
           animated(bank.textures[static_cast<std::size_t>(currentTexture)]);
}

namespace {

// Whether the object shows an animated texture: a textured triangle whose texture has frames.
bool showsAnimation(const Object3D& object, const SkinnerBank& bank)
{
    for (std::size_t f = 0; f < object.faceCount(); ++f) {
        const Face& face = object.faces[f];
        if ((face.faceType == FaceTextured || face.faceType == FaceTexturedKeyed) && face.texture <= bank.lastTexture &&
            animated(bank.textures[face.texture]))
            return true;
    }
    return false;
}

} // namespace

void TForm1::updateAnimation()
{
    bool shown = previewAnimates();
    for (int row = 0; row < TexturePanel->count() && !shown && TexturePanel->isVisible(); ++row)
        shown = animatesInSight(TexturePanel->item(row));
    shown = shown || showsAnimation(object, context->bank);
    if (shown && !Timer1->isActive())
        Timer1->start();
    else if (!shown)
        Timer1->stop();
}

void TForm1::TexturePanelClick(QListWidgetItem* item)
{
    if (item != nullptr)
        TextureBar->setValue(item->data(Qt::UserRole).toInt());
}

void TForm1::TexturePanelDoubleClick(QListWidgetItem* item)
{
    // Given by sight, the texture shows: plain faces become textured in the same step.
    TexturePanelClick(item);
    const std::size_t points = object.pointCount();
    editFace(Tessaro3DText("TextValid"), -1,
             [this, points](Face& face) { GiveFaceTexture(face, currentTexture, points); });
}

void TForm1::TextureBarChange()
{
    setMaximumQuietly(TextureBar, context->bank.lastTexture);
    currentTexture = TextureBar->value();
    if (QListWidgetItem* item = TexturePanel->item(currentTexture)) {
        const QSignalBlocker quiet(TexturePanel);
        TexturePanel->setCurrentItem(item);
    }
    ShowFaceInfo();
    centralWidget()->update(TextureView->geometry());
    updateAnimation();
}

void TForm1::Timer1Timer()
{
    AnimateTextures(*context);
    if (showsAnimation(object, context->bank))
        viewChanged();
    if (previewAnimates())
        centralWidget()->update(TextureView->geometry());
    animateTexturePanel();
}

void TForm1::TestPalette(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int X, int Y)
{
    if (onlyButton(buttons, modifiers, Qt::LeftButton)) {
        const int colour = GridColourAt(X - ColorPaletteView->x(), Y - ColorPaletteView->y());
        if (colour >= 0 && colour != currentColour) {
            currentColour = static_cast<std::uint8_t>(colour);
            centralWidget()->update(ColorPaletteView->geometry());
        }
    }
    ShowFaceInfo();
}

bool TForm1::showColourTip(const QPoint& at, const QPoint& global)
{
    const int colour = GridColourAt(at.x() - ColorPaletteView->x(), at.y() - ColorPaletteView->y());
    if (colour < 0)
        return false;
    const PalettePlanes& colours = context->bank.colourPalette;
    QToolTip::showText(global, EntryOrEnglish(Tessaro3DText("ColourTip"))
                                   .arg(colour)
                                   .arg(colours.red[colour])
                                   .arg(colours.green[colour])
                                   .arg(colours.blue[colour]));
    return true;
}
