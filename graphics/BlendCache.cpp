#include "BlendCache.h"

#include "Errors.h"
#include "FileResolver.h"
#include "SafeWrite.h"

#include <fstream>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool readCache(const fs::path& file, BlendTables& tables)
{
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) != BlendTables::Size || ec)
        return false;
    std::ifstream in(file, std::ios::binary);
    // Read into a copy: a read that fails halfway must not leave the tables half old, half new.
    auto bytes = std::make_unique<BlendTables>();
    if (!in.read(reinterpret_cast<char*>(bytes->entries.data()), BlendTables::Size))
        return false;
    tables.entries = bytes->entries;
    return true;
}

} // namespace

std::string BlendCacheName(std::string_view bankPath)
{
    const std::size_t keep = bankPath.size() >= 4 ? bankPath.size() - 4 : 0;
    return std::string(bankPath.substr(0, keep)) + ".POT";
}

BlendCacheResult LoadOrBuildBlendTables(std::string_view bankPath, const PalettePlanes& bankPalette, BlendTables& tables,
                                        BlendCacheUse use)
{
    BlendCacheResult result;
    result.cacheFile = ResolvePath(BlendCacheName(bankPath));
    if (use == BlendCacheUse::ReadOrBuild && readCache(result.cacheFile, tables)) {
        result.readFromCache = true;
        return result;
    }
    BuildBlendTables(bankPalette, tables);
    try {
        WriteFileAtomically(result.cacheFile, std::span<const std::uint8_t>(tables.entries));
    } catch (const OrmelError& error) {
        result.writeError = error.what();
    }
    return result;
}

void DeleteBlendCache(std::string_view bankPath)
{
    const fs::path cache = BlendCacheName(bankPath);
    fs::path folder = cache.parent_path();
    const std::string name = cache.filename().string();
    std::error_code ec;
    const fs::path listed = folder.empty() ? fs::path(".") : ResolvePath(folder.string());
    for (fs::directory_iterator it(listed, ec), end; !ec && it != end; it.increment(ec)) {
        if (!SameNameIgnoringCase(it->path().filename().string(), name))
            continue;
        std::error_code removeError;
        if (!fs::remove(it->path(), removeError) && removeError)
            throw IoError("Cannot delete " + it->path().string() + ": " + removeError.message());
    }
}
