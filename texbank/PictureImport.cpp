#include "PictureImport.h"

#include "Errors.h"
#include "FileResolver.h"
#include "ImageImport.h"
#include "K3xFiles.h"
#include "Windows1252.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace {

// Runs work(0) ... work(count - 1) on a few threads (as many as the processor has cores, at most
// four) until done or `stop` is set. `work` catches its own exceptions.
template <typename Work>
void inParallel(std::size_t count, const std::atomic<bool>& stop, const Work& work)
{
    std::atomic<std::size_t> next = 0;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count && !stop; i = next++)
            work(i);
    };
    const std::size_t threads = std::min<std::size_t>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u), count);
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(worker);
    worker();
}

// Letters a to z in capitals, as the bank reader gives names back.
std::string capitals(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

// The names of the files in a folder: a new texture must not take one, whatever its case.
std::vector<std::string> namesInFolder(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    return names;
}

std::optional<PictureRefusal> refusalOf(BankNameProblem problem)
{
    switch (problem) {
    case BankNameProblem::None:
        return std::nullopt;
    case BankNameProblem::Blank:
        return PictureRefusal::Blank;
    case BankNameProblem::TooLong:
        return PictureRefusal::TooLong;
    case BankNameProblem::Character:
        return PictureRefusal::Character;
    }
    return std::nullopt;
}

} // namespace

struct PictureImport::Picture {
    std::string file;
    std::optional<RefusedPicture> refused;
    std::unique_ptr<RgbaTexture> rgba; // the picture fitted to the square
    std::int32_t slot = -1;
    std::string name;                  // the texture's name in the bank
    std::filesystem::path path;        // its file
    bool written = false;
};

PictureImport::PictureImport(const EditorBank& bank, PictureImportRequest request)
    : request_(std::move(request))
{
    for (int i = 0; i < EditorBank::Capacity; ++i) {
        slotNames_[i] = bank.slots[i].name;
        textureFree_[i] = bank.textures[i].first == -1;
        bankHasPalette_ = bankHasPalette_ || bank.slots[i].image != nullptr;
    }
    bankPalette_ = bank.bankPalette;
}

std::string PictureImport::TextureName(const std::string& folder, const std::filesystem::path& picture,
                                       const std::vector<std::string>& taken)
{
    const std::string front = folder.empty() ? std::string() : folder + "\\";
    const std::string stem = capitals(picture.stem().string());
    std::string name = front + stem + ".PCX";
    for (int n = 2; std::find(taken.begin(), taken.end(), capitals(name)) != taken.end(); ++n)
        name = front + stem + "_" + std::to_string(n) + ".PCX";
    return name;
}

