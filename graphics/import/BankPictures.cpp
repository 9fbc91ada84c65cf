#include "BankPictures.h"

#include "BlendCache.h"
#include "Errors.h"
#include "FileResolver.h"
#include "ImageWriters.h"
#include "Pcx.h"
#include "SafeWrite.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

// The folder of a bank image name ("TEXTURES\A.PCX" -> "TEXTURES").
std::string folderOf(const std::string& name)
{
    const std::size_t cut = name.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : name.substr(0, cut);
}

// The pictures read and fitted; those that could not be are said in `failures`.
std::vector<BatchPicture> readPictures(const std::vector<PictureSource>& pictures, TextureFit fit,
                                       std::vector<std::string>& failures)
{
    const std::atomic<bool> never = false;
    std::vector<BatchPicture> read;
    for (BatchPicture& picture : ReadBatch(pictures, fit, never)) {
        if (picture.fitted)
            read.push_back(std::move(picture));
        else
            failures.push_back(picture.failure);
    }
    return read;
}

} // namespace

std::string BankFolderName(std::string folder)
{
    std::replace(folder.begin(), folder.end(), '/', '\\');
    while (folder.rfind(".\\", 0) == 0)
        folder.erase(0, 2);
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    if (folder == ".")
        folder.clear();
    return BankCapitals(folder);
}

BankPictureResult AddPicturesToBank(const std::string& bankPath, BankFile bank,
                                    const std::vector<PictureSource>& pictures, const BankPictureOptions& options)
{
    const std::string folder = BankFolderName(
        !options.folder.empty() ? options.folder : bank.paletteImage ? folderOf(bank.paletteImage->name) : "TEXTURES");
    if (CheckBankImageName(folder + "\\A.PCX") != BankNameProblem::None)
        throw FormatError("a bank cannot name the folder " + folder + " (a blank or a character outside Windows-1252)");

    BankPictureResult result;
    std::vector<BatchPicture> good = readPictures(pictures, options.fit, result.failures);
    if (good.empty())
        throw FormatError("no picture could be read; " + bankPath + " is left as it was");
    std::optional<PalettePlanes> given;
    if (bank.paletteImage)
        given = LoadBankPcx(bank.paletteImage->name, bankPath).palette;
    const BatchPalette palette = PaletteForBatch(good, given);
    MatchBatch(good, palette, options.dither);

    const std::filesystem::path onDisk = ResolvePath(folder);
    std::filesystem::create_directories(onDisk);
    std::vector<std::string> names;
    for (const BankImageEntry& image : bank.images)
        names.push_back(image.name);
    std::vector<std::string> taken = TakenTextureNames(folder, onDisk, names);
    std::set<std::int32_t> slots = bank.ImageSlots(), textures = bank.TextureNumbers();
    auto writeTexture = [&](const std::filesystem::path& picture, const TextureImage& pixels) {
        const std::string name = TextureNameFor(folder, picture.filename(), taken);
        if (CheckBankImageName(name) != BankNameProblem::None)
            throw FormatError(picture.string() + ": a bank cannot keep the name " + name);
        taken.push_back(BankCapitals(name));
        WriteFileAtomically(onDisk / name.substr(name.find_last_of('\\') + 1),
                            EncodePcx(TextureSide, TextureSide, pixels, palette.palette));
        return name;
    };

    if (palette.made) { // the palette's picture comes first in the file: it gives the bank its colours
        result.paletteImage = writeTexture("PALETTE", PaletteSwatches());
        bank.images.insert(bank.images.begin(), BankImageEntry{0, result.paletteImage, 0});
        slots.insert(0);
    }
    std::int32_t slot = 1;
    for (const BatchPicture& picture : good) {
        while (slots.count(slot))
            ++slot;
        if (slot > LastEditorSlot) {
            result.failures.push_back(picture.file + ": no free slot up to " + std::to_string(LastEditorSlot));
            continue;
        }
        AddedPicture added{picture.file, slot, writeTexture(picture.file, picture.pixels), slot};
        while (textures.count(added.texture))
            ++added.texture;
        bank.images.push_back({slot, added.image, static_cast<std::int32_t>(bank.images.size())});
        bank.textures.push_back({added.texture, slot, slot});
        slots.insert(slot);
        textures.insert(added.texture);
        result.added.push_back(added);
    }
    std::sort(bank.textures.begin(), bank.textures.end(),
              [](const BankTextureEntry& a, const BankTextureEntry& b) { return a.index < b.index; });
    WriteBankFile(bankPath, FormatBank(bank.images, bank.textures, bank.kept));
    if (palette.made)
        DeleteBlendCache(bankPath); // built again from the new palette
    return result;
}
