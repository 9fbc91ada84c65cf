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
// The file is Windows-1252 text; in memory it is UTF-8. Every line is read through NormaliseLine
// (first 255 characters, no blanks, letters in capitals), so headers are found whatever their
// case or blanks and names come back in capitals. Lines empty after that are ignored. The writer
// ends lines with CR LF.
//
// The first image entry of the file, whatever its index, gives the bank its palette; the second
// gives the skinning editor its flat colours. The one reader below serves both editors and k3x.
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct BankImageEntry {
    std::int32_t index = 0;
    std::string name;
    std::int32_t order = 0; // its place among the file's image entries: 0 palette, 1 flat colours
};

struct BankTextureEntry {
    std::int32_t index = 0;
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// Lines a holder of the bank cannot show, as they were written, so that a save gives them back
// unchanged: lines before "#images", lines that are no entry (no "=" or "-", a number that is
// not one, an image without a name), and entries whose index the holder has no slot for.
struct KeptBankLines {
    std::vector<std::string> leading;  // before "#images"
    std::vector<std::string> images;   // in the image section, in file order
    std::vector<std::string> textures; // in the texture section, in file order
    // The first `imagesFirst` image lines are written before the held images: they end with the
    // image entry that gives the palette, which must stay the first entry of the file.
    std::size_t imagesFirst = 0;

    std::size_t size() const { return leading.size() + images.size() + textures.size(); }
};

struct BankFile {
    bool hasImagesHeader = false;
    bool hasTexturesHeader = false;
    std::vector<BankImageEntry> images;     // those the holder has a slot for, in file order; a later one wins
    std::vector<BankTextureEntry> textures; // likewise
    std::optional<BankImageEntry> paletteImage; // the first image entry, whatever its index
    std::optional<BankImageEntry> colourImage;  // the second
    KeptBankLines kept;

    // The slots that hold an image, and the texture numbers defined.
    std::set<std::int32_t> ImageSlots() const;
    std::set<std::int32_t> TextureNumbers() const;
};

constexpr std::int32_t AnyBankIndex = std::numeric_limits<std::int32_t>::max();

// Reads a bank held in memory (UTF-8) for a holder with slots and textures 0 to capacity - 1.
BankFile ParseBank(std::string_view text, std::int32_t capacity = AnyBankIndex);
// The same from the file's Windows-1252 bytes.
BankFile DecodeBank(std::span<const std::uint8_t> bytes, std::int32_t capacity = AnyBankIndex);
// The bank file named `path`; IoError naming it when it cannot be read.
BankFile ReadBankFile(const std::string& path, std::int32_t capacity = AnyBankIndex);
// The same for a tool given a bank by the user: a file without the images header is no bank, and
// taking it for an empty one would hide the mistake (FormatError naming it).
BankFile ReadTextureBank(const std::string& path);

// The writer (UTF-8, to be encoded when written): the kept leading lines, "#images", the first
// kept image lines, the image lines, the other kept image lines, "#textures", the texture lines,
// the kept texture lines.
std::string FormatBank(std::span<const BankImageEntry> images, std::span<const BankTextureEntry> textures,
                       const KeptBankLines& kept = {});
// Writes bank text safely as the file's Windows-1252 bytes; FormatError when a character has no
// place in them, IoError when the file cannot be written.
void WriteBankFile(const std::string& path, std::string_view text);

// Why an image name cannot be kept in a bank, if it cannot: the reader drops blanks (a tab, a
// space, a line end) and reads 255 characters of a line, and the file holds Windows-1252 only.
enum class BankNameProblem { None, Blank, TooLong, Character };
BankNameProblem CheckBankImageName(std::string_view name);
