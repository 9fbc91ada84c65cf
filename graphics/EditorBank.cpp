#include "EditorBank.h"

#include "BlendCache.h"
#include "Errors.h"
#include "FatalError.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "Pcx.h"

#include <algorithm>

void ClearBank(EditorBank& bank)
{
    for (BankImageSlot& slot : bank.slots) {
        slot.name.clear();
        slot.image.reset();
    }
    bank.textures.fill(EditorBank::Undefined);
    bank.kept = {};
}

SlotImageRead ReadSlotImage(const std::string& name, const PalettePlanes* onto)
{
    SlotImageRead read;
    PcxImage pcx;
    try {
        pcx = LoadTexturePcx(name);
    } catch (const OrmelError& error) {
        read.problem = ClassifyImageError(name, error);
        return read;
    }
    if (onto)
        RemapPcx(pcx, *onto, 255);
    read.palette = pcx.palette;
    read.image = std::make_unique<DisplayImage>();
    CreateImage(*read.image, TextureSide, TextureSide);
    std::copy(pcx.pixels.begin(), pcx.pixels.end(), read.image->pixels.begin());
    return read;
}

EditorBankLoad LoadEditorBank(const std::string& bankPath, EditorBank& bank)
{
    if (!FileExists(ResolvePath(bankPath)))
        throw FatalError(bankPath);
    const BankFile file = ReadBankFile(bankPath, EditorBank::Capacity);

    EditorBankLoad result;
    ClearBank(bank);
    bank.kept = file.kept;
    bool havePalette = false;
    // A palette image beyond the slots is read for its palette only.
    if (file.paletteImage && file.kept.imagesFirst > 0) {
        SlotImageRead read = ReadSlotImage(file.paletteImage->name, nullptr);
        if (read.image) {
            bank.bankPalette = read.palette;
            havePalette = true;
        } else {
            result.problems.push_back(*read.problem);
        }
    }
    for (const BankImageEntry& entry : file.images) {
        BankImageSlot& slot = bank.slots[static_cast<std::size_t>(entry.index)];
        slot.name = entry.name;
        // The first image that can be read gives the palette; the others are translated onto it.
        SlotImageRead read = ReadSlotImage(entry.name, havePalette ? &bank.bankPalette : nullptr);
        if (read.problem)
            result.problems.push_back(*read.problem);
        if (read.image && !havePalette) {
            bank.bankPalette = read.palette;
            havePalette = true;
        }
        slot.image = std::move(read.image);
    }
    for (const BankTextureEntry& entry : file.textures)
        bank.textures[static_cast<std::size_t>(entry.index)] = {entry.first, entry.last, entry.first};
    return result;
}

std::string EditorBankText(const EditorBank& bank)
{
    std::vector<BankImageEntry> images;
    for (int i = 0; i < EditorBank::Capacity; ++i) {
        if (!bank.slots[i].name.empty())
            images.push_back({i, bank.slots[i].name});
    }
    std::vector<BankTextureEntry> textures;
    for (int t = 0; t < EditorBank::Capacity; ++t) {
        if (bank.textures[t].first != -1)
            textures.push_back({t, bank.textures[t].first, bank.textures[t].last});
    }
    return FormatBank(images, textures, bank.kept);
}

void SaveEditorBank(const std::string& bankPath, const EditorBank& bank)
{
    WriteBankFile(bankPath, EditorBankText(bank));
    DeleteBlendCache(bankPath);
}

bool HasImagesButNoTexture(const EditorBank& bank)
{
    const auto named = [](const BankImageSlot& slot) { return !slot.name.empty(); };
    const auto defined = [](const AnimTexture& texture) { return texture.first != -1; };
    return std::any_of(bank.slots.begin(), bank.slots.end(), named) &&
           std::none_of(bank.textures.begin(), bank.textures.end(), defined);
}
