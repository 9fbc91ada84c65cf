#pragma once
// The one way documents and settings reach the disk: the bytes go to a temporary file in the
// target's folder, which is then renamed over the target, so a failed save leaves the old file
// whole. Every failure throws IoError naming the file.
//
// A save keeps what the user set up: through a symbolic link it writes the file the link names
// and leaves the link; an existing file keeps its permissions (and its owner, where the saving
// user may give it); a file the user may not write is not replaced, the save fails as a direct
// write would.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// A private file (a recovery copy of the user's work) is readable by its owner alone (0600)
// whatever the file it replaces allowed, and a link in its place is replaced, never followed.
enum class FileAccess { Usual, Private };

void WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         FileAccess access = FileAccess::Usual);
void WriteFileAtomically(const std::filesystem::path& target, std::string_view text,
                         FileAccess access = FileAccess::Usual);

// The same for a file written piece by piece (the copier's blocks): nothing reaches the target
// until Commit, and a writer dropped before it removes its temporary file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::filesystem::path& target, FileAccess access = FileAccess::Usual);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    // Flushes the file to the disk and renames it over the target. Copies that can be made again
    // from their source (a deployed game) may skip the wait for the disk.
    enum class Sync { ToDisk, Skip };
    void Commit(Sync sync = Sync::ToDisk);

private:
    [[noreturn]] void fail(const std::string& why);

    std::string name_;   // as the caller named it, for messages
    std::string target_; // the file written: behind the links the name may go through
    std::string temp_;
    int fd_ = -1;
};

// Tests make saves fail through this: when set and answering true for a target, the write fails
// after the temporary file was written, as a full disk would.
using WriteFaultHook = bool (*)(const std::filesystem::path& target);
void SetWriteFaultHook(WriteFaultHook hook);
