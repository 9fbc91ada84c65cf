#pragma once
// What the texture bank editor does to its bank, apart from any window: putting an image into a
// slot (slot 0 giving the whole bank its palette), emptying a slot, defining a texture. Image
// names are relative to the current folder, which the form keeps at the start folder while it
// loads.
//
// Every edit is a BankChange, so that undo can keep it: the change holds only what the edit
// changes (the slots it fills or empties, the textures it sets and, for a new palette slot, the
// bank palette) and is exchanged with the bank. The same exchange applies the edit and, done
// again, undoes it.
#include "EditorBank.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SlotContent {
    std::int32_t slot = 0;
    BankImageSlot content;
};

struct TextureValue {
    std::int32_t texture = 0;
    AnimTexture value;
};

// The palette that slot 0 gives, and how many kept lines are written before the slots: a new
// slot 0 is written first, since the first image of the file gives the palette.
struct PaletteState {
    PalettePlanes palette{};
    std::size_t imagesFirst = 0;
};

// A file an edit wrote (an imported texture), with its bytes, so that it can be taken back and
// written again.
struct WrittenFile {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

struct BankChange {
    std::vector<SlotContent> slots;
    std::vector<TextureValue> textures;
    std::optional<PaletteState> palette;
    // The files the edit wrote: taking the edit back removes them, so that an undone import
    // leaves no texture behind to ship with the game; applying it again writes them again.
    std::vector<WrittenFile> files;
    bool filesApplied = false; // the bank holds the edit that wrote them

    bool Empty() const { return slots.empty() && textures.empty() && !palette; }
};

// Exchanges the change with the bank: afterwards the bank holds what the change held, and the
// change what the bank held. A palette exchanged reads every other named slot again from its
// file onto the bank's new palette (the images are files on disk the bank names); the slots
// that cannot be read again keep their names without an image and are answered. The written
// files go with the edit: written (when missing) before it is applied, removed after it is
// taken back; one that cannot be written is answered as unreadable.
EditorBankLoad ExchangeBankChange(EditorBank& bank, BankChange& change);

// Image file `name` read for slot `slot` (0..512), as the change that puts it there. Any other
// slot is translated onto the bank palette (colours 1..255); slot 0 keeps its own colours, and
// its palette becomes the bank palette. Nothing when the image cannot be read (`refused` says
// why) or the slot is outside the bank.
struct SlotImagePreparation {
    std::optional<BankChange> change;
    std::optional<ImageProblem> refused;
};
SlotImagePreparation PrepareSlotImage(const EditorBank& bank, std::int32_t slot, const std::string& name);

// Emptying a slot (name and image); nothing when it is empty already.
std::optional<BankChange> ClearSlotChange(const EditorBank& bank, std::int32_t slot);
// Setting texture `texture` to `value`; nothing when it holds that already.
std::optional<BankChange> TextureChange(const EditorBank& bank, std::int32_t texture, AnimTexture value);

// A new texture on the run of slots `first` to `last` (one slot: a still texture), at the lowest
// number not defined yet, as a change; nothing when all 513 are defined or a slot is outside the
// bank.
struct NewTexture {
    std::int32_t texture = 0;
    BankChange change;
};
std::optional<NewTexture> MakeTextureChange(const EditorBank& bank, std::int32_t first, std::int32_t last);

struct SlotImageLoad {
    bool loaded = false;
    // Why the image could not be put into the slot, which kept its name and image.
    std::optional<ImageProblem> refused;
    // Slot 0 only: the slots whose files could not be read again onto the new palette. They keep
    // their names without an image, as after a bank load.
    EditorBankLoad reloads;
};

// PrepareSlotImage and its exchange at once, with no way back.
SlotImageLoad LoadImageIntoSlot(EditorBank& bank, std::int32_t slot, const std::string& name);

// Releases the slot's image and empties its name.
void ClearSlot(EditorBank& bank, std::int32_t slot);
