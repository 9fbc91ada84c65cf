#include "BankEditing.h"

#include "SafeWrite.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace {

bool inBank(std::int32_t index) { return index >= 0 && index < EditorBank::Capacity; }

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

void exchangeContent(EditorBank& bank, BankChange& change, EditorBankLoad& problems)
{
    for (SlotContent& slot : change.slots)
        std::swap(bank.slots[static_cast<std::size_t>(slot.slot)], slot.content);
    for (TextureValue& texture : change.textures)
        std::swap(bank.textures[static_cast<std::size_t>(texture.texture)], texture.value);
    if (!change.palette)
        return;
    std::swap(bank.bankPalette, change.palette->palette);
    std::swap(bank.kept.imagesFirst, change.palette->imagesFirst);
    const EditorBankLoad reloads = reloadOntoPalette(bank);
    problems.problems.insert(problems.problems.end(), reloads.problems.begin(), reloads.problems.end());
}

} // namespace

EditorBankLoad ExchangeBankChange(EditorBank& bank, BankChange& change)
{
    EditorBankLoad problems;
    const bool applying = !change.filesApplied;
    if (applying)
        for (const WrittenFile& file : change.files) {
            std::error_code ec;
            if (std::filesystem::exists(file.path, ec))
                continue;
            try {
                WriteFileAtomically(file.path, file.bytes);
            } catch (const OrmelError& error) {
                problems.problems.push_back({file.path, ImageFault::Unreadable, error.what()});
            }
        }
    change.filesApplied = applying;
    exchangeContent(bank, change, problems);
    if (!applying)
        for (const WrittenFile& file : change.files) {
            std::error_code ec;
            std::filesystem::remove(file.path, ec);
        }
    return problems;
}

SlotImagePreparation PrepareSlotImage(const EditorBank& bank, std::int32_t slot, const std::string& name)
{
    SlotImagePreparation result;
    if (!inBank(slot))
        return result;
    // The palette slot keeps its file's own colours, which become the bank's.
    SlotImageRead read = ReadSlotImage(name, slot == 0 ? nullptr : &bank.bankPalette);
    if (!read.image) {
        result.refused = read.problem;
        return result;
    }
    BankChange change;
    change.slots.push_back({slot, {name, std::move(read.image)}});
    if (slot == 0)
        change.palette = PaletteState{read.palette, 0};
    result.change = std::move(change);
    return result;
}

std::optional<BankChange> ClearSlotChange(const EditorBank& bank, std::int32_t slot)
{
    if (!inBank(slot))
        return std::nullopt;
    const BankImageSlot& now = bank.slots[static_cast<std::size_t>(slot)];
    if (now.name.empty() && !now.image)
        return std::nullopt;
    BankChange change;
    change.slots.push_back({slot, {}});
    return change;
}

std::optional<BankChange> TextureChange(const EditorBank& bank, std::int32_t texture, AnimTexture value)
{
    if (!inBank(texture) || bank.textures[static_cast<std::size_t>(texture)] == value)
        return std::nullopt;
    BankChange change;
    change.textures.push_back({texture, value});
    return change;
}

std::optional<NewTexture> MakeTextureChange(const EditorBank& bank, std::int32_t first, std::int32_t last)
{
    if (!inBank(first) || !inBank(last))
        return std::nullopt;
    const auto free = std::find_if(bank.textures.begin(), bank.textures.end(),
                                   [](const AnimTexture& texture) { return texture.first == -1; });
    if (free == bank.textures.end())
        return std::nullopt;
    NewTexture made;
    made.texture = static_cast<std::int32_t>(free - bank.textures.begin());
    made.change.textures.push_back({made.texture, {first, last, first}});
    return made;
}

SlotImageLoad LoadImageIntoSlot(EditorBank& bank, std::int32_t slot, const std::string& name)
{
    SlotImagePreparation prepared = PrepareSlotImage(bank, slot, name);
    SlotImageLoad result;
    result.refused = prepared.refused;
    if (!prepared.change)
        return result;
    result.loaded = true;
    result.reloads = ExchangeBankChange(bank, *prepared.change);
    return result;
}

void ClearSlot(EditorBank& bank, std::int32_t slot)
{
    if (std::optional<BankChange> change = ClearSlotChange(bank, slot))
        ExchangeBankChange(bank, *change);
}
