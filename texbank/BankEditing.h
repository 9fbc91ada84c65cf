#pragma once
// What the texture bank editor does to its bank, apart from any window: putting an image into a
// slot (slot 0 giving the whole bank its palette), emptying a slot, and the frame colours that
// mark slots in the grid. Image names are relative to the current folder, which the form keeps
// at the start folder while it loads.
#include "EditorBank.h"

#include <cstdint>
#include <optional>
#include <string>

// Frame colours: the bank colours nearest to red, white and green (any of the 256).
struct FrameColours {
    std::uint8_t red = 0;
    std::uint8_t white = 0;
    std::uint8_t green = 0;
};
FrameColours ComputeFrameColours(const PalettePlanes& palette);

struct SlotImageLoad {
    bool loaded = false;
    // Why the image could not be put into the slot, which kept its name and image.
    std::optional<ImageProblem> refused;
    // Slot 0 only: the slots whose files could not be read again onto the new palette. They keep
    // their names without an image, as after a bank load.
    EditorBankLoad reloads;
};

// Loads image file `name` into slot `slot` (0..512). Any other slot is translated onto the bank
// palette (colours 1..255). A new slot 0 keeps its own colours, its palette becomes the bank
// palette (written first from now on), and every other named slot is loaded again from its file
// onto it. The slot changes only when the image could be read.
SlotImageLoad LoadImageIntoSlot(EditorBank& bank, std::int32_t slot, const std::string& name);

// Releases the slot's image and empties its name.
void ClearSlot(EditorBank& bank, std::int32_t slot);
