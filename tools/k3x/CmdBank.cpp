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
#include "BankPictures.h"
#include "BlendCache.h"
#include "Errors.h"
#include "FileResolver.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

namespace {

void writeBank(const std::string& path, const BankFile& bank)
{
    WriteBankFile(path, FormatBank(bank.images, bank.textures, bank.kept));
}

// Pictures into the bank, said one a line; failures on the error stream, the exit code 1.
int addPictures(const std::string& bankPath, const BankFile& bank, const std::vector<std::string>& pictures,
                const K3xArgs& args)
{
    BankPictureOptions options{args.option("folder"), ParseFit(args.option("fit", "crop")), args.has("dither")};
    std::vector<PictureSource> sources;
    for (const std::string& picture : pictures)
        sources.push_back({picture, std::nullopt});
    const BankPictureResult result = AddPicturesToBank(bankPath, bank, sources, options);
    if (!result.paletteImage.empty())
        std::printf("slot 0: %s (the palette made from %zu pictures)\n", result.paletteImage.c_str(),
                    result.added.size());
    for (const AddedPicture& added : result.added)
        std::printf("slot %d: %s from %s, texture %d\n", added.slot, added.image.c_str(), added.picture.c_str(),
                    added.texture);
    for (const std::string& failure : result.failures)
        std::fprintf(stderr, "k3x bank: %s\n", failure.c_str());
    return result.failures.empty() ? 0 : 1;
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
        removed.insert(WholeNumberArgument<std::int32_t>(args.positional[i], "a slot"));
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
    const std::int32_t first = WholeNumberArgument<std::int32_t>(args.positional[2], "FIRST");
    const std::int32_t last = WholeNumberArgument<std::int32_t>(args.positional[3], "LAST");
    const std::set<std::int32_t> slots = bank.ImageSlots();
    for (const std::int32_t slot : {first, last})
        if (!slots.count(slot))
            throw FormatError(path + ": the bank has no image in slot " + std::to_string(slot));
    const std::set<std::int32_t> used = bank.TextureNumbers();
    std::int32_t number = 0;
    if (args.has("index")) {
        const long long index = args.number("index", 0);
        if (index < 0 || index > LastEditorSlot)
            throw UsageError("--index takes a texture number from 0 to " + std::to_string(LastEditorSlot) + ", not " +
                             std::to_string(index));
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
