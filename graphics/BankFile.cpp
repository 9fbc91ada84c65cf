#include "BankFile.h"

#include "FileResolver.h"
#include "K3xFiles.h"
#include "NumberText.h"
#include "TextLine.h"

#include <optional>

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

} // namespace

BankFile ParseBank(std::string_view text)
{
    enum class Section { Before, Images, Textures };
    Section section = Section::Before;
    BankFile bank;
    forEachLine(text, [&](std::string_view raw) {
        const std::string line = NormaliseLine(raw);
        if (line.empty())
            return;
        if (section == Section::Before) {
            if (line == "#IMAGES") {
                section = Section::Images;
                bank.hasImagesHeader = true;
            }
            return;
        }
        if (section == Section::Images && line == "#TEXTURES") {
            section = Section::Textures;
            bank.hasTexturesHeader = true;
            return;
        }
        const std::size_t equals = line.find('=');
        const auto index = equals == std::string::npos ? std::nullopt : ParseInteger(std::string_view(line).substr(0, equals));
        if (!index) {
            ++bank.skippedLines;
            return;
        }
        const std::string rest = line.substr(equals + 1);
        if (section == Section::Images) {
            if (rest.empty())
                ++bank.skippedLines; // a slot needs a file name
            else
                bank.images.push_back({*index, rest});
            return;
        }
        // "3--1": the first image ends at the first "-", the last image is everything after it.
        const std::size_t dash = rest.find('-');
        const auto first = dash == std::string::npos ? std::nullopt : ParseInteger(std::string_view(rest).substr(0, dash));
        const auto last = dash == std::string::npos ? std::nullopt : ParseInteger(std::string_view(rest).substr(dash + 1));
        if (!first || !last) {
            ++bank.skippedLines;
            return;
        }
        bank.textures.push_back({*index, *first, *last});
    });
    return bank;
}

BankFile ReadBankFile(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadWholeFile(ResolvePath(path));
    return ParseBank(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string FormatBank(std::span<const BankImageEntry> images, std::span<const BankTextureEntry> textures)
{
    std::string text = "#images\r\n";
    for (const BankImageEntry& image : images)
        text += std::to_string(image.index) + "=" + image.name + "\r\n";
    text += "#textures\r\n";
    for (const BankTextureEntry& texture : textures)
        text += std::to_string(texture.index) + "=" + std::to_string(texture.first) + "-" +
                std::to_string(texture.last) + "\r\n";
    return text;
}
