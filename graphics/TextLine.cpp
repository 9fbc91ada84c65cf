#include "TextLine.h"

namespace {

// Bytes 0x80 to 0xBF continue a UTF-8 character; every other byte starts one.
bool startsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// `line` up to its (MaxLineLength + 1)th character: texts are UTF-8 in memory, and a line of the
// files holds 255 of their 8-bit characters, whatever their length in UTF-8.
std::string_view firstCharacters(std::string_view line)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (startsCharacter(line[i]) && ++characters > MaxLineLength)
            return line.substr(0, i);
    return line;
}

} // namespace

std::size_t CharacterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (char c : utf8)
        count += startsCharacter(c) ? 1 : 0;
    return count;
}

std::string NormaliseLine(std::string_view line)
{
    line = firstCharacters(line);
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r')
            continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}