void PictureImport::Run()
{
    folderOnDisk_ = ResolvePath(request_.folder, request_.gameFolder);
    std::vector<Picture> pictures(request_.pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        pictures[i].file = request_.pictures[i];
    readPictures(pictures);
    if (!cancelled_)
        placePictures(pictures);
    if (!cancelled_)
        writeTextures(pictures);
    if (!cancelled_ && result_.failure.empty())
        collectChange(pictures);
    if (cancelled_ || !result_.failure.empty()) {
        undoWrites();
        result_.change = {};
        result_.cancelled = cancelled_;
    }
    for (Picture& picture : pictures)
        if (picture.refused)
            result_.refused.push_back(*picture.refused);
}

void PictureImport::readPictures(std::vector<Picture>& pictures)
{
    // A name the bank cannot keep is refused before the picture is read; the test uses the
    // texture's name as it would be without a number added.
    for (Picture& picture : pictures) {
        const std::string name = TextureName(request_.folder, picture.file, {});
        if (const auto why = refusalOf(CheckBankImageName(name))) {
            const std::string detail =
                *why == PictureRefusal::Character ? CharacterOutsideWindows1252(name).value_or("") : "";
            picture.refused = RefusedPicture{picture.file, *why, detail};
            done_ += 2; // neither read nor written
        }
    }
    inParallel(pictures.size(), cancelled_, [&](std::size_t i) {
        Picture& picture = pictures[i];
        if (picture.refused)
            return;
        try {
            picture.rgba = std::make_unique<RgbaTexture>(
                FitPicture(ReadWholeFile(picture.file), picture.file, TextureFit::Crop));
        } catch (const std::exception& error) {
            picture.refused = RefusedPicture{picture.file, PictureRefusal::Unreadable, error.what()};
            ++done_; // not written
        }
        ++done_;
    });
}

void PictureImport::placePictures(std::vector<Picture>& pictures)
{
    std::vector<std::string> taken;
    for (const std::string& name : namesInFolder(folderOnDisk_))
        taken.push_back(capitals(request_.folder.empty() ? name : request_.folder + "\\" + name));
    for (const std::string& name : slotNames_)
        if (!name.empty())
            taken.push_back(capitals(name));

    std::int32_t slot = std::max(request_.fromSlot, 0);
    for (Picture& picture : pictures) {
        if (picture.refused)
            continue;
        while (slot < EditorBank::Capacity && !slotNames_[static_cast<std::size_t>(slot)].empty())
            ++slot;
        if (slot >= EditorBank::Capacity) {
            picture.refused = RefusedPicture{picture.file, PictureRefusal::NoFreeSlot, {}};
            picture.rgba.reset();
            done_ += 1; // it is not written
            continue;
        }
        picture.slot = slot++;
        picture.name = TextureName(request_.folder, picture.file, taken);
        taken.push_back(capitals(picture.name));
        picture.path = folderOnDisk_ / picture.name.substr(picture.name.find_last_of('\\') + 1);
    }
}

void PictureImport::writeTextures(std::vector<Picture>& pictures)
{
    std::error_code ec;
    std::filesystem::create_directories(folderOnDisk_, ec);
    // A picture for slot 0 gives the bank its palette: a palette is made for it first, and the
    // others are matched to it.
    std::optional<MadePalette> paletteSlot;
    const auto first = std::find_if(pictures.begin(), pictures.end(), [](const Picture& p) { return p.slot == 0; });
    if (first != pictures.end())
        paletteSlot = MakeTexturePalette(*first->rgba);
    std::optional<PalettePlanes> target;
    if (paletteSlot)
        target = paletteSlot->palette;
    else if (bankHasPalette_)
        target = bankPalette_;

    std::mutex failure;
    std::atomic<bool> stop = false;
    inParallel(pictures.size(), stop, [&](std::size_t i) {
        Picture& picture = pictures[i];
        if (picture.slot < 0)
            return;
        if (cancelled_) {
            stop = true;
            return;
        }
        try {
            ImportedTexture texture;
            int last = 255;
            if (picture.slot == 0) {
                texture.palette = paletteSlot->palette;
                last = paletteSlot->last;
            } else if (target) {
                texture.palette = *target;
            } else {
                const MadePalette made = MakeTexturePalette(*picture.rgba);
                texture.palette = made.palette;
                last = made.last;
            }
            texture.pixels = QuantiseTexture(*picture.rgba, texture.palette, last, false);
            picture.rgba.reset();
            SaveTexturePcx(picture.path.string(), texture);
            picture.written = true;
            ++done_;
        } catch (const std::exception& error) {
            const std::lock_guard lock(failure);
            if (result_.failure.empty())
                result_.failure = error.what();
            stop = true;
        }
    });
    for (const Picture& picture : pictures)
        if (picture.written)
            result_.written.push_back(picture.path.string());
}

void PictureImport::collectChange(std::vector<Picture>& pictures)
{
    std::vector<Picture*> placed;
    for (Picture& picture : pictures)
        if (picture.slot >= 0)
            placed.push_back(&picture);
    std::sort(placed.begin(), placed.end(), [](const Picture* a, const Picture* b) { return a->slot < b->slot; });

    BankChange& change = result_.change;
    PalettePlanes palette = bankPalette_;
    // The files are read back as a load of them would read them, so the slots hold exactly
    // what the bank will read next time.
    for (Picture* picture : placed) {
        SlotImageRead read = ReadSlotImage(picture->path.string(), picture->slot == 0 ? nullptr : &palette);
        if (!read.image) {
            result_.failure = read.problem ? read.problem->name + ": " + read.problem->detail : picture->path.string();
            return;
        }
        if (picture->slot == 0) {
            palette = read.palette;
            change.palette = PaletteState{read.palette, 0};
        }
        change.slots.push_back({picture->slot, {picture->name, std::move(read.image)}});
    }
    if (!request_.stillTextures)
        return;
    for (const Picture* picture : placed) {
        // Its own number when that texture is free, else the first free one.
        std::int32_t texture = picture->slot;
        if (!textureFree_[static_cast<std::size_t>(texture)]) {
            const auto free = std::find(textureFree_.begin(), textureFree_.end(), true);
            if (free == textureFree_.end())
                continue; // every texture is defined: the slot is filled without one
            texture = static_cast<std::int32_t>(free - textureFree_.begin());
        }
        textureFree_[static_cast<std::size_t>(texture)] = false;
        change.textures.push_back({texture, {picture->slot, picture->slot, picture->slot}});
    }
}

void PictureImport::undoWrites()
{
    std::error_code ec;
    for (const std::string& file : result_.written)
        std::filesystem::remove(file, ec);
    result_.written.clear();
}
