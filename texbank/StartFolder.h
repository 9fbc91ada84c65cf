#pragma once
// Image names in a bank are relative to the start folder, the folder that was current when the
// editor started. An image chosen elsewhere cannot be named that way and is refused.
#include <optional>
#include <string>
#include <string_view>

// The name a bank keeps for the image at `path`: its name inside `folder`, with "\\" between
// folders as bank files write them, so that a bank moves between systems unchanged.
std::optional<std::string> BankImageName(std::string_view path, std::string_view folder);
