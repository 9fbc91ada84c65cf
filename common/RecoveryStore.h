#pragma once
// Recovery copies of unsaved work, kept in the user's data folder (never the game folder), so
// a program that stops without saving (a crash, a killed process, a power cut) can offer the
// work back at its next start.
//
// Each running program writes three files, named after the program, its process and its start:
//   <id>.<ext>       the document in its own format (the editor's bytes)
//   <id>.recovery    a description, UTF-8 lines "key=value":
//       Program=Tessaro3D
//       Original=/home/ann/game/HOUSE.3DO   (empty for a document never saved)
//       Saved=2026-12-08T08:29:19Z         (UTC, when the copy was written)
//       Copy=Tessaro3D-4242-1765182559-0.3do (the copy beside it)
//       Bank=/home/ann/game/DEMO.DEF       (any further key: the editor's own details)
//   <id>.lock        held by the running program while the copy is its own (RecoveryLocks); a
//                    copy whose lock nobody holds was left behind.
// The folder is private (0700, the user's own, no link) and the copies 0600. The copy is written
// first, so a description always names a whole copy. The files are removed when the work is saved
// or discarded and at a clean exit.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

struct RecoveryDescription {
    std::string program;
    std::string original;
    std::string saved;
    std::string copy;
    std::map<std::string, std::string> details; // the editor's own keys (a bank, a view)
};

// A recovery left by a program that is no longer running.
struct PendingRecovery {
    std::filesystem::path description; // the .recovery file
    std::filesystem::path lock;        // its lock file, held by the caller of Pending now
    RecoveryDescription about;         // as far as it could be read
    std::filesystem::path copy;        // the document copy; empty when damaged
    std::string damage;                // why it cannot be used; empty when it can
};

// The lock files that tie a copy to the running program that owns it. `take` answers true when the
// lock is now the caller's (nobody held it, or its holder is gone, even when the system gave the
// holder's process number to another program since), false while a running program holds it;
// `release` gives a lock taken back and removes its file.
struct RecoveryLocks {
    std::function<bool(const std::filesystem::path& lock)> take;
    std::function<void(const std::filesystem::path& lock)> release;
};

class RecoveryStore {
public:
    // The store of `program` in `folder` for this process. The folder is made private when first
    // used; its parent, the program's own data folder, is checked as well.
    RecoveryStore(std::filesystem::path folder, std::string program, RecoveryLocks locks);

    // Writes this process's copy of the document (replacing the last one) and its description,
    // taking this process's lock first. `original` is the document's file, empty when it has none;
    // the copy takes its extension, or `extension` ("3do") for a document without a file. Throws
    // IoError, also when the folder is a link or another user's.
    void Write(std::span<const std::uint8_t> bytes, const std::filesystem::path& original, const std::string& extension,
               const std::map<std::string, std::string>& details = {});
    // Removes this process's copy and description, if any, and releases its lock. Never throws.
    void Remove() noexcept;
    bool Holds() const;

    // The recoveries of this program that no running program holds, oldest first, each one's lock
    // taken for this process until Delete, SetAside or Leave. Damaged ones are listed with the
    // reason. Throws IoError when the folder is a link or another user's.
    std::vector<PendingRecovery> Pending() const;
    // Deletes a recovery's files (the user discarded it, or recovered it and has it open now).
    void Delete(const PendingRecovery& recovery) const noexcept;
    // Renames a damaged recovery's files with the suffix ".damaged", out of the next offers; the
    // description's new path.
    std::filesystem::path SetAside(const PendingRecovery& recovery) const;
    // Leaves a recovery for a later start: its lock is released.
    void Leave(const PendingRecovery& recovery) const noexcept;

    // Reads a description; throws FormatError naming the file when a key is missing or wrong.
    static RecoveryDescription ReadDescription(const std::filesystem::path& file);

    const std::filesystem::path& Folder() const { return folder_; }

private:
    void makeFolder() const;
    std::filesystem::path file(const std::string& suffix) const { return folder_ / (id_ + suffix); }

    std::filesystem::path folder_;
    std::string program_;
    RecoveryLocks locks_;
    std::string id_;
    bool locked_ = false;        // this process's lock is taken
    std::filesystem::path copy_; // the last copy written, to remove when its extension changes
};
