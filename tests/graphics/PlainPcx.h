#pragma once
// A plain PCX decoder to hold the library's fast one against: one data byte at a time, every
// line decoded whole into a buffer of its padded length, then cut to the width. The header is
// taken as ReadPcxInfo found it.
#include "Pcx.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The pixels, rows top first; nothing when the data ends before the last line is full.
inline std::optional<std::vector<std::uint8_t>> PlainPcxPixels(std::span<const std::uint8_t> file, const PcxInfo& info)
{
    const std::size_t lineBytes = static_cast<std::size_t>(info.bytesPerLine);
    const std::size_t total = lineBytes * static_cast<std::size_t>(info.height);
    std::vector<std::uint8_t> lines;
    lines.reserve(total);
    std::size_t at = 128; // the data follows the header and ends where the palette begins
    const std::size_t end = file.size() - 768;
    while (lines.size() < total) {
        if (at >= end)
            return std::nullopt;
        const std::uint8_t d = file[at++];
        if (d < 192) {
            lines.push_back(d);
            continue;
        }
        if (at >= end)
            return std::nullopt;
        const std::uint8_t colour = file[at++];
        for (int i = 0; i < d - 192 && lines.size() < total; ++i)
            lines.push_back(colour);
    }
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < info.height; ++y) {
        const auto line = lines.begin() + static_cast<std::ptrdiff_t>(y * lineBytes);
        pixels.insert(pixels.end(), line, line + info.width);
    }
    return pixels;
}
