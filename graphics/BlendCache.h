#pragma once
// The blend-table cache beside each texture bank: the BlendTables exactly as in memory,
// 1,114,112 bytes, level 0 first, no header. Its name is the bank's path less its last four
// characters (".def") followed by ".POT"; the name is matched without regard to case.
#include "ColourTables.h"

#include <filesystem>
#include <string>
#include <string_view>

// "walls.def" -> "walls.POT", not resolved on disk.
std::string BlendCacheName(std::string_view bankPath);

enum class BlendCacheUse {
    ReadOrBuild, // read the cache when it has the right size, else build the tables and write it
    Rebuild,     // build the tables and write the cache whatever is there
};

struct BlendCacheResult {
    std::filesystem::path cacheFile;
    bool readFromCache = false;
    // Set when the tables were built but could not be written; the tables are good all the same.
    std::string writeError;
};

// Fills `tables` for the bank: from its cache, or built from the bank palette and then written to
// the cache. A cache of any other size than BlendTables::Size, or one that cannot be read, is
// built anew and written again. Never throws for the cache's sake.
BlendCacheResult LoadOrBuildBlendTables(std::string_view bankPath, const PalettePlanes& bankPalette, BlendTables& tables,
                                        BlendCacheUse use = BlendCacheUse::ReadOrBuild);

// Deletes the bank's cache after the bank was saved, whatever the letter case of its name, so
// that the tables are built again from the bank's new palette. A missing cache is no error; one
// that cannot be deleted throws IoError naming it.
void DeleteBlendCache(std::string_view bankPath);
