#pragma once
// Reading a picture of any common format and fitting it to a texture's 128 x 128 pixels. Qt's
// image readers decode PNG, JPEG, BMP, GIF and WebP (with the extra formats plugin); PCX images
// go through the library's own reader, their colour 0 becoming see-through, and files named .tga
// through our TGA reader (Qt's takes only a few kinds).
#include "TextureQuantise.h"

#include <cstdint>
#include <span>
#include <string>

enum class TextureFit {
    Crop,    // the picture fills the square; what overhangs on the long side is cut off evenly
    Pad,     // the whole picture, centred, the rest see-through (colour 0)
    Stretch, // the whole picture squeezed to the square, whatever its aspect
};

// Decodes `file` (named `name` in messages) and scales it smoothly into the square. FormatError
// naming the file when it is not a picture of a known format, is damaged or has no pixels.
RgbaTexture FitPicture(std::span<const std::uint8_t> file, const std::string& name, TextureFit fit);
