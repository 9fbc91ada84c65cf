#pragma once
// Reading PCX pictures for the import (layout in PcxFormat.h): 256-colour images with their
// palette, and true-colour ones of three planes (a line holds its red bytes, then its green,
// then its blue, each plane `bytes per line` long; no palette follows). Unlike a bank image,
// colour 0 of a 256-colour picture is just its colour: only transparency makes the key.
#include "RgbaPicture.h"

#include <cstdint>
#include <span>
#include <string>

// A PCX file by its header: manufacturer 10, run-length encoding, 8 bits per plane.
bool LooksLikePcxPicture(std::span<const std::uint8_t> file);

// FormatError naming `name` when the file is no PCX picture of those kinds, is cut short or is
// larger than 64 million pixels.
RgbaPicture DecodePcxPicture(std::span<const std::uint8_t> file, const std::string& name);
