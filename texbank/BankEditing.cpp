#include "BankEditing.h"

namespace {

// Every named slot but 0 read again onto the bank's new palette. An image left on the old
// palette would show wrong colours: a slot that cannot be read again loses its image (not its
// name) and is reported.
EditorBankLoad reloadOntoPalette(EditorBank& bank)
{
    EditorBankLoad problems;
    for (int i = 1; i < EditorBank::Capacity; ++i) {
        BankImageSlot& slot = bank.slots[i];
        if (slot.name.empty())
            continue;
        SlotImageRead read = ReadSlotImage(slot.name, &bank.bankPalette);
        if (read.problem)
            problems.problems.push_back(*read.problem);
        slot.image = std::move(read.image);
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
    // The palette slot keeps its file's own colours, which become the bank's.
    SlotImageRead read = ReadSlotImage(name, slot == 0 ? nullptr : &bank.bankPalette);
    if (!read.image) {
        result.refused = read.problem;
        return result;
    }
    bank.slots[static_cast<std::size_t>(slot)] = {name, std::move(read.image)};
    result.loaded = true;
    if (slot == 0) {
        bank.bankPalette = read.palette;
        bank.kept.imagesFirst = 0; // slot 0 is written first and gives the palette
        result.reloads = reloadOntoPalette(bank);
    }
    return result;
}

void ClearSlot(EditorBank& bank, std::int32_t slot)
{
    if (slot < 0 || slot >= EditorBank::Capacity)
        return;
    bank.slots[static_cast<std::size_t>(slot)].name.clear();
    bank.slots[static_cast<std::size_t>(slot)].image.reset();
}
