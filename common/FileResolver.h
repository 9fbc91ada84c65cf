#pragma once
// Names that come from data files and fixed lists ("TEXTURES\BRICK.PCX", "Ormel2.dic") may
// differ from the disk in letter case and may use "\" between folders. They are opened through
// this resolver, so a game folder made on a case-blind system works here unchanged.
#include <filesystem>
#include <string>
#include <string_view>

// The path on disk that `name` means, relative to `base` (the current folder when empty):
// an existing exact path is used as it is; otherwise each component ("/" and "\" both separate
// them) is matched without regard to case. A name that resolves to nothing is returned as
// written (with `base` in front), so messages still name it.
std::filesystem::path ResolvePath(std::string_view name, const std::filesystem::path& base = {});

// The current folder + "/" + name, resolved: how every settings file and dictionary is addressed.
std::filesystem::path FileInCurrentFolder(std::string_view name);

// Case-blind equality of two names, as the resolver compares components (ASCII letters only).
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
