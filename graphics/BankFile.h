#pragma once
// The texture bank text file (.def):
//
//   any lines, skipped
//   #images                  the images header
//   0=TEXTURES\PALETTE.PCX   image lines: slot index "=" file name (relative to the start folder)
//   ...
//   #textures                the textures header
//   5=3--1                   texture lines: texture index "=" first image "-" last image (may be
//   ...                      negative) to the end of the file
//
// Every line is read through NormaliseLine (first 255 characters, no blanks, letters in
// capitals), so headers are found whatever their case or blanks and names come back in capitals.
// Lines empty after that are ignored. The writer ends lines with CR LF.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct BankImageEntry {
    std::int32_t index = 0;
    std::string name;
};

struct BankTextureEntry {
    std::int32_t index = 0;
    std::int32_t first = 0;
    std::int32_t last = 0;
};

struct BankFile {
    bool hasImagesHeader = false;
    bool hasTexturesHeader = false;
    std::vector<BankImageEntry> images;     // in file order; a later entry of an index wins
    std::vector<BankTextureEntry> textures; // in file order
    int skippedLines = 0;                   // lines without "=" (or "-"), or with a bad number
};

BankFile ParseBank(std::string_view text);
// The bank file as text; IoError naming it when it cannot be read.
BankFile ReadBankFile(const std::string& path);

// The writer: "#images", the image lines, "#textures", the texture lines, in the order given.
std::string FormatBank(std::span<const BankImageEntry> images, std::span<const BankTextureEntry> textures);
