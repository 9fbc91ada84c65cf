#pragma once
// The PCX file layout, shared by the reader and the writer. All fields little-endian.
//
//   offset   size  field
//   0        1     manufacturer, 10
//   1        1     version, 5 for files with a 256-colour palette
//   2        1     encoding, 1 = run-length
//   3        1     bits per pixel (8 for 256 colours)
//   4        8     xmin, ymin, xmax, ymax: width = xmax - xmin + 1, height = ymax - ymin + 1
//   12       4     horizontal and vertical resolution
//   16       48    16-colour palette (unused here)
//   64       1     reserved, 0
//   65       1     colour planes (1)
//   66       2     bytes per line of one plane, even; at least the width
//   68       2     palette kind, 1 = colour
//   70       4     screen size (unused)
//   74       54    filler, 0
//   128      ...   pixel data, run-length encoded: a byte below 192 is one pixel of that colour; a
//                  byte d of 192 or more repeats the next byte d - 192 times (0 to 63). Lines
//                  of `bytes per line` follow each other; bytes past the width are padding.
//   size-769 1     0x0C, the palette marker
//   size-768 768   the palette: 256 triples of red, green, blue
#include <array>
#include <cstdint>
#include <span>

struct PcxHeader {
    std::uint8_t manufacturer = 10;
    std::uint8_t version = 5;
    std::uint8_t encoding = 1;
    std::uint8_t bitsPerPixel = 8;
    std::uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    std::uint16_t horizontalDpi = 72, verticalDpi = 72;
    std::array<std::uint8_t, 48> egaPalette{};
    std::uint8_t reserved = 0;
    std::uint8_t planes = 1;
    std::uint16_t bytesPerLine = 0;
    std::uint16_t paletteKind = 1;
    std::uint16_t screenWidth = 0, screenHeight = 0;
    std::array<std::uint8_t, 54> filler{};
};
static_assert(sizeof(PcxHeader) == 128);

constexpr std::size_t PcxHeaderSize = 128;
constexpr std::size_t PcxPaletteSize = 768;
constexpr std::uint8_t PcxPaletteMarker = 0x0C;
constexpr std::uint8_t PcxRunFlag = 192; // bytes from here on start a run of (byte - 192) pixels
constexpr int PcxLongestRun = 63;

PcxHeader ReadPcxHeader(const std::uint8_t* bytes);
void WritePcxHeader(const PcxHeader& header, std::uint8_t* bytes);

// Run-length decoding of exactly out.size() bytes from `data`; false when the data ends first.
// A run that would pass the end writes only up to it; a run of count 0 writes nothing.
bool DecodePcxRuns(std::span<const std::uint8_t> data, std::span<std::uint8_t> out);
