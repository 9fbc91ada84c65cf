#pragma once
// Reading a picture of any common format and fitting it to a texture's 128 x 128 pixels. The
// format is told by the content, never the name: Qt's image readers decode PNG, JPEG, BMP, GIF
// and WebP (with the extra formats plugin), our own readers PCX (256 colours or true colour) and
// TGA (Qt's takes only a few kinds). Large pictures are read within a memory budget (JPEG at a
// reduced size); a picture over it is refused with its size.
#include "TextureQuantise.h"

#include <cstdint>
#include <span>
#include <string>

enum class TextureFit {
    Crop,    // the picture fills the square; what overhangs on the long side is cut off evenly
    Pad,     // the whole picture, centred, the rest see-through (colour 0)
    Stretch, // the whole picture squeezed to the square, whatever its aspect
};

// Decodes `file` (named `name` in messages), turns it upright by its own orientation (EXIF) and
// scales it smoothly into the square. FormatError naming the file when it is not a picture of a
// known format, is damaged or cut short, has no pixels, or cannot be held in memory.
RgbaTexture FitPicture(std::span<const std::uint8_t> file, const std::string& name, TextureFit fit);
