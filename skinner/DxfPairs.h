#pragma once
// The DXF text format's one structure: pairs of lines, a group code (a whole number) and its
// value. Group code 0 starts an entity, a table entry or a section marker and names it ("3DFACE",
// "LINE", "SECTION", "EOF"); the other codes are the fields of what the last code 0 started. Every
// reader of DXF text walks the pairs through this reader, so they all split, trim and count lines
// the same way.
//
//   line 2k + 1   group code, blanks around it allowed ("  0", " 10")
//   line 2k + 2   its value, blanks around it and a carriage return before the line end ignored
//
// A code line without its value line ends the text. Binary DXF files are not pairs of lines at
// all: they start with the sentinel "AutoCAD Binary DXF".
#include <cstdint>
#include <optional>
#include <string_view>

struct DxfPair {
    int code = -1;           // -1 when the code line is not a whole number
    std::string_view value;  // without blanks around it and without the line end
    std::int64_t valueLine = 0; // line number of the value, counting from 1, for messages
};

class DxfPairs {
public:
    // A UTF-8 byte-order mark before the first code is skipped.
    explicit DxfPairs(std::string_view text)
        : text_(text), at_(text.starts_with("\xEF\xBB\xBF") ? 3 : 0)
    {
    }
    // The next pair, or false at the end of the text.
    bool next(DxfPair& pair);
    // How many pairs next() has answered so far.
    std::int64_t pairsRead() const { return pairsRead_; }

private:
    std::string_view text_;
    std::size_t at_;
    std::int64_t line_ = 0;
    std::int64_t pairsRead_ = 0;
};

// True when `text` starts with the sentinel of a binary DXF file.
bool IsBinaryDxf(std::string_view text);

// A value line as a decimal real number ("12.5", "-1.0E+20", "+3"), or nothing when it is not one.
std::optional<double> DxfReal(std::string_view value);
