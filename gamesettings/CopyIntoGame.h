#pragma once
// A file chosen from outside the game folder is of no use to the game, which finds its files
// only there: the parameters editor offers to copy it in.
#include <filesystem>

// A copy of `file` in `folder` under the file's own name, or NAME_2.EXT, NAME_3.EXT ... when
// another file has that name (letter case aside, as the game's system matches names); a file of
// that name holding the same bytes is taken as the copy. IoError naming the file when it cannot
// be copied.
std::filesystem::path CopyIntoFolder(const std::filesystem::path& file, const std::filesystem::path& folder);
