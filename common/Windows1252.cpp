#include "Windows1252.h"

#include "Errors.h"

#include <array>
#include <cstdint>

namespace {

// Code points of bytes 0x80 to 0x9F; the others are their own code point. 0x81, 0x8D, 0x8F,
// 0x90 and 0x9D are unassigned and map to the C1 control of the same number.
constexpr std::array<char32_t, 32> HighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

char32_t codePointOfByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte;
}

std::optional<unsigned char> byteOfCodePoint(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One UTF-8 sequence at the start of `text`: its code point and length, or nothing when the
// bytes there are not a well-formed sequence (overlong forms and surrogates included).
struct Sequence {
    char32_t codePoint;
    std::size_t length;
};

std::optional<Sequence> utf8SequenceAt(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return Sequence{lead, 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return Sequence{c, length};
}

bool isValidUtf8(std::string_view text)
{
    while (!text.empty()) {
        const auto sequence = utf8SequenceAt(text);
        if (!sequence)
            return false;
        text.remove_prefix(sequence->length);
    }
    return true;
}

std::string decodeWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        appendUtf8(out, codePointOfByte(static_cast<unsigned char>(byte)));
    return out;
}

} // namespace

std::string DecodeFileText(std::string_view bytes)
{
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
        if (isValidUtf8(bytes))
            return std::string(bytes);
    }
    return decodeWindows1252(bytes);
}

std::string EncodeFileText(std::string_view text, std::string_view fileName)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto sequence = utf8SequenceAt(text);
        if (!sequence) {
            out += text.front();
            text.remove_prefix(1);
            continue;
        }
        const auto byte = byteOfCodePoint(sequence->codePoint);
        if (!byte)
            throw FormatError("Cannot write " + std::string(fileName) + ": the character \"" +
                              std::string(text.substr(0, sequence->length)) +
                              "\" has no place in its 8-bit character set (Windows-1252)");
        out += static_cast<char>(*byte);
        text.remove_prefix(sequence->length);
    }
    return out;
}

namespace {

char32_t lowerCaseLetter(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    switch (c) {
    case 0x0160: return 0x0161; // Š
    case 0x0152: return 0x0153; // Œ
    case 0x017D: return 0x017E; // Ž
    case 0x0178: return 0x00FF; // Ÿ
    default: return c;
    }
}

} // namespace

std::string LowerCaseLetters(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto sequence = utf8SequenceAt(text);
        const std::size_t length = sequence ? sequence->length : 1;
        const char32_t lower = sequence ? lowerCaseLetter(sequence->codePoint) : 0;
        if (sequence && lower != sequence->codePoint)
            appendUtf8(out, lower);
        else
            out += text.substr(0, length);
        text.remove_prefix(length);
    }
    return out;
}

std::optional<std::string> CharacterOutsideWindows1252(std::string_view text)
{
    while (!text.empty()) {
        const auto sequence = utf8SequenceAt(text);
        const std::size_t length = sequence ? sequence->length : 1;
        if (sequence && !byteOfCodePoint(sequence->codePoint))
            return std::string(text.substr(0, length));
        text.remove_prefix(length);
    }
    return std::nullopt;
}
