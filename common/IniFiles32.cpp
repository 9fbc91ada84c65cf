#include "IniFiles32.h"

#include "Errors.h"
#include "FileResolver.h"
#include "NumberText.h"
#include "SafeWrite.h"
#include "Windows1252.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

bool isControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string bracketed(const std::string& section) { return "[" + section + "]"; }

// What a write stores is one line: each line break (CR LF, CR or LF) becomes a blank, and so does
// a NUL, which would end the text when the file is read again.
std::string oneLine(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        const bool breaks = text[i] == '\r' || text[i] == '\n' || text[i] == '\0';
        line += breaks ? ' ' : text[i];
    }
    return line;
}

} // namespace

std::string TrimControl(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isControlOrBlank(text[first]))
        ++first;
    while (last > first && isControlOrBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string KeyOfLine(const std::string& line)
{
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : TrimControl(std::string_view(line).substr(0, eq));
}

std::string ValueOfLine(const std::string& line, const std::string& key)
{
    if (line.empty() || key.empty())
        return {};
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || KeyOfLine(line) != key)
        return {};
    return TrimControl(std::string_view(line).substr(eq + 1));
}

bool IsSectionLine(const std::string& line)
{
    if (line.empty())
        return false;
    const std::string trimmed = TrimControl(line);
    return !trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']';
}

TIniFile32::TIniFile32(std::string fileName)
    : FileName(std::move(fileName))
{
    std::error_code ec;
    if (std::filesystem::exists(FileName, ec))
        LoadFromFile();
}

void TIniFile32::LoadFromFile()
{
    std::error_code ec;
    if (std::filesystem::is_directory(FileName, ec))
        throw IoError("Cannot read " + FileName + ": it is a folder");
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        throw IoError("Cannot read " + FileName + ": " + std::strerror(errno));
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad())
        throw IoError("Cannot read " + FileName + ": " + std::strerror(errno));

    Lines.clear();
    Sections.clear();
    // A NUL ends the text; lines end at CR, LF or CR LF.
    bytes.resize(std::min(bytes.size(), bytes.find('\0')));
    const std::string text = DecodeFileText(bytes);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = TrimControl(std::string_view(text).substr(pos, end - pos));
        if (!line.empty() && line.front() != ';') {
            if (line.front() == '[' && line.back() == ']')
                Sections.emplace_back(line, static_cast<int>(Lines.size()));
            Lines.push_back(std::move(line));
        }
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

int TIniFile32::SectionLineIndex(const std::string& section) const
{
    const std::string wanted = bracketed(section);
    for (const auto& [header, index] : Sections)
        if (SameNameIgnoringCase(header, wanted))
            return index;
    return -1;
}

std::string TIniFile32::ReadString(const std::string& Section, const std::string& Key, const std::string& Default) const
{
    if (Lines.empty())
        return Default;
    const int header = SectionLineIndex(Section);
    if (header < 0)
        return Default;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < Lines.size() && !IsSectionLine(Lines[i]); ++i) {
        if (KeyOfLine(Lines[i]) == Key) {
            const std::string value = ValueOfLine(Lines[i], Key);
            return value.empty() ? Default : value;
        }
    }
    return Default;
}

std::int32_t TIniFile32::ReadInteger(const std::string& Section, const std::string& Key, std::int32_t Default) const
{
    const std::string s = ReadString(Section, Key, "");
    std::optional<std::int32_t> value;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        value = ParseHexInteger(std::string_view(s).substr(2));
    else
        value = ParseInteger(s);
    return value.value_or(Default);
}

double TIniFile32::ReadFloat(const std::string& Section, const std::string& Key, double Default) const
{
    const std::string s = ReadString(Section, Key, "");
    // "0x..." texts become "$..." as for integers, which no decimal reading accepts.
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        return Default;
    return ParseFloat(s).value_or(Default);
}

void TIniFile32::WriteString(const std::string& Section, const std::string& Key, const std::string& Value)
{
    const std::string section = oneLine(Section);
    const std::string key = oneLine(Key);
    const std::string line = key + "=" + oneLine(Value);
    const int header = SectionLineIndex(section);
    if (header < 0) {
        Sections.emplace_back(bracketed(section), static_cast<int>(Lines.size()));
        Lines.push_back(bracketed(section));
        if (!key.empty())
            Lines.push_back(line);
    } else {
        std::size_t i = static_cast<std::size_t>(header) + 1;
        while (i < Lines.size() && !IsSectionLine(Lines[i]) && KeyOfLine(Lines[i]) != key)
            ++i;
        if (key.empty()) {
            // Only makes sure the section exists.
        } else if (i == Lines.size()) {
            Lines.push_back(line);
        } else if (IsSectionLine(Lines[i])) {
            Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(i), line);
            for (auto& entry : Sections)
                if (entry.second >= static_cast<int>(i))
                    ++entry.second;
        } else {
            Lines[i] = line;
        }
    }
    UpdateFile();
    Modified = true;
}

void TIniFile32::WriteInteger(const std::string& Section, const std::string& Key, std::int32_t Value)
{
    WriteString(Section, Key, std::to_string(Value));
}

void TIniFile32::WriteFloat(const std::string& Section, const std::string& Key, double Value)
{
    WriteString(Section, Key, FormatFloat(Value));
}

TIniFile32::~TIniFile32()
{
#ifndef NDEBUG
    // Writes that never reach the disk are a caller's mistake: say so at once in a debug build.
    // An exception on its way out is the caller giving up, which may drop them.
    if (Modified && std::uncaught_exceptions() == 0) {
        std::fprintf(stderr, "TIniFile32: the writes to %s were dropped: Destroy() was not called\n", FileName.c_str());
        std::abort();
    }
#endif
}

void TIniFile32::Destroy()
{
    if (!Modified)
        return;
    Modified = false;
    AutoSave = true;
    UpdateFile();
}

void TIniFile32::UpdateFile()
{
    if (!AutoSave)
        return;
    WriteFileAtomically(FileName, FileBytes());
}

std::string TIniFile32::FileBytes() const
{
    std::string text;
    for (const std::string& line : Lines)
        text += line + "\r\n";
    return EncodeFileText(text, FileName);
}
