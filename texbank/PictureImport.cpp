#include "PictureImport.h"

#include "Errors.h"
#include "FileResolver.h"
#include "ImageImport.h"
#include "ImageWriters.h"
#include "Parallel.h"
#include "SafeWrite.h"
#include "Windows1252.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <system_error>

namespace {

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

// The file name of the picture of the palette that a made palette is written as.
const std::filesystem::path PaletteFile = "PALETTE";

} // namespace

// A texture on its way into the bank: the palette's picture or one of the pictures chosen.
struct PictureImport::Placed {
    const TextureImage* pixels = nullptr;
    std::int32_t slot = -1;
    bool paletteSlot = false;
    std::string name;           // the texture's name in the bank
    std::filesystem::path path; // its file
    std::vector<std::uint8_t> bytes;
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
    // A palette given by a line the editor cannot show (an image at a negative index) counts too.
    bankHasPalette_ = bankHasPalette_ || bank.kept.imagesFirst > 0;
    bankPalette_ = bank.bankPalette;
    // A name the bank cannot keep is refused before the picture is read; the test uses the
    // texture's name as it would be without a number added.
    for (const std::string& file : request_.pictures) {
        const std::string name = TextureNameFor(request_.folder, file, {});
        std::optional<RefusedPicture> refused;
        if (const auto why = refusalOf(CheckBankImageName(name))) {
            const std::string detail =
                *why == PictureRefusal::Character ? CharacterOutsideWindows1252(name).value_or("") : "";
            refused = RefusedPicture{file, *why, detail};
        }
        nameRefusals_.push_back(refused);
    }
}

void PictureImport::Prepare()
{
    done_ = 0;
    auto found = read_.find(request_.fit);
    if (found == read_.end()) {
        FitRead read{ReadBatch(request_.pictures, request_.fit, cancelled_, &done_), {}};
        if (cancelled_)
            return; // a read cut short is not kept
        // The pictures whose names the bank cannot keep have no say in the palette.
        std::vector<BatchPicture> counted;
        for (std::size_t i = 0; i < read.pictures.size(); ++i)
            if (!nameRefusals_[i])
                counted.push_back(read.pictures[i]);
        read.palette = PaletteForBatch(counted, bankHasPalette_ ? std::optional(bankPalette_) : std::nullopt);
        found = read_.emplace(request_.fit, std::move(read)).first;
    }
    done_ = static_cast<int>(request_.pictures.size());
    pictures_ = &found->second.pictures;
    palette_ = found->second.palette;
    MatchBatch(*pictures_, palette_, request_.dither);
    prepared_ = true;
    preparedFit_ = request_.fit;
    preparedDither_ = request_.dither;
}

std::vector<PicturePreview> PictureImport::Previews() const
{
    std::vector<PicturePreview> previews;
    for (std::size_t i = 0; i < request_.pictures.size(); ++i) {
        PicturePreview preview{request_.pictures[i], nullptr, nameRefusals_[i]};
        if (!preview.refused && pictures_) {
            const BatchPicture& picture = (*pictures_)[i];
            if (picture.fitted)
                preview.pixels = &picture.pixels;
            else
                preview.refused = RefusedPicture{picture.file, PictureRefusal::Unreadable, picture.failure};
        }
        previews.push_back(std::move(preview));
    }
    return previews;
}

void PictureImport::Run()
{
    folderOnDisk_ = ResolvePath(request_.folder, request_.gameFolder);
    if (!prepared_ || preparedFit_ != request_.fit || preparedDither_ != request_.dither)
        Prepare();
    std::vector<Placed> placed;
    if (!cancelled_) {
        placed = placePictures();
        writeTextures(placed);
    }
    if (!cancelled_ && result_.failure.empty())
        collectChange(placed);
    if (cancelled_ || !result_.failure.empty()) {
        undoWrites();
        result_.change = {};
        result_.cancelled = cancelled_;
    }
}

