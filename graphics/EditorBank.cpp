#include "EditorBank.h"

#include "BankFile.h"
#include "BlendCache.h"
#include "Errors.h"
#include "FatalError.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "Pcx.h"
#include "SafeWrite.h"

void ClearBank(EditorBank& bank)
{
    for (BankImageSlot& slot : bank.slots) {
        slot.name.clear();
        slot.image.reset();
    }
    bank.textures.fill(EditorBank::Undefined);
}

std::string EditorBankLoad::message() const
{
    std::string text;
    if (!missingFiles.empty()) {
        text = "These images of the bank are missing:";
        for (const std::string& name : missingFiles)
            text += "\n" + name;
    }
    if (!unreadImages.empty()) {
        if (!text.empty())
            text += "\n\n";
        text += "These images of the bank could not be read:";
        for (const std::string& problem : unreadImages)
            text += "\n" + problem;
    }
    return text;
}

EditorBankLoad LoadEditorBank(const std::string& bankPath, EditorBank& bank)
{
    if (!FileExists(ResolvePath(bankPath)))
        throw FatalError(bankPath);
    const BankFile file = ReadBankFile(bankPath);

    EditorBankLoad result;
    ClearBank(bank);
    bool havePalette = false;
    for (const BankImageEntry& entry : file.images) {
        if (entry.index < 0 || entry.index >= EditorBank::Capacity)
            continue;
        BankImageSlot& slot = bank.slots[entry.index];
        slot.name = entry.name;
        slot.image.reset();
        if (!FileExists(ResolvePath(entry.name))) {
            result.missingFiles.push_back(entry.name);
            continue;
        }
        auto image = std::make_unique<DisplayImage>();
        CreateImage(*image, TextureSide, TextureSide);
        const std::span<std::uint8_t> pixels(image->pixels.data(), TexturePixels);
        try {
            // The first image that can be read gives the palette; the others are translated onto it.
            const bool loaded = havePalette ? LoadTexturePcxRemapped(entry.name, pixels, bank.bankPalette)
                                            : LoadTexturePcx(entry.name, pixels, bank.bankPalette);
            if (!loaded)
                result.unreadImages.push_back(entry.name + ": not a 128 x 128 image");
            havePalette = havePalette || loaded;
        } catch (const OrmelError& error) {
            result.unreadImages.push_back(error.what());
        }
        // A slot whose file is not a usable image keeps an image of colour 0, as it had room for one.
        slot.image = std::move(image);
    }
    for (const BankTextureEntry& entry : file.textures) {
        if (entry.index >= 0 && entry.index < EditorBank::Capacity)
            bank.textures[entry.index] = {entry.first, entry.last, entry.first};
    }
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
    return FormatBank(images, textures);
}

void SaveEditorBank(const std::string& bankPath, const EditorBank& bank)
{
    WriteFileAtomically(ResolvePath(bankPath), EditorBankText(bank));
    DeleteBlendCache(bankPath);
}
