#include "SkinnerBank.h"

#include "BankFile.h"
#include "Errors.h"
#include "FatalError.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "Pcx.h"

#include <algorithm>
#include <optional>

namespace {

std::unique_ptr<TextureImage> toTexture(const PcxImage& image, const std::string& name)
{
    if (image.width != TextureSide || image.height != TextureSide)
        throw FormatError(name + ": the image is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                          " pixels; bank images are 128 x 128");
    auto texture = std::make_unique<TextureImage>();
    std::copy(image.pixels.begin(), image.pixels.end(), texture->begin());
    return texture;
}

} // namespace

SkinnerBankLoad LoadSkinnerBank(const std::string& bankPath, SkinnerBank& bank, BlendCacheUse cacheUse)
{
    if (!FileExists(ResolvePath(bankPath)))
        throw FatalError(bankPath);
    const BankFile file = ReadBankFile(bankPath);

    // The new bank is built beside the old one and takes its place only when every image was read.
    std::vector<std::unique_ptr<TextureImage>> images(SkinnerBank::Capacity);
    PalettePlanes bankPalette = bank.bankPalette;
    PalettePlanes colourPalette = bank.colourPalette;
    ColourRemap colourRemap = bank.colourRemap;
    SkinnerBankLoad result;
    // Banks are mostly drawn with one palette: the translation of the last one is kept.
    std::optional<PalettePlanes> translatedFrom;
    ColourTranslation translation{};
    for (const BankImageEntry& entry : file.images) {
        if (entry.index < 0 || entry.index >= SkinnerBank::Capacity)
            continue;
        PcxImage image = LoadPcx(entry.name);
        if (result.imageCount == 0) {
            bankPalette = image.palette; // the first image keeps its own colours
        } else {
            if (result.imageCount == 1) {
                colourPalette = image.palette;
                colourRemap = BuildColourRemap(bankPalette, colourPalette);
            }
            if (translatedFrom != image.palette) {
                translation = BuildTranslation(image.palette, bankPalette, 1, 254);
                translatedFrom = image.palette;
            }
            Translate(image.pixels, translation);
        }
        images[entry.index] = toTexture(image, entry.name);
        ++result.imageCount;
    }

    bank.images.swap(images);
    bank.bankPalette = bankPalette;
    bank.colourPalette = colourPalette;
    bank.colourRemap = colourRemap;
    bank.lastTexture = 0;
    for (const BankTextureEntry& entry : file.textures) {
        if (entry.index < 0 || entry.index >= SkinnerBank::Capacity)
            continue;
        bank.textures[entry.index] = {entry.first, entry.last, entry.first};
        bank.lastTexture = std::max(bank.lastTexture, entry.index);
        ++result.textureCount;
    }
    // Filling the tables cannot fail: a cache that cannot be read is rebuilt, one that cannot be
    // written is reported in the result.
    result.cache = LoadOrBuildBlendTables(bankPath, bank.bankPalette, *bank.blendTables, cacheUse);
    return result;
}

void AnimateTextures(SkinnerBank& bank)
{
    const std::int32_t last = std::min(bank.lastTexture, SkinnerBank::Capacity - 1);
    for (std::int32_t t = 0; t <= last; ++t)
        StepTexture(bank.textures[t]);
}
