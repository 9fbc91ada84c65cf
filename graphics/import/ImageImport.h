#pragma once
// Importing a picture of today's formats as a bank texture: read, fitted to 128 x 128, its colours
// matched to a bank's palette or given a palette of their own, written as a texture PCX. The
// texture bank editor's import and `k3x import-image` are thin calls on these.
#include "PictureFit.h"

#include <optional>
#include <string>

struct ImageImportOptions {
    TextureFit fit = TextureFit::Crop;
    bool dither = false;
    // The colours to match (colours 1..255). Without one, a palette of 255 colours is made for
    // the picture, colour 0 kept as the key.
    std::optional<PalettePlanes> palette;
};

struct ImportedTexture {
    TextureImage pixels{};
    PalettePlanes palette{};
};

// A picture read and fitted already, its colours matched as the options say.
ImportedTexture MatchPicture(const RgbaTexture& picture, const ImageImportOptions& options);
ImportedTexture ImportPicture(std::span<const std::uint8_t> file, const std::string& name,
                              const ImageImportOptions& options);
// The same from a file; IoError when it cannot be read.
ImportedTexture ImportPictureFile(const std::string& path, const ImageImportOptions& options);

// The palette to match: a bank (.def; the palette of its first image, the one that gives the bank
// its colours, the image names read against the current folder) or any 256-colour PCX image.
PalettePlanes LoadTargetPalette(const std::string& path);

// Writes the texture as an 8-bit 128 x 128 PCX with its palette, through the safe-write path.
void SaveTexturePcx(const std::string& path, const ImportedTexture& texture);
