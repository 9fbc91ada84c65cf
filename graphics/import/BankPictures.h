#pragma once
// Pictures put into a texture bank file without an editor (k3x bank, a model's textures): each
// read and matched to the bank's palette, or to one palette made from them all when the bank has
// none (written first, as slot 0's image, a picture of the palette itself); written as texture
// PCX files in a folder of the game, under names no file there or image of the bank has; each in
// the next free slot from 1 (up to 512, the texture bank editor's last) and its own still texture
// (the number of its slot when free, else the next free one). Image names and the folder are
// relative to the current folder, the project's, as the editors name them.
#include "BankFile.h"
#include "EditorBank.h"
#include "TextureBatch.h"

#include <string>
#include <vector>

// The texture bank editor's last image slot and texture number; a bank may name more, kept unseen.
constexpr std::int32_t LastEditorSlot = EditorBank::Capacity - 1;

struct BankPictureOptions {
    std::string folder; // as a bank names it ("TEXTURES"); empty: the bank palette image's folder, else TEXTURES
    TextureFit fit = TextureFit::Crop;
    bool dither = false;
};

struct AddedPicture {
    std::string picture; // as the source named it
    std::int32_t slot = 0;
    std::string image;   // the texture file's name in the bank
    std::int32_t texture = 0;
};

struct BankPictureResult {
    std::string paletteImage;          // the made palette's picture, when one was made
    std::vector<AddedPicture> added;   // in the order given
    std::vector<std::string> failures; // pictures not added, each message naming it
};

// "textures/walls/" -> "TEXTURES\WALLS", as a bank names a folder.
std::string BankFolderName(std::string folder);

// Adds the pictures to `bank` (read from `bankPath`, or a new one) and writes it to `bankPath`,
// deleting its blend cache when the palette is new. FormatError when no picture could be read
// (nothing is written then) or the folder cannot be named in a bank; IoError when a file cannot
// be written.
BankPictureResult AddPicturesToBank(const std::string& bankPath, BankFile bank,
                                    const std::vector<PictureSource>& pictures, const BankPictureOptions& options);
