#pragma once
// The file and folder copier: copies one file or every file matching a wildcard mask ("*.*",
// "*.PCX", "LEVEL?.LEV"), optionally through all subfolders, in fixed 16,384-byte blocks,
// reporting progress and every problem through its events. It deletes files the same way.
// The folder routines at the bottom build the launcher's deploy on it.
//
// Masks are matched without regard to letter case; "*.*" means every name, with or without a
// dot, hidden ones included. Paths are plain texts joined with the system's separator.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TFileCopyNew;

// Percentages read and written so far of the file being copied. They may pass 100 on the last
// blocks; a final 100/100 report closes every successful copy.
using TCopyProgressEvent = std::function<void(TFileCopyNew& Sender, std::uint16_t read, std::uint16_t written)>;
// Asked before an existing target file is written; CanOverride comes in false, and a false answer
// skips the file (not a failure). Without a handler existing targets are written.
using TOnOverriding = std::function<void(TFileCopyNew& Sender, bool& CanOverride)>;
using TOnError = std::function<void(TFileCopyNew& Sender, const std::string& ErrorMsg)>;

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
    std::string SourceFile;          // a file, or a folder followed by a mask
    std::string TargetFile;          // a file, or a folder followed by a mask (only its folder is used)
    bool IncludeSubFolders = false;  // wildcard operations descend into subfolders
    TMemo* Memo = nullptr;           // not owned
    bool ShowProgressOnMemo = true;  // wildcard operations add one line per file to Memo

    // Copies SourceFile to TargetFile after checking that both are given.
    void Execute();
    bool CopyFiles(const std::string& Source, const std::string& Target);
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
    bool deleteMatching(const std::string& Pattern, const std::string* Extension, bool RemoveFolders);

    std::string fileInProgress_;
};

// Whole-folder operations; each uses a fresh copier that reports nothing. An error inside one
// ends it with false. The two deleting ones refuse an empty name or a file-system root (false,
// nothing deleted): "/" with its separator taken off would otherwise mean the whole disk.
// Copies the Source tree into Target (created with its parents). `onProgress` and `onError`,
// when given, receive the copier's progress and error events.
bool CopyFolder(const std::string& Source, const std::string& Target, const TCopyProgressEvent& onProgress = {},
                const TOnError& onError = {});
// Removes every file and subfolder of Folder, then Folder itself. Linked folders inside are
// unlinked, never entered.
bool DeleteFolder(const std::string& Folder);
// Deletes every file whose name ends in Extension throughout the Folder tree; folders stay.
bool PurgeExtension(const std::string& Folder, const std::string& Extension);
bool FolderExists(const std::string& Path);
// Creates Path and every missing parent; a trailing separator is ignored. False when a folder
// cannot be made; an empty Path throws IoError.
bool ForceFolders(const std::string& Path);

// True when `folder` is `outer` or lies inside it, comparing the real folders on disk (links
// followed, a relative path taken from the current folder); parts that do not exist yet are
// compared as written.
bool IsSameOrInsideFolder(const std::string& folder, const std::string& outer);

// True when a name ends in Extension, given with its dot (".BMP"), in any case: the last four
// characters are compared, so only extensions of three characters can match.
bool HasExtension(const std::string& name, const std::string& extension);

// Tests make deletions fail through this: when set and answering true for a file, DeleteOneFile
// leaves it and reports failure, as a file the system refuses to delete.
using DeleteFaultHook = bool (*)(const std::string& name);
void SetDeleteFaultHook(DeleteFaultHook hook);

// Case-blind wildcard match of a file name: "*" any run of characters, "?" one character;
// "*.*" matches every name.
bool MatchesMask(std::string_view name, std::string_view mask);

// The system's default beep, sounded when a source file cannot be opened. Programs with a
// window install theirs; without one the copier stays silent.
void SetMessageBeep(std::function<void()> beep);
