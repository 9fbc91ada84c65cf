#include "BankEditing.h"

#include "Errors.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "Pcx.h"

#include <memory>

namespace {

// A fresh 128 x 128 image holding the file's pixels: onto `target` when given, else with the
// file's own colours, its palette going into `ownPalette`. Nothing when the file is not a
// 128 x 128 256-colour PCX image.
std::unique_ptr<DisplayImage> readTexture(const std::string& name, const PalettePlanes* target,
                                          PalettePlanes* ownPalette)
{
    auto image = std::make_unique<DisplayImage>();
    CreateImage(*image, TextureSide, TextureSide);
    const std::span<std::uint8_t> pixels(image->pixels.data(), TexturePixels);
    try {
        const bool loaded = target ? LoadTexturePcxRemapped(name, pixels, *target)
                                   : LoadTexturePcx(name, pixels, *ownPalette);
        if (!loaded)
            return nullptr;
    } catch (const FormatError&) {
        return nullptr;
    }
    return image;
}

// Every named slot but 0 read again onto the bank's new palette.
EditorBankLoad reloadOntoPalette(EditorBank& bank)
{
    EditorBankLoad problems;
    for (int i = 1; i < EditorBank::Capacity; ++i) {
        BankImageSlot& slot = bank.slots[i];
        if (slot.name.empty())
            continue;
        // An image left on the old palette would show wrong colours: a slot that cannot be read
        // again loses its image (not its name) and is reported.
        slot.image.reset();
        if (!FileExists(ResolvePath(slot.name))) {
            problems.missingFiles.push_back(slot.name);
            continue;
        }
        try {
            slot.image = readTexture(slot.name, &bank.bankPalette, nullptr);
            if (!slot.image)
                problems.unreadImages.push_back(slot.name + ": not a 128 x 128 image");
        } catch (const OrmelError& error) {
            problems.unreadImages.push_back(error.what());
        }
    }
    return problems;
}

} // namespace

FrameColours ComputeFrameColours(const PalettePlanes& palette)
{
    return {NearestColour(palette, 255, 0, 0, 0, 255), NearestColour(palette, 255, 255, 255, 0, 255),
            NearestColour(palette, 0, 255, 0, 0, 255)};
}

SlotImageLoad LoadImageIntoSlot(EditorBank& bank, std::int32_t slot, const std::string& name)
{
    SlotImageLoad result;
    if (slot < 0 || slot >= EditorBank::Capacity)
        return result;
    if (slot != 0) {
        auto image = readTexture(name, &bank.bankPalette, nullptr);
        if (!image)
            return result;
        bank.slots[slot] = {name, std::move(image)};
        result.loaded = true;
        return result;
    }
    // The palette slot keeps its file's own colours, which become the bank's.
    PalettePlanes palette;
    auto image = readTexture(name, nullptr, &palette);
    if (!image)
        return result;
    bank.slots[0] = {name, std::move(image)};
    bank.bankPalette = palette;
    result.loaded = true;
    result.reloads = reloadOntoPalette(bank);
    return result;
}

void ClearSlot(EditorBank& bank, std::int32_t slot)
{
    if (slot < 0 || slot >= EditorBank::Capacity)
        return;
    bank.slots[slot].name.clear();
    bank.slots[slot].image.reset();
}
