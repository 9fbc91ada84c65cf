// k3x bank new|add|list|remove|texture: a texture bank made and changed from scripts, without
// writing its .def by hand. Image names are relative to the current folder, the project's, as
// the editors name them.
//
//   new BANK.def PICTURE... [--folder F] [--fit crop|pad|stretch] [--dither]
//       one palette made from all the pictures together, written as slot 0's image; each
//       picture a texture PCX in F on it, in slots 1, 2 ..., each its own still texture
//   add BANK.def PICTURE... [--folder F] [--fit ...] [--dither]
//       the same onto the bank's palette, into its free slots (a bank without images gets a
//       palette made as by new)
//   list BANK.def                 the image slots and the textures, one a line
//   remove BANK.def SLOT...       the image lines of those slots (their files stay)
//   texture BANK.def FIRST LAST [--index T]   a texture running from image FIRST to LAST
#include "K3xCommand.h"

#include "BankFile.h"
#include "BlendCache.h"
#include "FileResolver.h"
#include "ImageImport.h"
#include "ImageWriters.h"
#include "K3xFiles.h"
#include "Pcx.h"
#include "SafeWrite.h"
#include "TextureBatch.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

namespace {

constexpr std::int32_t LastEditorSlot = 512; // the texture bank editor shows slots 0 to 512

TextureFit parseFit(const std::string& text)
{
    if (text == "crop")
        return TextureFit::Crop;
    if (text == "pad")
        return TextureFit::Pad;
    if (text == "stretch")
        return TextureFit::Stretch;
    throw UsageError("--fit takes crop, pad or stretch, not " + text);
}

std::int32_t wholeNumber(const std::string& text, const char* what)
{
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw UsageError(std::string(what) + " takes a whole number, not " + text);
    return value;
}

// "textures/walls/" -> "TEXTURES\WALLS", as a bank names a folder.
std::string bankFolder(std::string folder)
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

// The folder of a bank image name ("TEXTURES\A.PCX" -> "TEXTURES").
std::string folderOf(const std::string& name)
{
    const std::size_t cut = name.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : name.substr(0, cut);
}

void writeBank(const std::string& path, const BankFile& bank)
{
    WriteBankFile(path, FormatBank(bank.images, bank.textures, bank.kept));
}

std::set<std::int32_t> textureNumbers(const BankFile& bank)
{
    std::set<std::int32_t> used;
    for (const BankTextureEntry& texture : bank.textures)
        used.insert(texture.index);
    return used;
}

// Pictures into the bank: read, matched to its palette (or to one made from them all when it has
// none, written as slot 0's image), written as texture PCX files in `folder`, each in the next
// free slot from 1 and its own still texture.
int addPictures(const std::string& bankPath, BankFile bank, const std::vector<std::string>& pictures,
                const K3xArgs& args)
{
    const TextureFit fit = parseFit(args.option("fit", "crop"));
    const std::string folder =
        bankFolder(args.option("folder", bank.paletteImage ? folderOf(bank.paletteImage->name) : "TEXTURES"));
    if (CheckBankImageName(folder + "\\A.PCX") != BankNameProblem::None)
        throw UsageError("a bank cannot name the folder " + folder + " (a blank or a character outside Windows-1252)");

    const std::atomic<bool> never = false;
    std::vector<BatchPicture> read = ReadBatch(pictures, fit, never);
    std::optional<PalettePlanes> given;
    if (bank.paletteImage)
        given = LoadBankPcx(bank.paletteImage->name, bankPath).palette;
    std::vector<BatchPicture> good;
    int failed = 0;
    for (BatchPicture& picture : read) {
        if (picture.fitted) {
            good.push_back(std::move(picture));
            continue;
        }
        std::fprintf(stderr, "k3x bank: %s\n", picture.failure.c_str());
        ++failed;
    }
    if (good.empty())
        throw FormatError("no picture could be read; the bank is left as it was");
    const BatchPalette palette = PaletteForBatch(good, given);
    MatchBatch(good, palette, args.has("dither"));

    const std::filesystem::path onDisk = ResolvePath(folder);
    std::filesystem::create_directories(onDisk);
    std::vector<std::string> taken;
    std::set<std::int32_t> slots;
    for (const BankImageEntry& image : bank.images) {
        taken.push_back(BankCapitals(image.name));
        slots.insert(image.index);
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(onDisk, ec))
        taken.push_back(BankCapitals((folder.empty() ? "" : folder + "\\") + entry.path().filename().string()));
    auto writeTexture = [&](const std::filesystem::path& picture, const TextureImage& pixels) {
        const std::string name = TextureNameFor(folder, picture, taken);
        if (CheckBankImageName(name) != BankNameProblem::None)
            throw FormatError(picture.string() + ": a bank cannot keep the name " + name);
        taken.push_back(BankCapitals(name));
        WriteFileAtomically(onDisk / name.substr(name.find_last_of('\\') + 1),
                            EncodePcx(TextureSide, TextureSide, pixels, palette.palette));
        return name;
    };

    if (palette.made) { // the palette's own picture comes first in the file: it gives the bank its colours
        const std::string name = writeTexture("PALETTE", PaletteSwatches());
        bank.images.insert(bank.images.begin(), BankImageEntry{0, name, 0});
        slots.insert(0);
        std::printf("slot 0: %s (the palette made from %zu pictures)\n", name.c_str(), good.size());
    }
    std::set<std::int32_t> textures = textureNumbers(bank);
    std::int32_t slot = 1;
    for (const BatchPicture& picture : good) {
        while (slots.count(slot))
            ++slot;
        if (slot > LastEditorSlot) {
            std::fprintf(stderr, "k3x bank: %s: no free slot up to %d\n", picture.file.c_str(), LastEditorSlot);
            ++failed;
            continue;
        }
        const std::string name = writeTexture(picture.file, picture.pixels);
        bank.images.push_back({slot, name, static_cast<std::int32_t>(bank.images.size())});
        slots.insert(slot);
        std::int32_t number = slot;
        while (textures.count(number))
            ++number;
        textures.insert(number);
        bank.textures.push_back({number, slot, slot});
        std::printf("slot %d: %s from %s, texture %d\n", slot, name.c_str(), picture.file.c_str(), number);
        ++slot;
    }
    std::sort(bank.textures.begin(), bank.textures.end(),
              [](const BankTextureEntry& a, const BankTextureEntry& b) { return a.index < b.index; });
    writeBank(bankPath, bank);
    if (palette.made)
        DeleteBlendCache(bankPath); // built again from the new palette
    return failed > 0 ? 1 : 0;
}

int bankNew(const K3xArgs& args)
{
    const std::string& path = args.positional[1];
    if (std::filesystem::exists(ResolvePath(path)))
        throw UsageError(path + " exists already; k3x bank add puts pictures into it");
    if (args.positional.size() < 3)
        throw UsageError("bank new needs the bank and at least one picture");
    BankFile bank;
    bank.hasImagesHeader = bank.hasTexturesHeader = true;
    return addPictures(path, bank, {args.positional.begin() + 2, args.positional.end()}, args);
}

int bankAdd(const K3xArgs& args)
{
    if (args.positional.size() < 3)
        throw UsageError("bank add needs the bank and at least one picture");
    const std::string& path = args.positional[1];
    return addPictures(path, ReadTextureBank(path), {args.positional.begin() + 2, args.positional.end()}, args);
}

int bankList(const K3xArgs& args)
{
    args.expectPositional(2);
    const BankFile bank = ReadTextureBank(args.positional[1]);
    for (const BankImageEntry& image : bank.images)
        std::printf("image %d %s\n", image.index, image.name.c_str());
    for (const BankTextureEntry& texture : bank.textures)
        std::printf("texture %d %d %d\n", texture.index, texture.first, texture.last);
    return 0;
}

int bankRemove(const K3xArgs& args)
{
    if (args.positional.size() < 3)
        throw UsageError("bank remove needs the bank and at least one slot");
    const std::string& path = args.positional[1];
    BankFile bank = ReadTextureBank(path);
    std::set<std::int32_t> removed;
    for (std::size_t i = 2; i < args.positional.size(); ++i)
        removed.insert(wholeNumber(args.positional[i], "a slot"));
    const std::optional<BankImageEntry> palette = bank.paletteImage;
    const auto gone = std::remove_if(bank.images.begin(), bank.images.end(), [&](const BankImageEntry& image) {
        if (!removed.count(image.index))
            return false;
        std::printf("slot %d: %s left out (the file stays)\n", image.index, image.name.c_str());
        return true;
    });
    if (gone == bank.images.end())
        throw FormatError(path + ": the bank has no image in those slots");
    bank.images.erase(gone, bank.images.end());
    for (const BankTextureEntry& texture : bank.textures)
        if (removed.count(texture.first) || removed.count(texture.last))
            std::fprintf(stderr, "k3x bank: warning: texture %d (%d to %d) shows a slot left out\n", texture.index,
                         texture.first, texture.last);
    writeBank(path, bank);
    if (palette && removed.count(palette->index))
        DeleteBlendCache(path); // another image gives the palette now
    return 0;
}

int bankTexture(const K3xArgs& args)
{
    args.expectPositional(4);
    const std::string& path = args.positional[1];
    BankFile bank = ReadTextureBank(path);
    const std::int32_t first = wholeNumber(args.positional[2], "FIRST");
    const std::int32_t last = wholeNumber(args.positional[3], "LAST");
    std::set<std::int32_t> slots;
    for (const BankImageEntry& image : bank.images)
        slots.insert(image.index);
    for (const std::int32_t slot : {first, last})
        if (!slots.count(slot))
            throw FormatError(path + ": the bank has no image in slot " + std::to_string(slot));
    const std::set<std::int32_t> used = textureNumbers(bank);
    std::int32_t number = 0;
    if (args.has("index")) {
        const long long index = args.number("index", 0);
        if (index < 0 || index > LastEditorSlot)
            throw UsageError("--index takes a texture number from 0 to 512, not " + std::to_string(index));
        number = static_cast<std::int32_t>(index);
    } else {
        while (used.count(number))
            ++number;
    }
    std::erase_if(bank.textures, [number](const BankTextureEntry& t) { return t.index == number; });
    bank.textures.push_back({number, first, last});
    std::sort(bank.textures.begin(), bank.textures.end(),
              [](const BankTextureEntry& a, const BankTextureEntry& b) { return a.index < b.index; });
    writeBank(path, bank);
    std::printf("texture %d: images %d to %d\n", number, first, last);
    return 0;
}

} // namespace

