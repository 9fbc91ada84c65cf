#include "ImageWriters.h"

#include <array>
#include <stdexcept>
#include <string_view>

// A PNG file is the signature and chunks (length, type, data, CRC-32 of type and data, all
// big-endian). The image data is a zlib stream whose deflate blocks are stored (type 0, at most
// 65,535 bytes each), each row preceded by filter byte 0.

namespace {

const std::array<std::uint32_t, 256>& crcTable()
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t c = 0xffffffffu;
    for (std::size_t i = 0; i < size; ++i)
        c = crcTable()[(c ^ data[i]) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data)
{
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putU32BE(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data)
{
    putU32BE(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    putU32BE(out, crc32(out.data() + typeAt, out.size() - typeAt));
}

std::vector<std::uint8_t> storedZlib(const std::vector<std::uint8_t>& raw)
{
    std::vector<std::uint8_t> z{0x78, 0x01}; // deflate, 32 KB window, no dictionary
    std::size_t at = 0;
    do {
        const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + size == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(size));
        z.push_back(static_cast<std::uint8_t>(size >> 8));
        z.push_back(static_cast<std::uint8_t>(~size));
        z.push_back(static_cast<std::uint8_t>(~size >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    } while (at < raw.size());
    putU32BE(z, adler32(raw));
    return z;
}

} // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> pixels,
                                    const PalettePlanes& palette)
{
    const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    if (width < 1 || height < 1 || pixels.size() / w < h)
        throw std::invalid_argument("EncodePng: sizes do not match the pixels");

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> ihdr;
    putU32BE(ihdr, static_cast<std::uint32_t>(width));
    putU32BE(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, 3, 0, 0, 0}); // 8 bits, indexed colour, deflate, no filter, no interlace
    putChunk(out, "IHDR", ihdr);

    std::vector<std::uint8_t> plte;
    for (int i = 0; i < 256; ++i)
        plte.insert(plte.end(), {palette.red[i], palette.green[i], palette.blue[i]});
    putChunk(out, "PLTE", plte);

    std::vector<std::uint8_t> raw;
    raw.reserve(h * (w + 1));
    for (std::size_t y = 0; y < h; ++y) {
        raw.push_back(0); // filter: none
        raw.insert(raw.end(), pixels.begin() + static_cast<std::ptrdiff_t>(y * w),
                   pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * w));
    }
    putChunk(out, "IDAT", storedZlib(raw));
    putChunk(out, "IEND", {});
    return out;
}
