#include "dircpy.h"

#include "CopierTestHooks.h"
#include "Errors.h"
#include "FileResolver.h"
#include "FolderContainment.h"
#include "SafeWrite.h"
#include "WildcardMask.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char Separator = static_cast<char>(fs::path::preferred_separator);
const std::string AllNames = "*.*";

bool isSeparator(char c)
{
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

std::size_t lastSeparator(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1]))
            return i - 1;
    return std::string::npos;
}

// The folder part of a path with its trailing separator, or empty for a bare name.
std::string folderPart(const std::string& path)
{
    const std::size_t cut = lastSeparator(path);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string namePart(const std::string& path)
{
    const std::size_t cut = lastSeparator(path);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string withoutTrailingSeparator(std::string path)
{
    if (!path.empty() && isSeparator(path.back()))
        path.pop_back();
    return path;
}

fs::path listedFolder(const std::string& folder) { return folder.empty() ? fs::path(".") : fs::path(folder); }

enum class EntryKind {
    File,         // a plain file, a link to one, or a link leading nowhere (its copy fails)
    Folder,       // a folder of the tree itself
    LinkedFolder, // a link to a folder, which may lead anywhere
    Special,      // a named pipe, socket or device, or a link to one: never opened
};

struct Listed {
    std::string name;
    EntryKind kind;
};

bool isSpecial(fs::file_type type)
{
    return type != fs::file_type::regular && type != fs::file_type::directory &&
           type != fs::file_type::not_found && type != fs::file_type::none && type != fs::file_type::unknown;
}

// The listing already knows the kind of every entry but a link, so only links cost a look.
EntryKind kindOf(const fs::directory_entry& entry)
{
    std::error_code ec;
    if (entry.is_directory(ec)) // what a link leads to
        return entry.is_symlink(ec) ? EntryKind::LinkedFolder : EntryKind::Folder;
    return entry.is_regular_file(ec) || !entry.exists(ec) ? EntryKind::File : EntryKind::Special;
}

// The entries of `folder` matching `mask`, read whole before anything is changed in it.
std::vector<Listed> listMatching(const std::string& folder, const std::string& mask)
{
    std::vector<Listed> entries;
    std::error_code ec;
    for (fs::directory_iterator it(listedFolder(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (MatchesMask(name, mask))
            entries.push_back({std::move(name), kindOf(*it)});
    }
    return entries;
}

// The real folder a path leads to, the key of the folders a copy has entered.
std::string realFolder(const std::string& folder)
{
    std::error_code ec;
    const fs::path real = fs::canonical(listedFolder(folder), ec);
    return ec ? folder : real.string();
}

// Two names of one file (the same text, a link, a hard link) must never be copied onto each
// other: creating the target would empty the source.
bool sameFile(const std::string& source, const std::string& target)
{
    std::error_code ec;
    return source == target || fs::equivalent(source, target, ec);
}

// Percentages travel as 16-bit values, as the progress event declares them.
std::uint16_t percent(double accumulated)
{
    return static_cast<std::uint16_t>(static_cast<std::int64_t>(accumulated));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Blocks go straight to the system: the stream's own buffer would only copy them again.
FileHandle openUnbuffered(const std::string& name, const char* mode)
{
    FileHandle file(std::fopen(name.c_str(), mode));
    if (file)
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

// Programs keep their execute permission in the copy, so a deployed player still starts.
void carryExecutePermission(const std::string& source, const std::string& target)
{
    constexpr fs::perms execute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    std::error_code ec;
    const fs::perms bits = fs::status(source, ec).permissions() & execute;
    if (!ec && bits != fs::perms::none)
        fs::permissions(target, bits, fs::perm_options::add, ec);
}

std::function<void()>& messageBeep()
{
    static std::function<void()> beep;
    return beep;
}

// DeleteFolder, or with an extension PurgeExtension: every file of the tree goes, or every file
// of that kind, which leaves the folders.
bool deleteTree(const std::string& Folder, const std::string* Extension)
{
    try {
        const std::string folder = withoutTrailingSeparator(Folder);
        // A root or nothing: never emptied.
        if (folder.empty() || IsFileSystemRoot(folder))
            return false;
        // A file that cannot be deleted is passed over: this copier reports to no one.
        TFileCopyNew copier;
        copier.IncludeSubFolders = true;
        copier.ShowProgressOnMemo = false;
        const std::string all = folder + Separator + AllNames;
        if (Extension) {
            copier.DeleteFilesOfType(all, *Extension, false);
        } else {
            copier.DeleteFiles(all, true);
            std::error_code ec;
            fs::remove(folder, ec);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

void SetMessageBeep(std::function<void()> beep) { messageBeep() = std::move(beep); }

void TFileCopyNew::Execute()
{
    if (SourceFile.empty())
        return ReportError("I can't copy\rSource File name missing");
    if (TargetFile.empty())
        return ReportError("I can't copy\rTarget File name missing");
    if (!CopyFiles(SourceFile, TargetFile))
        ReportError("Execution failed :\r\r" + SourceFile + " -> " + TargetFile);
}

bool TFileCopyNew::CopyFiles(const std::string& Source, const std::string& Target)
{
    Visited visited;
    return copyMatching(Source, Target, visited);
}

bool TFileCopyNew::copyMatching(const std::string& Source, const std::string& Target, Visited& visited)
{
    if (Source.find('*') == std::string::npos) {
        const bool copied = CopyOneFile(Source, Target);
        if (Memo)
            Memo->Lines.push_back((copied ? "Ok - " : "failed - ") + Source);
        return copied;
    }

    const std::string mask = namePart(Source);
    const std::string SourcePath = folderPart(Source);
    const std::vector<Listed> entries = listMatching(SourcePath, mask);
    if (entries.empty())
        return true;
    visited.insert(realFolder(SourcePath));

    const std::string TargetPath = folderPart(Target); // ends with a separator unless empty
    if (!TargetPath.empty() && !FolderExists(TargetPath))
        ForceFolders(TargetPath);

    const auto skip = [this](const std::string& name, TSkipReason why) {
        if (OnSkipped)
            OnSkipped(*this, name, why);
    };
    bool result = true;
    bool recursionChecked = false;
    for (const Listed& entry : entries) {
        const std::string SourceName = SourcePath + entry.name;
        const std::string TargetName = TargetPath + entry.name;
        if (entry.kind == EntryKind::Special) {
            skip(SourceName, TSkipReason::SpecialFile);
            continue;
        }
        if (entry.kind == EntryKind::File) {
            const bool copied = CopyOneFile(SourceName, TargetName);
            ShowProgress((copied ? "Ok - " : "failed - ") + SourceName);
            result = result && copied;
            continue;
        }
        if (!IncludeSubFolders)
            continue;
        // A target inside the source would be copied into itself without end.
        if (!recursionChecked) {
            if (IsSameOrInsideFolder(TargetPath, SourcePath)) {
                ReportError("ERROR : folder recursion\r\rCan't copy !");
                return false;
            }
            recursionChecked = true;
        }
        // Links may lead to a folder entered already, or back up to one holding this one: either
        // would copy the same files again, the second without end.
        if (entry.kind == EntryKind::LinkedFolder &&
            (visited.contains(realFolder(SourceName)) || IsSameOrInsideFolder(SourcePath, SourceName))) {
            skip(SourceName, TSkipReason::RepeatedFolder);
            continue;
        }
        if (!FolderExists(TargetName))
            ForceFolders(TargetName);
        copyMatching(SourceName + Separator + mask, TargetName + Separator, visited);
    }
    return result;
}

bool TFileCopyNew::CopyOneFile(const std::string& Source, const std::string& Target)
{
    if (sameFile(Source, Target)) {
        ReportError("Error !!!\rI can't copy " + Source + " on itself");
        return false;
    }

    std::error_code ec;
    if (isSpecial(fs::status(Source, ec).type())) {
        ReportError(Source + " is a named pipe, socket or device: not copied");
        return false;
    }

    std::vector<std::uint8_t> CopyBuffer(CopyBlockSize);
    const FileHandle in = openUnbuffered(Source, "rb");
    const std::uintmax_t size = in ? fs::file_size(Source, ec) : 0;
    if (!in || ec) {
        if (messageBeep())
            messageBeep()();
        ReportError(Source + " missing or corrupted or opened for exclusive use");
        return false;
    }

    // One full block adds `step` percent; an empty file reports only its final 100/100.
    const bool reportBlocks = size > 0;
    const double step = reportBlocks ? 100.0 / (static_cast<double>(size) / static_cast<double>(CopyBlockSize)) : 0.0;
    double readAcc = 0;
    double writtenAcc = 0;
    const auto report = [&] {
        if (reportBlocks && OnCopyProgress)
            OnCopyProgress(*this, percent(readAcc), percent(writtenAcc));
    };

    // An existing target is kept when the handler answers no; without a handler it is written.
    if (OnOverriding && fs::exists(Target, ec)) {
        bool CanOverride = false;
        OnOverriding(*this, CanOverride);
        if (!CanOverride)
            return true;
    }

    // The copy is written beside the target and takes its place only when whole: a failed copy
    // leaves an existing target as it was, and no shortened file behind. Its source is still
    // there, so it does not wait for the disk as a saved document does (three times faster).
    std::optional<AtomicFileWriter> out;
    try {
        out.emplace(Target);
    } catch (const IoError&) {
        ReportError("Error on creating " + Target);
        return false;
    }

    fileInProgress_ = Source;
    const std::string writeError = "Write error on \r" + Target + "\r" + "Copy failed.";
    for (;;) {
        const std::size_t got = std::fread(CopyBuffer.data(), 1, CopyBlockSize, in.get());
        if (got < CopyBlockSize && std::ferror(in.get())) {
            fileInProgress_.clear();
            ReportError("Read error on \r" + Source + "\r" + "Copy failed.");
            return false;
        }
        readAcc += step;
        report();
        try {
            out->Write(std::span(CopyBuffer.data(), got));
            if (got == 0)
                out->Commit(AtomicFileWriter::Sync::Skip);
        } catch (const IoError&) {
            fileInProgress_.clear();
            ReportError(writeError);
            return false;
        }
        writtenAcc += step;
        report();
        if (got == 0)
            break;
    }
    fileInProgress_.clear();
    carryExecutePermission(Source, Target);
    if (OnCopyProgress)
        OnCopyProgress(*this, 100, 100);
    return true;
}

bool TFileCopyNew::DeleteFiles(const std::string& Pattern, bool RemoveFolders)
{
    return deleteMatching(Pattern, nullptr, RemoveFolders);
}

bool TFileCopyNew::DeleteFilesOfType(const std::string& Pattern, const std::string& Extension, bool RemoveFolders)
{
    return deleteMatching(Pattern, &Extension, RemoveFolders);
}

bool TFileCopyNew::deleteMatching(const std::string& Pattern, const std::string* Extension, bool RemoveFolders)
{
    if (Pattern.find('*') == std::string::npos) {
        const bool deleted = DeleteOneFile(Pattern);
        if (Memo)
            Memo->Lines.push_back((deleted ? "Ok - " : "failed - ") + Pattern);
        return deleted;
    }

    const std::string mask = namePart(Pattern);
    const std::string folder = folderPart(Pattern);
    bool result = true;
    for (const Listed& entry : listMatching(folder, mask)) {
        const std::string Name = folder + entry.name;
        // A linked folder is removed as a link: what it leads to lies outside this tree.
        if (entry.kind == EntryKind::Folder) {
            if (IncludeSubFolders)
                deleteMatching(Name + Separator + mask, Extension, RemoveFolders);
            if (RemoveFolders) {
                std::error_code ec;
                fs::remove(Name, ec); // a folder that is not empty stays
            }
            continue;
        }
        if (Extension && !HasExtension(Name, *Extension))
            continue;
        const bool deleted = DeleteOneFile(Name);
        ShowProgress((deleted ? "Ok - " : "failed - ") + Name);
        result = result && deleted;
    }
    return result;
}

bool TFileCopyNew::DeleteOneFile(const std::string& Name)
{
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(Name, ec)))
        return false;
    if (DeleteFaultInjected(Name))
        return false;
    return fs::remove(Name, ec) && !ec;
}

void TFileCopyNew::ReportError(const std::string& Message)
{
    if (OnError)
        OnError(*this, Message);
}

void TFileCopyNew::ShowProgress(const std::string& Line)
{
    if (!ShowProgressOnMemo)
        return;
    if (Memo)
        Memo->Lines.push_back(Line);
    else
        ReportError("Error : you must assign an exsisting TMemo to memo property,\rbefore setting ShowProgressOnMemo = True");
}

bool CopyFolder(const std::string& Source, const std::string& Target, const TCopyEvents& events)
{
    try {
        std::error_code ec;
        if (fs::equivalent(Source, Target, ec))
            return true;
        const std::string source = withoutTrailingSeparator(Source);
        const std::string target = withoutTrailingSeparator(Target);
        TFileCopyNew copier;
        copier.IncludeSubFolders = true;
        copier.OnCopyProgress = events.OnCopyProgress;
        copier.OnError = events.OnError;
        copier.OnSkipped = events.OnSkipped;
        copier.ShowProgressOnMemo = false; // there is no memo: errors only
        copier.SourceFile = source + Separator + AllNames;
        copier.TargetFile = target + Separator + AllNames;
        ForceFolders(target);
        // Not Execute: both names are given, and its closing "Execution failed" line would only
        // repeat, as if it were one more file, the failures already reported one by one.
        copier.CopyFiles(copier.SourceFile, copier.TargetFile);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool DeleteFolder(const std::string& Folder) { return deleteTree(Folder, nullptr); }

bool PurgeExtension(const std::string& Folder, const std::string& Extension) { return deleteTree(Folder, &Extension); }

bool FolderExists(const std::string& Path)
{
    std::error_code ec;
    return fs::is_directory(Path, ec);
}

bool ForceFolders(const std::string& Path)
{
    const std::string folder = withoutTrailingSeparator(Path);
    if (folder.empty())
        throw IoError("A folder to create needs a name");
    std::error_code ec;
    fs::create_directories(folder, ec);
    return FolderExists(folder);
}