int RunBank(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"folder", "fit", "index"}, {"dither"});
    if (args.positional.size() < 2)
        throw UsageError("bank needs an action (new, add, list, remove, texture) and a bank");
    const std::string& action = args.positional[0];
    const bool picturesAction = action == "new" || action == "add";
    if (!picturesAction && (args.has("folder") || args.has("fit") || args.has("dither")))
        throw UsageError("--folder, --fit and --dither go with bank new and bank add");
    if (action != "texture" && args.has("index"))
        throw UsageError("--index goes with bank texture");
    if (action == "new")
        return bankNew(args);
    if (action == "add")
        return bankAdd(args);
    if (action == "list")
        return bankList(args);
    if (action == "remove")
        return bankRemove(args);
    if (action == "texture")
        return bankTexture(args);
    throw UsageError("unknown bank action " + action + " (new, add, list, remove, texture)");
}

std::string BankDetails()
{
    return "  new BANK.def PICTURE...     a new bank: one palette made from all the pictures (slot 0's image),\n"
           "                              each picture a texture PCX in slots 1, 2 ... and its own still texture\n"
           "  add BANK.def PICTURE...     the same onto the bank's palette, into its free slots\n"
           "  list BANK.def               the images (image SLOT NAME) and textures (texture T FIRST LAST)\n"
           "  remove BANK.def SLOT...     leave those slots' images out of the bank (their files stay)\n"
           "  texture BANK.def FIRST LAST a texture from image FIRST to LAST: the first free number, or --index T\n"
           "  --folder F                  where the texture files go, inside the current folder (default: the\n"
           "                              folder of the bank's palette image, else TEXTURES)\n";
}
