#include "SkinnerBank.h"

#include "BankFile.h"
#include "BankImageProblem.h"
#include "FatalError.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "Pcx.h"

#include <algorithm>
#include <optional>

namespace {

// A missing image ends the load with the library's fatal message; any other fault with the
// reader's message and what it was.
PcxImage readImage(const std::string& name)
{
    try {
        return LoadTexturePcx(name);
    } catch (const FatalError&) {
        throw;
    } catch (const OrmelError& error) {
        throw BankImageError(ClassifyImageError(name, error), error.what());
    }
}

} // namespace

SkinnerBankLoad LoadSkinnerBank(const std::string& bankPath, SkinnerBank& bank, BlendCacheUse cacheUse)
{
    if (!FileExists(ResolvePath(bankPath)))
        throw FatalError(bankPath);
    const BankFile file = ReadBankFile(bankPath, SkinnerBank::Capacity);

    // The new bank is built beside the old one and takes its place only when every image was read.
    std::vector<std::unique_ptr<TextureImage>> images(SkinnerBank::Capacity);
    PalettePlanes bankPalette = bank.bankPalette;
    PalettePlanes colourPalette = bank.colourPalette;
    ColourRemap colourRemap = bank.colourRemap;
    // The first and second image entries give the palettes whatever their index; one beyond the
    // slots is read for its palette only.
    const auto beyondSlots = [](const std::optional<BankImageEntry>& entry) {
        return entry && (entry->index < 0 || entry->index >= SkinnerBank::Capacity);
    };
    if (beyondSlots(file.paletteImage))
        bankPalette = LoadPcx(file.paletteImage->name).palette;
    if (beyondSlots(file.colourImage))
        colourPalette = LoadPcx(file.colourImage->name).palette;
    SkinnerBankLoad result;
    // Banks are mostly drawn with one palette: the translation of the last one is kept.
    std::optional<PalettePlanes> translatedFrom;
    ColourTranslation translation{};
    for (const BankImageEntry& entry : file.images) {
        PcxImage image = readImage(entry.name);
        if (entry.order == 0) {
            bankPalette = image.palette; // the first image keeps its own colours
        } else {
            if (entry.order == 1)
                colourPalette = image.palette;
            if (translatedFrom != image.palette) {
                translation = BuildTranslation(image.palette, bankPalette, 1, 254);
                translatedFrom = image.palette;
            }
            Translate(image.pixels, translation);
        }
        auto texture = std::make_unique<TextureImage>();
        std::copy(image.pixels.begin(), image.pixels.end(), texture->begin());
        images[static_cast<std::size_t>(entry.index)] = std::move(texture);
        ++result.imageCount;
    }
    // A bank with a single image leaves the flat colours as they were.
    if (file.colourImage)
        colourRemap = BuildColourRemap(bankPalette, colourPalette);

    bank.images.swap(images);
    bank.bankPalette = bankPalette;
    bank.colourPalette = colourPalette;
    bank.colourRemap = colourRemap;
    bank.lastTexture = 0;
    for (const BankTextureEntry& entry : file.textures) {
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
