#include "PictureFit.h"

#include "Errors.h"
#include "FileResolver.h"
#include "Pcx.h"
#include "TgaDecode.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A PCX file: the manufacturer byte 10 and a header the library's reader accepts.
bool looksLikePcx(std::span<const std::uint8_t> file, const std::string& name)
{
    if (file.empty() || file[0] != 10)
        return false;
    try {
        ReadPcxInfo(file, name);
        return true;
    } catch (const FormatError&) {
        return false;
    }
}

QImage decodePcx(std::span<const std::uint8_t> file, const std::string& name)
{
    const PcxImage pcx = DecodePcx(file, name);
    QImage image(pcx.width, pcx.height, QImage::Format_ARGB32);
    if (image.isNull())
        throw FormatError(name + ": the picture is too large to hold");
    for (int y = 0; y < pcx.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < pcx.width; ++x) {
            const std::uint8_t c = pcx.pixels[static_cast<std::size_t>(y) * pcx.width + x];
            row[x] = c == 0 ? qRgba(0, 0, 0, 0) : qRgb(pcx.palette.red[c], pcx.palette.green[c], pcx.palette.blue[c]);
        }
    }
    return image;
}

QImage decodeTga(std::span<const std::uint8_t> file, const std::string& name)
{
    const RgbaPicture picture = DecodeTga(file, name);
    QImage image(picture.width, picture.height, QImage::Format_RGBA8888);
    if (image.isNull())
        throw FormatError(name + ": the picture is too large to hold");
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.rgba.data() + static_cast<std::size_t>(y) * picture.width * 4,
                    static_cast<std::size_t>(picture.width) * 4);
    return image;
}

// The size the whole picture is scaled to before it is placed in the square.
QSize scaledSize(QSize size, TextureFit fit)
{
    if (fit == TextureFit::Stretch)
        return {TextureSide, TextureSide};
    const double w = size.width(), h = size.height();
    const double k = fit == TextureFit::Crop ? TextureSide / std::min(w, h) : TextureSide / std::max(w, h);
    return {std::max(1, static_cast<int>(std::lround(w * k))), std::max(1, static_cast<int>(std::lround(h * k)))};
}

// Decodes through Qt's readers.
QImage decodeScaled(std::span<const std::uint8_t> file, const std::string& name, TextureFit fit)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                               static_cast<qsizetype>(file.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        throw FormatError(name + ": not a picture in a format the import reads (PNG, JPEG, BMP, GIF, TGA, WebP, PCX)");
    // JPEG decodes straight at an eighth, a quarter or half the size, which makes large photos
    // several times faster. Other readers are left to decode whole: some do not take it well.
    if (reader.format() == "jpeg") {
        const QSize size = reader.size();
        if (size.isValid() && !size.isEmpty())
            reader.setScaledSize(scaledSize(size, fit));
    }
    QImage image = reader.read();
    if (image.isNull())
        throw FormatError(name + ": the picture cannot be read (" + reader.errorString().toStdString() + ")");
    return image;
}

} // namespace

RgbaTexture FitPicture(std::span<const std::uint8_t> file, const std::string& name, TextureFit fit)
{
    // TGA has no signature: a file is taken for one by its name.
    QImage image = looksLikePcx(file, name) ? decodePcx(file, name)
                   : HasExtension(name, ".tga")         ? decodeTga(file, name)
                                            : decodeScaled(file, name, fit);
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        throw FormatError(name + ": the picture has no pixels");
    const QSize target = scaledSize(image.size(), fit);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    // Centred in the square: a crop starts left of or above it, a pad inside it; the rest stays
    // see-through (all zero).
    image = image.convertToFormat(QImage::Format_RGBA8888);
    const int left = (TextureSide - image.width()) / 2, top = (TextureSide - image.height()) / 2;
    RgbaTexture out{};
    for (int y = std::max(0, top); y < std::min(TextureSide, top + image.height()); ++y) {
        const int x0 = std::max(0, left), x1 = std::min(TextureSide, left + image.width());
        std::memcpy(out.data() + (static_cast<std::size_t>(y) * TextureSide + x0) * 4,
                    image.constScanLine(y - top) + static_cast<std::size_t>(x0 - left) * 4,
                    static_cast<std::size_t>(x1 - x0) * 4);
    }
    return out;
}
