#pragma once
// The texture bank as the texture bank editor holds it: 513 named image slots and 513 animated
// textures, (-1, -1, -1) marking a texture that is not defined.
#include "AnimTexture.h"
#include "DisplayImage.h"
#include "Palette.h"
#include "TextureImage.h"

#include <array>
#include <memory>
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

    EditorBank() { textures.fill(Undefined); }
};

// Empties every slot and undefines every texture; the palette stays.
void ClearBank(EditorBank& bank);

// What a load could not read. Every entry is still in the bank (a slot keeps its name), so a
// later save loses nothing.
struct EditorBankLoad {
    std::vector<std::string> missingFiles;
    std::vector<std::string> unreadImages; // "NAME: reason"
    // One message naming every file not read; empty when all were.
    std::string message() const;
};

// Reads the bank into `bank`, image names resolved against the current folder (the start
// folder). The first image read gives the bank palette; the others are translated onto it
// (colours 1..255). A missing bank file throws FatalError and leaves `bank` as it was.
EditorBankLoad LoadEditorBank(const std::string& bankPath, EditorBank& bank);

// Every named slot in slot order, then every texture whose first image is not -1.
std::string EditorBankText(const EditorBank& bank);
// Writes the bank safely, then deletes its blend cache (the palette may have changed).
void SaveEditorBank(const std::string& bankPath, const EditorBank& bank);
