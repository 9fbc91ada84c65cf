#include "PcxPicture.h"

#include "Errors.h"
#include "Pcx.h"
#include "PcxFormat.h"

#include <algorithm>

namespace {

RgbaPicture fromPalette(const PcxImage& image)
{
    RgbaPicture picture{image.width, image.height, {}};
    picture.rgba.resize(image.pixels.size() * 4);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint8_t c = image.pixels[i];
        std::uint8_t* out = &picture.rgba[i * 4];
        out[0] = image.palette.red[c], out[1] = image.palette.green[c], out[2] = image.palette.blue[c], out[3] = 255;
    }
    return picture;
}

RgbaPicture decodeThreePlanes(std::span<const std::uint8_t> file, const PcxHeader& header, const std::string& name)
{
    auto fail = [&name](const std::string& why) { return FormatError(name + ": " + why); };
    const int width = header.xmax - header.xmin + 1, height = header.ymax - header.ymin + 1;
    const std::size_t line = header.bytesPerLine;
    if (line < static_cast<std::size_t>(width))
        throw fail("lines of " + std::to_string(line) + " bytes cannot hold " + std::to_string(width) + " pixels");
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > MostPicturePixels)
        throw fail(std::to_string(width) + " x " + std::to_string(height) + " pixels is no size the import takes");
    // Each pair of data bytes makes at most 63 bytes: sizes beyond that cannot be in the file.
    const std::uint64_t dataBytes = file.size() - PcxHeaderSize;
    if (static_cast<std::uint64_t>(line) * 3 * static_cast<std::uint64_t>(height) > dataBytes * 32)
        throw fail("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels cannot fit in " + std::to_string(dataBytes) + " bytes of pixel data");
    std::vector<std::uint8_t> planes(line * 3 * static_cast<std::size_t>(height));
    if (!DecodePcxRuns(file.subspan(PcxHeaderSize), planes))
        throw fail("the pixel data ends early");
    RgbaPicture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        const std::uint8_t* red = &planes[y * line * 3];
        std::uint8_t* out = &picture.rgba[y * width * 4];
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x, out += 4)
            out[0] = red[x], out[1] = red[x + line], out[2] = red[x + 2 * line], out[3] = 255;
    }
    return picture;
}

} // namespace

bool LooksLikePcxPicture(std::span<const std::uint8_t> file)
{
    return file.size() >= PcxHeaderSize && file[0] == 10 && file[2] == 1 && file[3] == 8 &&
           (file[65] == 1 || file[65] == 3);
}

RgbaPicture DecodePcxPicture(std::span<const std::uint8_t> file, const std::string& name)
{
    if (!LooksLikePcxPicture(file))
        throw FormatError(name + ": not a 256-colour or true-colour PCX picture");
    const PcxHeader header = ReadPcxHeader(file.data());
    if (header.xmax < header.xmin || header.ymax < header.ymin)
        throw FormatError(name + ": impossible picture sizes in the PCX header");
    if (header.planes == 3)
        return decodeThreePlanes(file, header, name);
    const PcxInfo info = ReadPcxInfo(file, name);
    if (static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height) > MostPicturePixels)
        throw FormatError(name + ": " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                          " pixels is no size the import takes");
    return fromPalette(DecodePcx(file, name));
}
