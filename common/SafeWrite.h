#pragma once
// The one way documents and settings reach the disk: the bytes go to a temporary file in the
// target's folder, which is then renamed over the target, so a failed save leaves the old file
// whole. Every failure throws IoError naming the file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

void WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
void WriteFileAtomically(const std::filesystem::path& target, std::string_view text);

// Tests make saves fail through this: when set and answering true for a target, the write fails
// after the temporary file was written, as a full disk would.
using WriteFaultHook = bool (*)(const std::filesystem::path& target);
void SetWriteFaultHook(WriteFaultHook hook);
