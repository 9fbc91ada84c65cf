#include "BankFile.h"

#include "Errors.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "NumberText.h"
#include "SafeWrite.h"
#include "TextLine.h"
#include "Windows1252.h"

namespace {

// Lines end at LF, CR LF or a lone CR; the empty lines this makes of CR LF are ignored anyway.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        visit(text.substr(start, end - start));
        start = end + 1;
    }
}

// "5=3--1": the first image ends at the first "-", the last image is everything after it.
std::optional<BankTextureEntry> textureEntry(std::int32_t index, std::string_view rest)
{
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const auto first = ParseInteger(rest.substr(0, dash));
    const auto last = ParseInteger(rest.substr(dash + 1));
    if (!first || !last)
        return std::nullopt;
    return BankTextureEntry{index, *first, *last};
}

// The longest index a bank line carries before its "=": "32767=".
constexpr std::size_t LongestIndex = 6;

} // namespace

BankFile ParseBank(std::string_view text, std::int32_t capacity)
{
    enum class Section { Before, Images, Textures };
    Section section = Section::Before;
    BankFile bank;
    std::int32_t imageEntries = 0;
    const auto held = [capacity](std::int32_t index) { return index >= 0 && index < capacity; };
    forEachLine(text, [&](std::string_view raw) {
        const std::string line = NormaliseLine(raw);
        if (line.empty())
            return;
        if (section == Section::Before) {
            if (line == "#IMAGES") {
                section = Section::Images;
                bank.hasImagesHeader = true;
            } else {
                bank.kept.leading.emplace_back(raw);
            }
            return;
        }
        if (section == Section::Images && line == "#TEXTURES") {
            section = Section::Textures;
            bank.hasTexturesHeader = true;
            return;
        }
        std::vector<std::string>& kept = section == Section::Images ? bank.kept.images : bank.kept.textures;
        const std::size_t equals = line.find('=');
        const auto index = equals == std::string::npos ? std::nullopt : ParseInteger(std::string_view(line).substr(0, equals));
        const std::string_view rest = index ? std::string_view(line).substr(equals + 1) : std::string_view();
        if (section == Section::Images) {
            if (!index || rest.empty()) { // a slot needs a file name
                kept.emplace_back(raw);
                return;
            }
            const BankImageEntry entry{*index, std::string(rest), imageEntries++};
            if (entry.order == 0)
                bank.paletteImage = entry;
            else if (entry.order == 1)
                bank.colourImage = entry;
            if (held(entry.index)) {
                bank.images.push_back(entry);
                return;
            }
            kept.emplace_back(raw);
            // The palette's entry stays the file's first one when the bank is written again.
            if (entry.order == 0)
                bank.kept.imagesFirst = kept.size();
            return;
        }
        const auto texture = index ? textureEntry(*index, rest) : std::nullopt;
        if (texture && held(texture->index))
            bank.textures.push_back(*texture);
        else
            kept.emplace_back(raw);
    });
    return bank;
}

BankFile DecodeBank(std::span<const std::uint8_t> bytes, std::int32_t capacity)
{
    return ParseBank(DecodeFileText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())),
                     capacity);
}

BankFile ReadBankFile(const std::string& path, std::int32_t capacity)
{
    return DecodeBank(ReadWholeFile(ResolvePath(path)), capacity);
}

std::string FormatBank(std::span<const BankImageEntry> images, std::span<const BankTextureEntry> textures,
                       const KeptBankLines& kept)
{
    std::string text;
    const auto keep = [&text](std::span<const std::string> lines) {
        for (const std::string& line : lines)
            text += line + "\r\n";
    };
    const std::span<const std::string> keptImages(kept.images);
    const std::size_t imagesFirst = std::min(kept.imagesFirst, keptImages.size());
    keep(kept.leading);
    text += "#images\r\n";
    keep(keptImages.first(imagesFirst));
    for (const BankImageEntry& image : images)
        text += std::to_string(image.index) + "=" + image.name + "\r\n";
    keep(keptImages.subspan(imagesFirst));
    text += "#textures\r\n";
    for (const BankTextureEntry& texture : textures)
        text += std::to_string(texture.index) + "=" + std::to_string(texture.first) + "-" +
                std::to_string(texture.last) + "\r\n";
    keep(kept.textures);
    return text;
}

void WriteBankFile(const std::string& path, std::string_view text)
{
    WriteFileAtomically(ResolvePath(path), EncodeFileText(text, path));
}

BankNameProblem CheckBankImageName(std::string_view name)
{
    if (name.find_first_of(" \t\r\n") != std::string_view::npos)
        return BankNameProblem::Blank;
    if (CharacterCount(name) > MaxLineLength - LongestIndex)
        return BankNameProblem::TooLong;
    if (CharacterOutsideWindows1252(name))
        return BankNameProblem::Character;
    return BankNameProblem::None;
}

std::set<std::int32_t> BankFile::ImageSlots() const
{
    std::set<std::int32_t> slots;
    for (const BankImageEntry& image : images)
        slots.insert(image.index);
    return slots;
}

std::set<std::int32_t> BankFile::TextureNumbers() const
{
    std::set<std::int32_t> numbers;
    for (const BankTextureEntry& texture : textures)
        numbers.insert(texture.index);
    return numbers;
}

BankFile ReadTextureBank(const std::string& path)
{
    BankFile bank = ReadBankFile(path);
    if (!bank.hasImagesHeader)
        throw FormatError(path + ": not a texture bank (it has no #images line)");
    return bank;
}
