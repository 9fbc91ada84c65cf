#include "TextLine.h"

std::string NormaliseLine(std::string_view line)
{
    line = line.substr(0, MaxLineLength);
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r')
            continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}
