// Texture banks (.def) through both of their readers: the texture bank editor's, which keeps every
// entry and names the files it could not read, and the skinning editor's, which takes a bank only
// when all of its images were read. The folder holds a few images the banks may name (the demo
// bank's first ones, a wrong size, a broken file) and a blend cache, so loads get to the end.
#include "BankFile.h"
#include "EditorBank.h"
#include "Errors.h"
#include "FuzzSupport.h"
#include "ImageWriters.h"
#include "SafeWrite.h"
#include "SkinnerBank.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

void writeImage(const std::string& name, int side, unsigned seed, std::size_t keepBytes = SIZE_MAX)
{
    PalettePlanes palette;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side);
    for (int i = 0; i < 256; ++i) {
        palette.red[i] = static_cast<std::uint8_t>(i * seed);
        palette.green[i] = static_cast<std::uint8_t>(i + seed);
        palette.blue[i] = static_cast<std::uint8_t>(255 - i);
    }
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * seed / 7);
    std::vector<std::uint8_t> file = EncodePcx(side, side, pixels, palette);
    file.resize(std::min(keepBytes, file.size()));
    WriteFileAtomically(name, file);
}

void prepareFolder()
{
    std::filesystem::create_directories("TEXTURES");
    writeImage("TEXTURES/PALETTE.PCX", 128, 3);
    writeImage("TEXTURES/COLOURS.PCX", 128, 5);
    writeImage("TEXTURES/bricks.pcx", 128, 11);
    writeImage("TEXTURES/SMALL.PCX", 16, 2);
    writeImage("TEXTURES/BROKEN.PCX", 128, 13, 3000);
    WriteFileAtomically("FUZZ.POT", std::vector<std::uint8_t>(BlendTables::Size, 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool prepared = (FuzzFolder("def"), prepareFolder(), true);
    static const auto editorBank = std::make_unique<EditorBank>();
    static const auto skinnerBank = std::make_unique<SkinnerBank>();
    (void)prepared;
    WriteFileAtomically("FUZZ.DEF", std::span<const std::uint8_t>(data, size));

    // The editor keeps every entry it can hold, and what it would save reads back the same.
    try {
        LoadEditorBank("FUZZ.DEF", *editorBank);
    } catch (const OrmelError&) {
        return 0;
    }
    const std::string saved = EditorBankText(*editorBank);
    const BankFile reread = ParseBank(saved, EditorBank::Capacity);
    FuzzCheck(FormatBank(reread.images, reread.textures, reread.kept) == saved);
    for (AnimTexture& texture : editorBank->textures)
        for (int tick = 0; tick < 3; ++tick)
            StepTexture(texture);

    try {
        LoadSkinnerBank("FUZZ.DEF", *skinnerBank);
    } catch (const OrmelError&) {
        return 0;
    }
    for (int tick = 0; tick < 3; ++tick)
        AnimateTextures(*skinnerBank);
    return 0;
}
