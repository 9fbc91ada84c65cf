#pragma once
// Reading 256-colour PCX images (layout in PcxFormat.h) into plain 8-bit pixel buffers, rows top
// first, with their palette; optionally translated onto another palette.
#include "Errors.h"
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

// One family of loads, one contract: the file named `name` (resolved without regard to case);
// FatalError when it does not exist, IoError when it cannot be read, FormatError when it is not a
// 256-colour PCX image.
PcxImage LoadPcx(std::string_view name);
// LoadPcx of an image a bank names: a missing file is an IoError that names the bank too, so that
// the user knows which bank to mend.
PcxImage LoadBankPcx(std::string_view name, const std::string& bankPath);
// A bank image: LoadPcx of a 128 x 128 image only. Any other size is an ImageSizeError, found in
// the header before anything is decoded.
PcxImage LoadTexturePcx(std::string_view name);

// A picture whose sizes are not those a texture bank takes.
class ImageSizeError : public FormatError {
public:
    ImageSizeError(const std::string& name, int width, int height);
    int width;
    int height;
};

// Every pixel translated onto `target`: colour 0 stays 0, colours 1..255 become the nearest of
// target colours 1..lastColour. The image keeps the file's palette.
void RemapPcx(PcxImage& image, const PalettePlanes& target, int lastColour);
// LoadPcx, then RemapPcx onto target colours 1..254.
PcxImage LoadPcxRemapped(std::string_view name, const PalettePlanes& target);
