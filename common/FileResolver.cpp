#include "FileResolver.h"

#include "Windows1252.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> splitComponents(std::string_view name)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : name) {
        if (c == '/' || c == '\\') {
            if (!part.empty() && part != ".")
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty() && part != ".")
        parts.push_back(part);
    return parts;
}

// The entry of `folder` whose name matches `wanted` without regard to case; the exact spelling
// wins, then the first in name order, so the choice does not depend on the listing order.
bool findEntry(const fs::path& folder, const std::string& wanted, fs::path& found)
{
    std::error_code ec;
    if (fs::exists(folder / wanted, ec)) {
        found = folder / wanted;
        return true;
    }
    std::string best;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (SameNameIgnoringCase(entry, wanted) && (best.empty() || entry < best))
            best = entry;
    }
    if (best.empty())
        return false;
    found = folder / best;
    return true;
}

} // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    // Each letter and its capital take the same number of bytes in UTF-8.
    return a.size() == b.size() && LowerCaseLetters(a) == LowerCaseLetters(b);
}

fs::path ResolvePath(std::string_view name, const fs::path& base)
{
    const fs::path asWritten = base.empty() ? fs::path(name) : base / fs::path(name);
    std::error_code ec;
    if (name.find('\\') == std::string_view::npos && fs::exists(asWritten, ec))
        return asWritten;

    fs::path current = base;
    if (!name.empty() && (name.front() == '/' || name.front() == '\\'))
        current = "/";
    const std::vector<std::string> parts = splitComponents(name);
    for (auto part = parts.begin(); part != parts.end(); ++part) {
        fs::path next;
        if (*part == "..")
            next = current / *part;
        else if (!findEntry(current, *part, next)) {
            // Not there (yet): the rest as written, one component each, so that a folder or file
            // made at this path is the one the same name finds later ("TEXTURES\NEW" is a folder
            // NEW inside TEXTURES, never one named with a backslash).
            for (; part != parts.end(); ++part)
                current /= *part;
            return current;
        }
        current = next;
    }
    return current;
}

namespace {

// "/" between folders, no "." parts, no doubled or trailing separators: two spellings of one
// place compare equal.
std::string plainPath(std::string_view path)
{
    std::string text(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    text = fs::path(text).lexically_normal().generic_string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

std::optional<std::string> NameInsideFolder(std::string_view path, std::string_view folder)
{
    if (folder.empty())
        return std::nullopt;
    const std::string p = plainPath(path);
    std::string f = plainPath(folder);
    if (f == "/")
        f.clear(); // the root: what follows its one separator
    if (p.size() <= f.size() + 1 || p[f.size()] != '/' || !SameNameIgnoringCase(std::string_view(p).substr(0, f.size()), f))
        return std::nullopt;
    return p.substr(f.size() + 1);
}

fs::path FileInCurrentFolder(std::string_view name)
{
    return ResolvePath(name, fs::current_path());
}

bool HasExtension(std::string_view name, std::string_view extension)
{
    constexpr std::size_t length = 4;
    if (extension.size() != length || name.size() < length)
        return false;
    return SameNameIgnoringCase(name.substr(name.size() - length), extension);
}
