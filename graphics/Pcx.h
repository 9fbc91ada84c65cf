#pragma once
// Reading 256-colour PCX images (layout in PcxFormat.h) into plain 8-bit pixel buffers, rows top
// first, with their palette; optionally translated onto another palette.
#include "Palette.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct PcxImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width x height, first row at the top
    PalettePlanes palette;            // the file's own palette
};

// What the header says, once it was found to describe an 8-bit, one-plane image whose sizes fit
// the file. FormatError naming `name` otherwise.
struct PcxInfo {
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
};
PcxInfo ReadPcxInfo(std::span<const std::uint8_t> file, const std::string& name);

// Decodes a whole PCX file held in memory; FormatError naming `name` when it is not a 256-colour
// image or its data ends early. Never reads outside `file`.
PcxImage DecodePcx(std::span<const std::uint8_t> file, const std::string& name);

// The file named `name` (resolved without regard to case): FatalError when it does not exist,
// IoError when it cannot be read, FormatError when it is not a 256-colour PCX image.
PcxImage LoadPcx(std::string_view name);
// LoadPcx, then every pixel translated onto `target`: colour 0 stays 0, colours 1..255 become
// the nearest of target colours 1..254. The answer keeps the file's palette.
PcxImage LoadPcxRemapped(std::string_view name, const PalettePlanes& target);

// The texture bank editor's own two loads. They take only 128 x 128 images: any other size
// answers false and fills nothing. A missing file is an IoError (the editor does not test for it
// first). The remapping one translates colours 1..255 onto bank colours 1..255.
bool LoadTexturePcx(std::string_view name, std::span<std::uint8_t> pixels, PalettePlanes& palette);
bool LoadTexturePcxRemapped(std::string_view name, std::span<std::uint8_t> pixels, const PalettePlanes& bankPalette);
