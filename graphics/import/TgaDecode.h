#pragma once
// Reading TGA pictures, which Qt's reader takes only when they end with the version 2 footer and
// are neither colour-mapped nor run-length encoded. Little-endian:
//
//   offset  size  field
//   0       1     length of the image id that follows the header
//   1       1     colour map type: 0 none, 1 present
//   2       1     image type: 1 colour-mapped, 2 true colour, 3 grey; 9, 10, 11 the same
//                 run-length encoded
//   3       2     first colour map entry
//   5       2     colour map length
//   7       1     colour map entry size in bits (15, 16, 24, 32)
//   8       4     x and y origin (unused)
//   12      2     width
//   14      2     height
//   16      1     bits per pixel (8, 15, 16, 24, 32)
//   17      1     bits 0-3: alpha bits; bit 4: rows right to left; bit 5: rows top first
//   18      ...   image id, colour map, then the pixels (blue, green, red, alpha), or for
//                 run-length types packets: a byte whose bit 7 says a run, (byte & 127) + 1
//                 pixels, then one pixel (a run) or that many pixels (raw)
#include "RgbaPicture.h"

#include <cstdint>
#include <span>
#include <string>

// Whether the header could be a TGA picture's of those kinds (TGA has no signature).
bool LooksLikeTga(std::span<const std::uint8_t> file);

// FormatError naming `name` when the file is not a TGA picture of those kinds, is cut short,
// larger than 16,384 pixels on a side or than 64 million pixels (256 MB) in all.
RgbaPicture DecodeTga(std::span<const std::uint8_t> file, const std::string& name);
