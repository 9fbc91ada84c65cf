#include "StartFolder.h"

#include "FileResolver.h"

#include <algorithm>

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

} // namespace

std::optional<std::string> NameInsideFolder(std::string_view path, std::string_view folder)
{
    // "/game/" and "/game" mean the same folder; the root "/" keeps its separator.
    while (folder.size() > 1 && isSeparator(folder.back()))
        folder.remove_suffix(1);
    const bool folderEndsWithSeparator = !folder.empty() && isSeparator(folder.back());
    const std::size_t restStart = folderEndsWithSeparator ? folder.size() : folder.size() + 1;
    if (folder.empty() || path.size() <= restStart)
        return std::nullopt;
    if (!SameNameIgnoringCase(path.substr(0, folder.size()), folder))
        return std::nullopt;
    if (!folderEndsWithSeparator && !isSeparator(path[folder.size()]))
        return std::nullopt;
    return std::string(path.substr(restStart));
}

std::optional<std::string> BankImageName(std::string_view path, std::string_view folder)
{
    std::optional<std::string> name = NameInsideFolder(path, folder);
    if (name)
        std::replace(name->begin(), name->end(), '/', '\\');
    return name;
}
