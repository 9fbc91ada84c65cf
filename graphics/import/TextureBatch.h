#pragma once
// Many pictures made into textures on one palette, as a bank wants them: each read and fitted
// (side by side on a few threads), then one palette for all of them, the bank's own or one made
// from all the pictures together (colour 0 kept as the key), and every picture matched to it.
#include "PictureFit.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct BatchPicture {
    std::string file;
    std::shared_ptr<const RgbaTexture> fitted; // null when it could not be read
    std::string failure;                       // why not, naming the file
    TextureImage pixels{};                     // after MatchBatch
};

// A picture to read: a file, or a picture file's bytes held in memory (a texture inside a model)
// going by `name`.
struct PictureSource {
    std::string name;
    std::optional<std::vector<std::uint8_t>> bytes;
};

// Reads and fits every picture. `done`, when given, counts the pictures read; a set `stop` leaves
// the rest unread (and without a failure).
std::vector<BatchPicture> ReadBatch(const std::vector<PictureSource>& sources, TextureFit fit,
                                    const std::atomic<bool>& stop, std::atomic<int>* done = nullptr);
std::vector<BatchPicture> ReadBatch(const std::vector<std::string>& files, TextureFit fit,
                                    const std::atomic<bool>& stop, std::atomic<int>* done = nullptr);

struct BatchPalette {
    PalettePlanes palette{};
    int last = 255;    // colours 1..last are drawn with
    bool made = false; // made from the pictures, there being no palette given
};
BatchPalette PaletteForBatch(const std::vector<BatchPicture>& pictures, const std::optional<PalettePlanes>& given);

// Every picture read matched to the palette (colours 1..last; 0 where it is see-through).
void MatchBatch(std::vector<BatchPicture>& pictures, const BatchPalette& palette, bool dither);

// Letters a to z in capitals, as the bank reader gives names back.
std::string BankCapitals(std::string text);

// The names, in capitals, that a new texture in `folder` (as a bank names it, "TEXTURES"; empty:
// the bank's own folder) may not take: the files in that folder, `onDisk`, whatever their case,
// and the images the bank names already (`bankNames`; empty ones are empty slots).
std::vector<std::string> TakenTextureNames(const std::string& folder, const std::filesystem::path& onDisk,
                                           const std::vector<std::string>& bankNames);

// The name a texture made from `picture` takes in `folder` (as a bank names it, "TEXTURES"; empty:
// the bank's own folder) when `taken` (upper-case names) holds those in use: the picture's name in
// capitals with ".PCX", then "_2", "_3" ... added.
std::string TextureNameFor(const std::string& folder, const std::filesystem::path& picture,
                           const std::vector<std::string>& taken);
