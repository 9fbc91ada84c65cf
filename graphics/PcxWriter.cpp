#include "ImageWriters.h"

#include "PcxFormat.h"

#include <stdexcept>

std::vector<std::uint8_t> EncodePcx(int width, int height, std::span<const std::uint8_t> pixels,
                                    const PalettePlanes& palette)
{
    if (width < 1 || height < 1 || width > 65535 || height > 65535 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("EncodePcx: sizes do not match the pixels");

    PcxHeader header;
    header.xmax = static_cast<std::uint16_t>(width - 1);
    header.ymax = static_cast<std::uint16_t>(height - 1);
    // Lines hold an even number of bytes; an odd width gets one padding byte of colour 0.
    const int lineBytes = width + (width & 1);
    header.bytesPerLine = static_cast<std::uint16_t>(lineBytes);

    std::vector<std::uint8_t> out(PcxHeaderSize);
    WritePcxHeader(header, out.data());
    out.reserve(PcxHeaderSize + static_cast<std::size_t>(lineBytes) * height + 1 + PcxPaletteSize);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineBytes), 0);
    for (int y = 0; y < height; ++y) {
        const auto row = pixels.subspan(static_cast<std::size_t>(y) * width, static_cast<std::size_t>(width));
        std::copy(row.begin(), row.end(), line.begin());
        // Runs stop at the end of each line, as readers expect.
        for (int x = 0; x < lineBytes;) {
            const std::uint8_t colour = line[x];
            int run = 1;
            while (x + run < lineBytes && run < PcxLongestRun && line[x + run] == colour)
                ++run;
            if (run > 1 || colour >= PcxRunFlag)
                out.push_back(static_cast<std::uint8_t>(PcxRunFlag + run));
            out.push_back(colour);
            x += run;
        }
    }
    out.push_back(PcxPaletteMarker);
    for (int i = 0; i < 256; ++i) {
        out.push_back(palette.red[i]);
        out.push_back(palette.green[i]);
        out.push_back(palette.blue[i]);
    }
    return out;
}
