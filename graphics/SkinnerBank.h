#pragma once
// The texture bank as the 3D object skinning editor holds it, with the colour tables its renderer
// draws from: the part of the render context that a bank load fills. The context holds one for
// the whole program; the big tables are allocated once with it and reused by every load.
#include "AnimTexture.h"
#include "BlendCache.h"
#include "ColourTables.h"
#include "Palette.h"
#include "TextureImage.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SkinnerBank {
    static constexpr int Capacity = 32768;

    // Null where a slot holds no image.
    std::vector<std::unique_ptr<TextureImage>> images = std::vector<std::unique_ptr<TextureImage>>(Capacity);
    // (0, 0, 0) until a bank sets them.
    std::vector<AnimTexture> textures = std::vector<AnimTexture>(Capacity);
    std::int32_t lastTexture = 0; // highest texture index of the last bank loaded
    PalettePlanes bankPalette{};  // from the bank's first image
    std::unique_ptr<ShadeTable> shadeTable = std::make_unique<ShadeTable>();
    std::unique_ptr<BlendTables> blendTables = std::make_unique<BlendTables>();
    PalettePlanes colourPalette{}; // flat face colours, from the bank's second image
    ColourRemap colourRemap{};     // colourPalette onto bankPalette

    // The pixels of image n, or null when n is outside the bank or its slot is empty: a texture's
    // run may name images the bank does not hold.
    const std::uint8_t* image(std::int32_t n) const
    {
        return n >= 0 && n < Capacity && images[n] ? images[n]->data() : nullptr;
    }
};

struct SkinnerBankLoad {
    int imageCount = 0;
    int textureCount = 0;
    BlendCacheResult cache;
};

// Loads the bank: every image of slots 0..32,767 (names resolved against the current folder, the
// start folder) into a 128 x 128 block; the palette of the file's first image entry as
// bankPalette and of its second as colourPalette, with colourRemap built from it, whatever their
// index; the other images translated onto bankPalette (colours 1..254); the
// textures, then the blend tables from the cache beside the bank or built and cached. Textures the
// file does not list keep their entries. The shade table is the caller's to build.
//
// Everything is read before anything changes: a missing bank or image file throws FatalError
// naming it, an unreadable one IoError or FormatError (ImageSizeError for a picture that is not
// 128 x 128), and `bank` stays as it was.
SkinnerBankLoad LoadSkinnerBank(const std::string& bankPath, SkinnerBank& bank,
                                BlendCacheUse cacheUse = BlendCacheUse::ReadOrBuild);

// The timer's step: every texture 0..lastTexture moves on by one image.
void AnimateTextures(SkinnerBank& bank);
