#include "PictureFit.h"

#include "Errors.h"
#include "JpegCheck.h"
#include "PcxPicture.h"
#include "TgaDecode.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <unistd.h>

namespace {

std::string sizeText(QSize size) { return std::to_string(size.width()) + " x " + std::to_string(size.height()); }

// The memory one picture may take decoded whole (Qt's readers keep to 128 MB unless told): an
// eighth of the machine's memory, from 256 MB to 1 GB, so a 6,144 x 6,144 picture (151 MB) is
// read while a few such pictures read side by side leave the machine room.
int pictureMemoryLimitMb()
{
    static const int limit = [] {
        const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
        const long long mb = pages > 0 && pageSize > 0 ? static_cast<long long>(pages) * pageSize / (8 << 20) : 256;
        return static_cast<int>(std::clamp<long long>(mb, 256, 1024));
    }();
    return limit;
}

[[noreturn]] void tooLarge(const std::string& name, QSize size)
{
    throw FormatError(name + ": the picture is " + sizeText(size) + " pixels, more than the import can hold (" +
                      std::to_string(pictureMemoryLimitMb()) + " MB)");
}

// A null QImage from an operation that needed memory: the machine had none to give.
QImage held(QImage image, const std::string& name, QSize size)
{
    if (image.isNull())
        throw FormatError(name + ": not enough memory to hold the picture (" + sizeText(size) + " pixels)");
    return image;
}

QImage fromRgba(const RgbaPicture& picture, const std::string& name)
{
    const QSize size(picture.width, picture.height);
    QImage image = held(QImage(size, QImage::Format_RGBA8888), name, size);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.rgba.data() + static_cast<std::size_t>(y) * picture.width * 4,
                    static_cast<std::size_t>(picture.width) * 4);
    return image;
}

// The size the whole picture is scaled to before it is placed in the square: the square itself
// for a stretch, the long side 128 for a pad, the short side 128 for a crop.
QSize scaledSize(QSize size, TextureFit fit)
{
    if (fit == TextureFit::Stretch)
        return {TextureSide, TextureSide};
    const double w = size.width(), h = size.height();
    const double k = fit == TextureFit::Crop ? TextureSide / std::min(w, h) : TextureSide / std::max(w, h);
    return {std::max(1, static_cast<int>(std::lround(w * k))), std::max(1, static_cast<int>(std::lround(h * k)))};
}

// The centred square a crop keeps of a picture of `size`.
QRect cropOf(QSize size)
{
    const int side = std::min(size.width(), size.height());
    return {(size.width() - side) / 2, (size.height() - side) / 2, side, side};
}

// Formats whose files start with a signature. Others (ICO, cursors, TGA, WBMP) are guessed from a
// few header bytes that a TGA picture's can match: such a file that looks like a TGA picture is
// one.
bool hasSignature(const QByteArray& format)
{
    static const char* const withSignature[] = {"png", "jpeg", "gif", "bmp", "webp", "tiff", "jp2", "heic", "heif", "avif"};
    return std::any_of(std::begin(withSignature), std::end(withSignature), [&](const char* f) { return format == f; });
}

// Through Qt's readers (PNG, JPEG, BMP, GIF, WebP ...), the format told by the content; turned
// upright by the picture's own orientation (EXIF). Nothing when no reader knows the content, or
// it is a TGA picture, which our reader takes.
std::optional<QImage> decodeWithQt(std::span<const std::uint8_t> file, const std::string& name, TextureFit fit)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                               static_cast<qsizetype>(file.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(pictureMemoryLimitMb());
    if (!reader.canRead())
        return std::nullopt;
    const QByteArray format = reader.format(); // before the header is read: a failed read forgets it
    if (!hasSignature(format) && LooksLikeTga(file))
        return std::nullopt;
    const QSize stored = reader.size();
    if (format == "jpeg") {
        if (!JpegIsComplete(file))
            throw FormatError(name + ": the JPEG picture is cut short");
        // JPEG decodes straight at an eighth, a quarter or half the size: large photos are read
        // reduced, as a crop only the square that is kept. The scaling applies to the picture
        // as stored, before it is turned upright.
        if (stored.isValid() && !stored.isEmpty()) {
            const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
            const QSize upright = turned ? stored.transposed() : stored;
            const QSize scaled = scaledSize(upright, fit);
            reader.setScaledSize(turned ? scaled.transposed() : scaled);
            if (fit == TextureFit::Crop) {
                const QSize storedScaled = turned ? scaled.transposed() : scaled;
                reader.setScaledClipRect(cropOf(storedScaled));
            }
        }
    } else if (stored.isValid() &&
               static_cast<long long>(stored.width()) * stored.height() * 4 > (static_cast<long long>(pictureMemoryLimitMb()) << 20)) {
        tooLarge(name, stored);
    }
    QImage image = reader.read();
    if (image.isNull())
        throw FormatError(name + ": the picture cannot be read (" + reader.errorString().toStdString() + ")");
    return image;
}

QImage decode(std::span<const std::uint8_t> file, const std::string& name, TextureFit fit)
{
    if (LooksLikePcxPicture(file))
        return fromRgba(DecodePcxPicture(file, name), name);
    if (std::optional<QImage> image = decodeWithQt(file, name, fit))
        return *image;
    if (LooksLikeTga(file))
        return fromRgba(DecodeTga(file, name), name);
    throw FormatError(name + ": not a picture in a format the import reads (PNG, JPEG, BMP, GIF, TGA, WebP, PCX)");
}

// The picture fitted to the square: a crop cut from the picture before it is scaled, so nothing
// larger than the picture itself is ever made; scaled in full colour (a picture of 256 colours
// too), then centred, the rest see-through.
RgbaTexture fit(QImage image, const std::string& name, TextureFit fit)
{
    const QSize original = image.size();
    if (fit == TextureFit::Crop && image.width() != image.height())
        image = held(image.copy(cropOf(image.size())), name, original);
    image = held(image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                               : QImage::Format_RGB32),
                 name, original);
    const QSize target = scaledSize(image.size(), fit);
    if (image.size() != target)
        image = held(image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), name, original);
    image = held(image.convertToFormat(QImage::Format_RGBA8888), name, original);

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

} // namespace

RgbaTexture FitPicture(std::span<const std::uint8_t> file, const std::string& name, TextureFit how)
{
    try {
        QImage image = decode(file, name, how);
        if (image.isNull() || image.width() < 1 || image.height() < 1)
            throw FormatError(name + ": the picture has no pixels");
        return fit(std::move(image), name, how);
    } catch (const std::bad_alloc&) {
        throw FormatError(name + ": not enough memory to read the picture");
    }
}
