#pragma once
// Names that come from data files and fixed lists ("TEXTURES\BRICK.PCX", "Ormel2.dic") may
// differ from the disk in letter case and may use "\" between folders. They are opened through
// this resolver, so a game folder made on a case-blind system works here unchanged.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The path on disk that `name` means, relative to `base` (the current folder when empty):
// an existing exact path is used as it is; otherwise each component ("/" and "\" both separate
// them) is matched without regard to case. Of a name that resolves to nothing, the folders that
// exist come as they are on disk and the rest as written, each part a component of its own: a
// file or folder made there is found by the same name later.
std::filesystem::path ResolvePath(std::string_view name, const std::filesystem::path& base = {});

// The current folder + "/" + name, resolved: how every settings file and dictionary is addressed.
std::filesystem::path FileInCurrentFolder(std::string_view name);

// Case-blind equality of two names, as the resolver compares components and INI files their
// section names: the letters of Windows-1252 (é and É, œ and Œ, š and Š ...) match their capitals.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// True when a name ends in Extension, given with its dot (".BMP"), in any case: the last four
// characters are compared, so only extensions of three characters can match.
bool HasExtension(std::string_view name, std::string_view extension);

// The name of `path` below `folder`, with "/" between folders, when the path lies inside that
// folder: the folder's own text (letter case aside) followed by a separator, then a name.
// "/" and "\" both separate; "." parts and doubled separators do not count. Anything else (a
// sibling "/game2" of "/game", the folder itself, a path merely containing the folder's text,
// an empty folder) gives nothing.
std::optional<std::string> NameInsideFolder(std::string_view path, std::string_view folder);
