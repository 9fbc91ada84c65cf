#include "Pcx.h"

#include "Errors.h"
#include "FatalError.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "PcxFormat.h"
#include "TextureImage.h"

#include <algorithm>
#include <cstring>

namespace {

[[noreturn]] void refuse(const std::string& name, const std::string& why)
{
    throw FormatError(name + ": " + why);
}

} // namespace

bool DecodePcxRuns(std::span<const std::uint8_t> data, std::span<std::uint8_t> out)
{
    const std::uint8_t* in = data.data();
    const std::uint8_t* const end = in + data.size();
    std::uint8_t* pos = out.data();
    std::uint8_t* const last = pos + out.size();

    // Far from both ends, without a branch between literals and runs: a literal is a run of one.
    // Every step stores 16 bytes of its colour and moves on by its count; the bytes past the
    // count are written over by the steps that follow.
    constexpr std::ptrdiff_t Slack = 2 * PcxLongestRun + 16;
    while (end - in >= 2 && last - pos >= Slack) {
        // Masks rather than conditions, so that the compiler makes no branch of them: the
        // processor could not predict it on dithered pictures.
        const unsigned d = in[0];
        const unsigned run = d >= PcxRunFlag;  // 1 for a run, 0 for a literal
        const unsigned mask = 0u - run;          // all ones for a run
        const auto colour = static_cast<std::uint8_t>(d ^ ((d ^ in[1]) & mask));
        const int count = static_cast<int>(1 + ((d - PcxRunFlag - 1) & mask));
        in += 1 + run;
        std::memset(pos, colour, 16);
        if (count > 16)
            std::memset(pos + 16, colour, count - 16);
        pos += count;
    }
    // The last stretch, step by step.
    while (pos != last) {
        if (in == end)
            return false;
        const std::uint8_t d = *in++;
        if (d < PcxRunFlag) {
            *pos++ = d;
            continue;
        }
        if (in == end)
            return false;
        const std::size_t count = std::min<std::size_t>(d - PcxRunFlag, static_cast<std::size_t>(last - pos));
        std::memset(pos, *in++, count);
        pos += count;
    }
    return true;
}

namespace {

// The bytes of the file `name`; FatalError when it does not exist.
std::vector<std::uint8_t> readPcxFile(std::string_view name)
{
    const std::filesystem::path file = ResolvePath(name);
    try {
        return ReadWholeFile(file);
    } catch (const IoError&) {
        if (!FileExists(file))
            throw FatalError(std::string(name));
        throw;
    }
}

} // namespace

PcxInfo ReadPcxInfo(std::span<const std::uint8_t> file, const std::string& name)
{
    if (file.size() < PcxHeaderSize + PcxPaletteSize)
        refuse(name, "too short for a PCX image (" + std::to_string(file.size()) + " bytes)");
    const PcxHeader header = ReadPcxHeader(file.data());
    if (header.manufacturer != 10)
        refuse(name, "not a PCX image");
    if (header.bitsPerPixel != 8 || header.planes != 1)
        refuse(name, "not a 256-colour PCX image (" + std::to_string(header.bitsPerPixel) + " bits per pixel, " +
                         std::to_string(header.planes) + " planes)");
    if (header.encoding != 1)
        refuse(name, "unknown PCX encoding " + std::to_string(header.encoding));
    if (header.xmax < header.xmin || header.ymax < header.ymin)
        refuse(name, "impossible image sizes in the PCX header");
    PcxInfo info;
    info.width = header.xmax - header.xmin + 1;
    info.height = header.ymax - header.ymin + 1;
    info.bytesPerLine = header.bytesPerLine;
    if (info.bytesPerLine < info.width)
        refuse(name, "lines of " + std::to_string(info.bytesPerLine) + " bytes cannot hold " +
                         std::to_string(info.width) + " pixels");
    // Each pair of data bytes makes at most 63 pixels: sizes beyond that cannot be in the file.
    const std::uint64_t dataBytes = file.size() - PcxHeaderSize - PcxPaletteSize;
    if (static_cast<std::uint64_t>(info.bytesPerLine) * static_cast<std::uint64_t>(info.height) > dataBytes * 32)
        refuse(name, "an image of " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                         " pixels cannot fit in " + std::to_string(dataBytes) + " bytes of pixel data");
    return info;
}

PcxImage DecodePcx(std::span<const std::uint8_t> file, const std::string& name)
{
    const PcxInfo info = ReadPcxInfo(file, name);
    const auto data = file.subspan(PcxHeaderSize, file.size() - PcxHeaderSize - PcxPaletteSize);
    PcxImage image;
    image.width = info.width;
    image.height = info.height;
    const std::size_t width = static_cast<std::size_t>(info.width);
    const std::size_t lineBytes = static_cast<std::size_t>(info.bytesPerLine);
    if (lineBytes == width) {
        image.pixels.resize(width * info.height);
        if (!DecodePcxRuns(data, image.pixels))
            refuse(name, "the pixel data ends early");
    } else {
        // Padded lines: decode them whole, then keep the first `width` bytes of each.
        std::vector<std::uint8_t> lines(lineBytes * info.height);
        if (!DecodePcxRuns(data, lines))
            refuse(name, "the pixel data ends early");
        image.pixels.resize(width * info.height);
        for (std::size_t y = 0; y < static_cast<std::size_t>(info.height); ++y)
            std::memcpy(image.pixels.data() + y * width, lines.data() + y * lineBytes, width);
    }
    const std::uint8_t* palette = file.data() + file.size() - PcxPaletteSize;
    for (int i = 0; i < 256; ++i) {
        image.palette.red[i] = palette[3 * i];
        image.palette.green[i] = palette[3 * i + 1];
        image.palette.blue[i] = palette[3 * i + 2];
    }
    return image;
}

PcxImage LoadPcx(std::string_view name) { return DecodePcx(readPcxFile(name), std::string(name)); }

PcxImage LoadBankPcx(std::string_view name, const std::string& bankPath)
{
    try {
        return LoadPcx(name);
    } catch (const FatalError&) {
        throw IoError(bankPath + " names the image " + std::string(name) + ", which is missing");
    }
}

PcxImage LoadTexturePcx(std::string_view name)
{
    const std::string text(name);
    const std::vector<std::uint8_t> file = readPcxFile(name);
    const PcxInfo info = ReadPcxInfo(file, text);
    if (info.width != TextureSide || info.height != TextureSide)
        throw ImageSizeError(text, info.width, info.height);
    return DecodePcx(file, text);
}

ImageSizeError::ImageSizeError(const std::string& name, int width, int height)
    : FormatError(name + ": the image is " + std::to_string(width) + " x " + std::to_string(height) +
                  " pixels; bank images are 128 x 128")
    , width(width)
    , height(height)
{
}

void RemapPcx(PcxImage& image, const PalettePlanes& target, int lastColour)
{
    Translate(image.pixels, BuildTranslation(image.palette, target, 1, lastColour));
}

PcxImage LoadPcxRemapped(std::string_view name, const PalettePlanes& target)
{
    PcxImage image = LoadPcx(name);
    RemapPcx(image, target, 254);
    return image;
}
