#pragma once
// The texture bank as the texture bank editor holds it: 513 named image slots and 513 animated
// textures, (-1, -1, -1) marking a texture that is not defined, and the lines of its file that
// the editor cannot show, kept to be written back unchanged.
#include "AnimTexture.h"
#include "BankFile.h"
#include "BankImageProblem.h"
#include "DisplayImage.h"
#include "Palette.h"
#include "TextureImage.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct BankImageSlot {
    std::string name;                    // relative to the start folder; empty: an empty slot
    std::unique_ptr<DisplayImage> image; // 128 x 128, rows in file order; none when unreadable
};

struct EditorBank {
    static constexpr int Capacity = 513;
    static constexpr AnimTexture Undefined{-1, -1, -1};

    std::array<BankImageSlot, Capacity> slots;
    std::array<AnimTexture, Capacity> textures;
    PalettePlanes bankPalette{};
    KeptBankLines kept;

    EditorBank() { textures.fill(Undefined); }
};

// Empties every slot, undefines every texture and forgets the kept lines; the palette stays.
void ClearBank(EditorBank& bank);

// One slot's image read from its file: with its own colours when `onto` is null (its palette in
// `palette`), else translated onto `onto` (colours 1..255). Either an image or a problem.
struct SlotImageRead {
    std::unique_ptr<DisplayImage> image;
    PalettePlanes palette{};
    std::optional<ImageProblem> problem;
};
SlotImageRead ReadSlotImage(const std::string& name, const PalettePlanes* onto);

// What a load could not read. Every entry is still in the bank (a slot keeps its name), so a
// later save loses nothing.
struct EditorBankLoad {
    std::vector<ImageProblem> problems; // in file order
};

// Reads the bank into `bank`, image names resolved against the current folder (the start
// folder). The file's first image entry gives the bank palette, whatever its index (the first
// image that can be read, when it cannot); the others are translated onto it (colours 1..255).
// Lines the bank cannot show go to `bank.kept`. A missing bank file throws FatalError and one
// that cannot be read IoError, leaving `bank` as it was.
EditorBankLoad LoadEditorBank(const std::string& bankPath, EditorBank& bank);

// Every named slot in slot order, then every texture whose first image is not -1, with the kept
// lines in their sections.
std::string EditorBankText(const EditorBank& bank);
// Writes the bank safely, then deletes its blend cache (the palette may have changed).
void SaveEditorBank(const std::string& bankPath, const EditorBank& bank);

// The bank has images but no texture: the skinning editor would draw none of them.
bool HasImagesButNoTexture(const EditorBank& bank);
