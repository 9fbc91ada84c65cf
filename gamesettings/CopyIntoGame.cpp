#include "CopyIntoGame.h"

#include "Errors.h"
#include "Windows1252.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

namespace {

bool sameBytes(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ec;
    if (std::filesystem::file_size(a, ec) != std::filesystem::file_size(b, ec) || ec)
        return false;
    std::ifstream one(a, std::ios::binary), other(b, std::ios::binary);
    return one && other &&
           std::equal(std::istreambuf_iterator<char>(one), {}, std::istreambuf_iterator<char>(other));
}

} // namespace

std::filesystem::path CopyIntoFolder(const std::filesystem::path& file, const std::filesystem::path& folder)
{
    std::map<std::string, std::filesystem::path> taken; // the name as the resolver compares it -> the file
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        taken[LowerCaseLetters(entry.path().filename().string())] = entry.path();
    const std::string stem = file.stem().string(), extension = file.extension().string();
    std::string name = file.filename().string();
    for (int n = 2;; ++n) {
        const auto same = taken.find(LowerCaseLetters(name));
        if (same == taken.end())
            break;
        if (sameBytes(file, same->second))
            return same->second;
        name = stem + "_" + std::to_string(n) + extension;
    }
    const std::filesystem::path target = folder / name;
    std::filesystem::copy_file(file, target, std::filesystem::copy_options::none, ec);
    if (ec)
        throw IoError(file.string() + ": cannot be copied into " + folder.string() + " (" + ec.message() + ")");
    return target;
}
