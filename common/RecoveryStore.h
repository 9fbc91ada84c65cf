#pragma once
// Recovery copies of unsaved work, kept in the user's data folder (never the game folder), so
// a program that stops without saving (a crash, a killed process, a power cut) can offer the
// work back at its next start.
//
// Each running program writes two files, named after the program and its process:
//   <Program>-<process>-<start>.<ext>   the document in its own format (the editor's bytes)
//   <Program>-<process>-<start>.recovery a description, UTF-8 lines "key=value":
//       Program=Tessaro3D
//       Original=/home/ann/game/HOUSE.3DO   (empty for a document never saved)
//       Saved=2026-12-08T08:29:19Z         (UTC, when the copy was written)
//       Process=4242                       (the process that wrote it)
//       Copy=Tessaro3D-4242-1765182559.3do (the copy beside it)
// Both go through the safe-write path, the copy first, so a description always names a whole
// copy. The files are removed when the work is saved or discarded and at a clean exit.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

struct RecoveryDescription {
    std::string program;
    std::string original;
    std::string saved;
    std::int64_t process = 0;
    std::string copy;
};

// A recovery left by a program that is no longer running.
struct PendingRecovery {
    std::filesystem::path description; // the .recovery file
    RecoveryDescription about;          // as far as it could be read
    std::filesystem::path copy;         // the document copy; empty when damaged
    std::string damage;                 // why it cannot be used; empty when it can
};

class RecoveryStore {
public:
    // The store of `program` in `folder`, for this process; the folder is made when first written.
    RecoveryStore(std::filesystem::path folder, std::string program);

    // Writes this process's copy of the document (replacing the last one) and its description.
    // `original` is the document's file, empty when it has none; the copy takes its extension,
    // or `extension` ("3do") for a document without a file. Throws IoError.
    void Write(std::span<const std::uint8_t> bytes, const std::filesystem::path& original, const std::string& extension);
    // Removes this process's files, if any. Never throws.
    void Remove() noexcept;
    bool Holds() const;

    // The recoveries of this program left by processes that are no longer running, or by this
    // process in an earlier life of its state (a test dropping a window without a clean exit),
    // oldest first. Damaged ones are listed with the reason.
    std::vector<PendingRecovery> Pending() const;
    // Deletes a recovery's files (the user discarded it, or recovered it and has it open now).
    static void Delete(const PendingRecovery& recovery) noexcept;
    // Renames a damaged recovery's files with the suffix ".damaged", out of the next offers; the
    // description's new path.
    static std::filesystem::path SetAside(const PendingRecovery& recovery);

    // Reads a description; throws FormatError naming the file when a key is missing or wrong.
    static RecoveryDescription ReadDescription(const std::filesystem::path& file);

    const std::filesystem::path& Folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::string program_;
    std::string id_;
    std::filesystem::path copy_; // the last copy written, to remove when its extension changes
};

// True when a process with this id runs on this machine now.
bool ProcessIsRunning(std::int64_t process);
