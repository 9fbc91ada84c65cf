#include "K3xDisplay.h"

#include <QPainter>
#include <QTransform>

#include <array>
#include <cstdint>

QImage DisplayImageView(const DisplayImage& image)
{
    if (image.pixels.empty() || image.width < 1 || image.height < 1)
        return {};
    if (image.bytesPerPixel == 3)
        return QImage(image.pixels.data(), image.width, image.height, static_cast<qsizetype>(image.width) * 3,
                      QImage::Format_BGR888);
    QImage view(image.pixels.data(), image.width, image.height, image.width, QImage::Format_Indexed8);
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(image.colourTable[i].red, image.colourTable[i].green, image.colourTable[i].blue);
    view.setColorTable(colours);
    return view;
}

QImage TextureThumbnail(const std::uint8_t* pixels, const PalettePlanes& palette, int side, double scale)
{
    if (!pixels || side < 1)
        return {};
    QImage thumbnail(side, side, QImage::Format_Indexed8);
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(palette.red[i], palette.green[i], palette.blue[i]);
    thumbnail.setColorTable(colours);
    for (int v = 0; v < side; ++v) {
        const std::uint8_t* source = pixels + static_cast<std::size_t>(v * TextureSide / side) * TextureSide;
        std::uint8_t* target = thumbnail.scanLine(v);
        for (int u = 0; u < side; ++u)
            target[u] = source[u * TextureSide / side];
    }
    thumbnail.setDevicePixelRatio(scale);
    return thumbnail;
}

void RealizeWindowPalette(DisplayImage& image)
{
    image.paletteRealised = true;
}

void ApplyBankPalette(const PalettePlanes& palette, DisplayImage& screen)
{
    SetColourTable(screen, palette);
    RealizeWindowPalette(screen);
}

void StretchImage(const DisplayImage& image, int x, int y, QPainter& canvas, int height, int width)
{
    const QImage view = DisplayImageView(image);
    if (view.isNull() || width == 0 || height == 0)
        return;
    // Memory row 0 lands at the y + height end of the rectangle and the last row at the y end:
    // bottom up for a positive height, top down for a negative one.
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.setTransform(QTransform::fromTranslate(x, y + height).scale(double(width) / image.width,
                                                                        -double(height) / image.height),
                        true);
    canvas.drawImage(0, 0, view);
    canvas.restore();
}

void DrawImage(const DisplayImage& image, int x, int y, QPainter& canvas)
{
    StretchImage(image, x, y, canvas, image.height, image.width);
}

void ShowColours(const DisplayImage& image, QImage& shown)
{
    if (shown.width() != image.width || shown.height() != image.height || shown.format() != QImage::Format_RGB32)
        shown = QImage(image.width, image.height, QImage::Format_RGB32);
    if (shown.isNull())
        return;
    std::array<std::uint32_t, 256> colours;
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(image.colourTable[i].red, image.colourTable[i].green, image.colourTable[i].blue);
    const auto width = static_cast<std::size_t>(image.width);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* from = image.row(image.height - 1 - y);
        auto* to = reinterpret_cast<std::uint32_t*>(shown.scanLine(y));
        for (std::size_t x = 0; x < width; ++x)
            to[x] = colours[from[x]];
    }
}

void PresentScreen(QPainter& form, bool stretch, int x, int y, int width, int height, const DisplayImage& screen)
{
    if (stretch && (width != screen.width || height != screen.height))
        StretchImage(screen, x, y, form, height, width);
    else
        PresentScreen(form, x, y, 1.0, screen);
}

void PresentScreen(QPainter& form, int x, int y, double deviceScale, const DisplayImage& screen)
{
    // Kept from one frame to the next: painting happens on the window's thread only.
    static QImage shown;
    ShowColours(screen, shown);
    shown.setDevicePixelRatio(deviceScale);
    form.drawImage(QPointF(x, y), shown);
}
