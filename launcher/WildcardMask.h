#pragma once
// File-name patterns of the copier and of deploy's lists, matched as a case-blind file system
// matches them.
#include <string_view>

// Case-blind wildcard match of a file name: "*" any run of characters, "?" one character;
// "*.*" matches every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);
