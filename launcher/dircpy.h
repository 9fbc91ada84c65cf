#pragma once
// The file and folder copier: copies one file or every file matching a wildcard mask ("*.*",
// "*.PCX", "LEVEL?.LEV"), optionally through all subfolders, in fixed 16,384-byte blocks,
// reporting progress and every problem through its events. It deletes files the same way.
// The folder routines at the bottom build the launcher's deploy on it.
//
// Masks are matched as WildcardMask.h says: without regard to letter case, "*.*" every name,
// hidden ones included. Paths are plain texts joined with the system's separator.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

class TFileCopyNew;

// Percentages read and written so far of the file being copied. They may pass 100 on the last
// blocks; a final 100/100 report closes every successful copy.
using TCopyProgressEvent = std::function<void(TFileCopyNew& Sender, std::uint16_t read, std::uint16_t written)>;
// Asked before an existing target file is written; CanOverride comes in false, and a false answer
// skips the file (not a failure). Without a handler existing targets are written.
using TOnOverriding = std::function<void(TFileCopyNew& Sender, bool& CanOverride)>;
using TOnError = std::function<void(TFileCopyNew& Sender, const std::string& ErrorMsg)>;

// Why a wildcard copy passed an entry over. Neither is a failure: the entry is left out on
// purpose and told through OnSkipped.
enum class TSkipReason {
    SpecialFile,     // a named pipe, socket or device: opening one may wait for ever or never end
    RepeatedFolder,  // a linked folder leading to a folder copied already, or to one holding it
};
using TOnSkipped = std::function<void(TFileCopyNew& Sender, const std::string& Name, TSkipReason Why)>;

// The lines of a multi-line text control that receives the progress lines.
struct TMemo {
    std::vector<std::string> Lines;
};

inline constexpr std::size_t CopyBlockSize = 16384;

class TFileCopyNew {
public:
    TCopyProgressEvent OnCopyProgress;
    TOnOverriding OnOverriding;
    TOnError OnError;
    TOnSkipped OnSkipped;
    std::string SourceFile;          // a file, or a folder followed by a mask
    std::string TargetFile;          // a file, or a folder followed by a mask (only its folder is used)
    bool IncludeSubFolders = false;  // wildcard operations descend into subfolders
    TMemo* Memo = nullptr;           // not owned
    bool ShowProgressOnMemo = true;  // wildcard operations add one line per file to Memo

    // Copies SourceFile to TargetFile after checking that both are given.
    void Execute();
    // Copies one file or a wildcard set. With IncludeSubFolders every folder is entered once:
    // a linked folder leading to one copied already (or to one holding it) is skipped, so links
    // that point at each other cannot copy the same files again and again.
    bool CopyFiles(const std::string& Source, const std::string& Target);
    // Copies one plain file; a pipe, socket or device is refused without being opened.
    bool CopyOneFile(const std::string& Source, const std::string& Target);
    bool DeleteFiles(const std::string& Pattern, bool RemoveFolders);
    // As DeleteFiles, wildcard matches limited to names ending in Extension (".BMP", any case).
    bool DeleteFilesOfType(const std::string& Pattern, const std::string& Extension, bool RemoveFolders);
    bool DeleteOneFile(const std::string& Name);
    void ReportError(const std::string& Message);
    void ShowProgress(const std::string& Line);

    // The source of the copy in progress, for progress displays; empty between copies.
    const std::string& FileInProgress() const { return fileInProgress_; }

private:
    using Visited = std::set<std::string>;
    bool copyMatching(const std::string& Source, const std::string& Target, Visited& visited);
    bool deleteMatching(const std::string& Pattern, const std::string* Extension, bool RemoveFolders);

    std::string fileInProgress_;
};

// The events a folder routine passes on to its copier; any may be empty.
struct TCopyEvents {
    TCopyProgressEvent OnCopyProgress;
    TOnError OnError;
    TOnSkipped OnSkipped;
};

// Whole-folder operations; each uses a fresh copier that reports nothing but what `events` asks
// for. An error inside one ends it with false. The two deleting ones refuse an empty name or a
// file-system root (false, nothing deleted): "/" with its separator taken off would otherwise
// mean the whole disk.
// Copies the Source tree into Target (created with its parents). Each file that cannot be copied
// is reported once through `events.OnError`; no summary line follows them.
bool CopyFolder(const std::string& Source, const std::string& Target, const TCopyEvents& events = {});
// Removes every file and subfolder of Folder, then Folder itself. Linked folders inside are
// unlinked, never entered.
bool DeleteFolder(const std::string& Folder);
// Deletes every file whose name ends in Extension throughout the Folder tree; folders stay.
bool PurgeExtension(const std::string& Folder, const std::string& Extension);
bool FolderExists(const std::string& Path);
// Creates Path and every missing parent; a trailing separator is ignored. False when a folder
// cannot be made; an empty Path throws IoError.
bool ForceFolders(const std::string& Path);

// The system's default beep, sounded when a source file cannot be opened. Programs with a
// window install theirs; without one the copier stays silent.
void SetMessageBeep(std::function<void()> beep);
