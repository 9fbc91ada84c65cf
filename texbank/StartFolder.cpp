#include "StartFolder.h"

#include "FileResolver.h"

#include <algorithm>

std::optional<std::string> BankImageName(std::string_view path, std::string_view folder)
{
    std::optional<std::string> name = NameInsideFolder(path, folder);
    if (name)
        std::replace(name->begin(), name->end(), '/', '\\');
    return name;
}