std::vector<PictureImport::Placed> PictureImport::placePictures()
{
    std::vector<std::string> taken =
        TakenTextureNames(request_.folder, folderOnDisk_, {slotNames_.begin(), slotNames_.end()});
    std::array<bool, EditorBank::Capacity> used{};
    for (int i = 0; i < EditorBank::Capacity; ++i)
        used[i] = !slotNames_[i].empty();
    auto name = [&](const std::filesystem::path& picture) {
        const std::string chosen = TextureNameFor(request_.folder, picture, taken);
        taken.push_back(BankCapitals(chosen));
        return chosen;
    };

    std::vector<Placed> placed;
    static const TextureImage swatches = PaletteSwatches();
    if (MakesPalette()) { // the made palette's picture takes slot 0, whatever was named there
        placed.push_back({&swatches, 0, true, name(PaletteFile), {}, {}, false});
        used[0] = true;
    }
    std::int32_t slot = std::max(request_.fromSlot, 0);
    for (std::size_t i = 0; i < request_.pictures.size(); ++i) {
        const BatchPicture& picture = (*pictures_)[i];
        if (nameRefusals_[i]) {
            result_.refused.push_back(*nameRefusals_[i]);
            continue;
        }
        if (!picture.fitted) {
            result_.refused.push_back({picture.file, PictureRefusal::Unreadable, picture.failure});
            continue;
        }
        while (slot < EditorBank::Capacity && used[static_cast<std::size_t>(slot)])
            ++slot;
        if (slot >= EditorBank::Capacity) {
            result_.refused.push_back({picture.file, PictureRefusal::NoFreeSlot, {}});
            continue;
        }
        placed.push_back({&picture.pixels, slot++, false, name(picture.file), {}, {}, false});
    }
    if (placed.size() == 1 && placed.front().paletteSlot)
        placed.clear(); // no picture to give a palette to
    for (Placed& texture : placed)
        texture.path = folderOnDisk_ / texture.name.substr(texture.name.find_last_of('\\') + 1);
    return placed;
}

void PictureImport::writeTextures(std::vector<Placed>& placed)
{
    done_ = static_cast<int>(request_.pictures.size() * 2 - placed.size()); // what is left is writing
    std::error_code ec;
    std::filesystem::create_directories(folderOnDisk_, ec);
    std::mutex failure;
    std::atomic<bool> stop = false;
    InParallel(placed.size(), stop, [&](std::size_t i) {
        Placed& texture = placed[i];
        if (cancelled_) {
            stop = true;
            return;
        }
        try {
            texture.bytes = EncodePcx(TextureSide, TextureSide, *texture.pixels, palette_.palette);
            WriteFileAtomically(texture.path, texture.bytes);
            texture.written = true;
            ++done_;
        } catch (const std::exception& error) {
            const std::lock_guard lock(failure);
            if (result_.failure.empty())
                result_.failure = error.what();
            stop = true;
        }
    });
    for (const Placed& texture : placed)
        if (texture.written)
            result_.written.push_back(texture.path.string());
}

void PictureImport::collectChange(std::vector<Placed>& placed)
{
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.slot < b.slot; });
    BankChange& change = result_.change;
    const PalettePlanes palette = MakesPalette() ? palette_.palette : bankPalette_;
    if (MakesPalette() && !placed.empty())
        change.palette = PaletteState{palette, 0};
    // The files are read back as a load of them would read them, so the slots hold exactly
    // what the bank will read next time.
    for (Placed& texture : placed) {
        SlotImageRead read = ReadSlotImage(texture.path.string(), texture.paletteSlot ? nullptr : &palette);
        if (!read.image) {
            result_.failure = read.problem ? read.problem->name + ": " + read.problem->detail : texture.path.string();
            return;
        }
        change.slots.push_back({texture.slot, {texture.name, std::move(read.image)}});
        change.files.push_back({texture.path.string(), std::move(texture.bytes)});
    }
    if (!request_.stillTextures)
        return;
    for (const Placed& texture : placed) {
        if (texture.paletteSlot)
            continue;
        // Its own number when that texture is free, else the first free one.
        std::int32_t number = texture.slot;
        if (!textureFree_[static_cast<std::size_t>(number)]) {
            const auto free = std::find(textureFree_.begin(), textureFree_.end(), true);
            if (free == textureFree_.end())
                continue; // every texture is defined: the slot is filled without one
            number = static_cast<std::int32_t>(free - textureFree_.begin());
        }
        textureFree_[static_cast<std::size_t>(number)] = false;
        change.textures.push_back({number, {texture.slot, texture.slot, texture.slot}});
    }
}

void PictureImport::undoWrites()
{
    std::error_code ec;
    for (const std::string& file : result_.written)
        std::filesystem::remove(file, ec);
    result_.written.clear();
}
