#include "TgaDecode.h"

#include "Errors.h"
#include "LittleEndian.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t HeaderSize = 18;
constexpr int LargestSide = 16384;

// The image types read: colour-mapped, true colour or grey (kind 1, 2, 3), plain or run-length
// (+8), with a colour map or none.
bool readableType(int type, int mapType)
{
    const int kind = type & 7;
    return (type & ~11) == 0 && kind >= 1 && kind <= 3 && mapType <= 1;
}

// Expands a 15- or 16-bit colour (x RRRRR GGGGG BBBBB) to eight bits a channel.
std::array<std::uint8_t, 4> fromFiveBits(unsigned v, bool alphaBit)
{
    auto expand = [](unsigned c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
    return {expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31),
            static_cast<std::uint8_t>(alphaBit && !(v & 0x8000) ? 0 : 255)};
}

// One stored value (bytes little-endian) as red, green, blue and alpha.
std::array<std::uint8_t, 4> colourOf(const std::uint8_t* p, int bits, bool alpha)
{
    switch (bits) {
    case 8: return {p[0], p[0], p[0], 255};
    case 15:
    case 16: return fromFiveBits(p[0] | p[1] << 8, alpha && bits == 16);
    case 24: return {p[2], p[1], p[0], 255};
    default: return {p[2], p[1], p[0], alpha ? p[3] : std::uint8_t(255)};
    }
}

} // namespace

bool LooksLikeTga(std::span<const std::uint8_t> file)
{
    if (file.size() < HeaderSize)
        return false;
    const int mapType = file[1], type = file[2], bits = file[16];
    const int width = ReadU16LE(&file[12]), height = ReadU16LE(&file[14]);
    return readableType(type, mapType) && width > 0 && height > 0 &&
           (bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32);
}

RgbaPicture DecodeTga(std::span<const std::uint8_t> file, const std::string& name)
{
    auto fail = [&name](const std::string& why) { return FormatError(name + ": " + why); };
    if (file.size() < HeaderSize)
        throw fail("too short for a TGA picture");
    const int idLength = file[0], mapType = file[1], type = file[2];
    const int mapFirst = ReadU16LE(&file[3]), mapLength = ReadU16LE(&file[5]), mapBits = file[7];
    const int width = ReadU16LE(&file[12]), height = ReadU16LE(&file[14]), bits = file[16], descriptor = file[17];
    const int kind = type & 7; // 1 colour-mapped, 2 true colour, 3 grey
    const bool runLength = type & 8;
    if (!readableType(type, mapType))
        throw fail("not a TGA picture of a kind the import reads (image type " + std::to_string(type) + ")");
    if (width < 1 || height < 1 || width > LargestSide || height > LargestSide ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > MostPicturePixels)
        throw fail(std::to_string(width) + " x " + std::to_string(height) + " pixels is no size the import takes");
    const bool bitsFit = kind == 1 ? bits == 8 : kind == 3 ? bits == 8 : bits == 15 || bits == 16 || bits == 24 || bits == 32;
    if (!bitsFit || (kind == 1 && (mapType != 1 || (mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32))))
        throw fail("a TGA picture of " + std::to_string(bits) + " bits per pixel is not one the import reads");
    const bool alpha = (descriptor & 15) > 0;

    std::size_t at = HeaderSize + static_cast<std::size_t>(idLength);
    // Every later check measures what is left after `at`.
    if (at > file.size())
        throw fail("the identification field is cut short");
    // The colour map, as red, green, blue, alpha for each entry.
    std::vector<std::array<std::uint8_t, 4>> map;
    if (mapType == 1) {
        const std::size_t entryBytes = static_cast<std::size_t>(mapBits + 7) / 8;
        if (at + entryBytes * mapLength > file.size())
            throw fail("the colour map is cut short");
        for (int i = 0; i < mapLength; ++i)
            map.push_back(colourOf(&file[at + i * entryBytes], mapBits, alpha));
        at += entryBytes * mapLength;
    }
    const std::size_t pixelBytes = static_cast<std::size_t>(bits + 7) / 8;
    auto pixel = [&](std::size_t offset) -> std::array<std::uint8_t, 4> {
        if (kind != 1)
            return colourOf(&file[offset], bits, alpha);
        const int index = file[offset] - mapFirst;
        if (index < 0 || index >= static_cast<int>(map.size()))
            throw fail("a pixel names colour " + std::to_string(file[offset]) + ", outside the colour map");
        return map[static_cast<std::size_t>(index)];
    };

    RgbaPicture picture;
    picture.width = width;
    picture.height = height;
    const std::size_t total = static_cast<std::size_t>(width) * height;
    picture.rgba.resize(total * 4);
    // Pixels in file order; placed by the descriptor's row and column directions.
    const bool topFirst = descriptor & 32, rightToLeft = descriptor & 16;
    auto place = [&](std::size_t n, const std::array<std::uint8_t, 4>& c) {
        const std::size_t fileRow = n / width, fileColumn = n % width;
        const std::size_t row = topFirst ? fileRow : height - 1 - fileRow;
        const std::size_t column = rightToLeft ? width - 1 - fileColumn : fileColumn;
        std::copy(c.begin(), c.end(), picture.rgba.begin() + static_cast<std::ptrdiff_t>((row * width + column) * 4));
    };
    for (std::size_t n = 0; n < total;) {
        std::size_t count = 1;
        bool run = false;
        if (runLength) {
            if (at >= file.size())
                throw fail("the pixels are cut short");
            run = file[at] & 128;
            count = (file[at] & 127) + 1u;
            ++at;
        } else {
            count = total;
        }
        count = std::min(count, total - n); // a packet never writes past the last pixel
        const std::size_t stored = run ? 1 : count;
        if (stored > (file.size() - at) / pixelBytes)
            throw fail("the pixels are cut short");
        for (std::size_t k = 0; k < count; ++k)
            place(n + k, pixel(at + (run ? 0 : k * pixelBytes)));
        at += stored * pixelBytes;
        n += count;
    }
    return picture;
}
