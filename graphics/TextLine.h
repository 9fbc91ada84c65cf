#pragma once
// Lines of the bank and DXF text formats are short strings: at most 255 characters are kept.
#include <cstddef>
#include <string>
#include <string_view>

constexpr std::size_t MaxLineLength = 255;

// The first MaxLineLength characters (UTF-8) of `line` without tabs, carriage returns and spaces, and
// with the letters a to z in capitals (other bytes stay as they are).
std::string NormaliseLine(std::string_view line);

// The number of characters of a UTF-8 text (bytes that start one).
std::size_t CharacterCount(std::string_view utf8);
