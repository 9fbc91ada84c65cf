#include "RecoveryStore.h"

#include "Errors.h"
#include "PrivateFolder.h"
#include "SafeWrite.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <tuple>
#include <unistd.h>

namespace {

constexpr const char* DescriptionSuffix = ".recovery";
constexpr const char* DamagedSuffix = ".damaged";
constexpr const char* LockSuffix = ".lock";
// The description's own keys (Process only in copies written before the lock files); any other is
// one of the editor's details.
const std::set<std::string> ReservedKeys{"Program", "Original", "Saved", "Copy", "Process"};

// A value is one line: backslashes and line breaks are escaped.
std::string escaped(const std::string& value)
{
    std::string out;
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescaped(const std::string& value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::string utcNow()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

// Unique among the stores of this process and of every process running at once.
std::string newId(const std::string& program)
{
    static std::atomic<int> made{0};
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch()).count();
    return program + "-" + std::to_string(::getpid()) + "-" + std::to_string(seconds) + "-" + std::to_string(made++);
}

std::string readAll(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw IoError("Cannot read " + file.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

RecoveryStore::RecoveryStore(std::filesystem::path folder, std::string program, RecoveryLocks locks)
    : folder_(std::move(folder))
    , program_(std::move(program))
    , locks_(std::move(locks))
    , id_(newId(program_))
{
}

void RecoveryStore::makeFolder() const { MakePrivateFolder(folder_, folder_.parent_path()); }

bool RecoveryStore::Holds() const
{
    std::error_code ec;
    return std::filesystem::exists(file(DescriptionSuffix), ec);
}

void RecoveryStore::Write(std::span<const std::uint8_t> bytes, const std::filesystem::path& original,
                          const std::string& extension, const std::map<std::string, std::string>& details)
{
    makeFolder();
    if (!locked_ && !locks_.take(file(LockSuffix)))
        throw IoError("Cannot write a recovery copy into " + folder_.string() + ": its lock file " +
                      file(LockSuffix).string() + " is held by another program");
    locked_ = true;
    std::string ext = original.extension().string();
    if (ext.empty())
        ext = "." + extension;
    const std::filesystem::path copy = file(ext);
    WriteFileAtomically(copy, bytes, FileAccess::Private);
    std::error_code ec;
    if (!copy_.empty() && copy_ != copy)
        std::filesystem::remove(copy_, ec);
    copy_ = copy;
    std::string description = "Program=" + escaped(program_) + "\nOriginal=" + escaped(original.string()) +
                              "\nSaved=" + utcNow() + "\nCopy=" + escaped(copy.filename().string()) + "\n";
    for (const auto& [key, value] : details)
        if (!ReservedKeys.contains(key) && key.find_first_of("=\n\r") == std::string::npos && !key.empty())
            description += key + "=" + escaped(value) + "\n";
    WriteFileAtomically(file(DescriptionSuffix), description, FileAccess::Private);
}

void RecoveryStore::Remove() noexcept
{
    std::error_code ec;
    std::filesystem::remove(file(DescriptionSuffix), ec);
    if (!copy_.empty())
        std::filesystem::remove(copy_, ec);
    copy_.clear();
    if (locked_)
        locks_.release(file(LockSuffix));
    locked_ = false;
}

RecoveryDescription RecoveryStore::ReadDescription(const std::filesystem::path& file)
{
    std::map<std::string, std::string> values;
    const std::string text = readAll(file);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = unescaped(line.substr(equals + 1));
        start = end + 1;
    }
    const auto need = [&](const char* key) {
        const auto found = values.find(key);
        if (found == values.end())
            throw FormatError(file.string() + ": no " + key + " line; this is not a recovery description");
        return found->second;
    };
    RecoveryDescription about;
    about.program = need("Program");
    about.original = need("Original");
    about.saved = need("Saved");
    about.copy = need("Copy");
    for (const auto& [key, value] : values)
        if (!ReservedKeys.contains(key))
            about.details[key] = value;
    if (about.copy.empty() || about.copy.find('/') != std::string::npos || about.copy.starts_with('.'))
        throw FormatError(file.string() + ": the Copy line names no file of the recovery folder");
    return about;
}

std::vector<PendingRecovery> RecoveryStore::Pending() const
{
    makeFolder();
    std::vector<PendingRecovery> pending;
    std::error_code ec;
    const std::string prefix = program_ + "-";
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || entry.path().extension() != DescriptionSuffix || name == id_ + DescriptionSuffix)
            continue;
        PendingRecovery recovery;
        recovery.description = entry.path();
        recovery.lock = std::filesystem::path(entry.path()).replace_extension(LockSuffix);
        if (!locks_.take(recovery.lock))
            continue; // the program that wrote it still runs
        try {
            recovery.about = ReadDescription(entry.path());
            const std::filesystem::path copy = folder_ / recovery.about.copy;
            if (!std::filesystem::is_regular_file(copy, ec))
                throw FormatError(copy.string() + ": the recovery copy is missing");
            recovery.copy = copy;
        } catch (const OrmelError& error) {
            recovery.damage = error.what();
        }
        pending.push_back(std::move(recovery));
    }
    std::sort(pending.begin(), pending.end(), [](const PendingRecovery& a, const PendingRecovery& b) {
        return std::tie(a.about.saved, a.description) < std::tie(b.about.saved, b.description);
    });
    return pending;
}

void RecoveryStore::Delete(const PendingRecovery& recovery) const noexcept
{
    std::error_code ec;
    if (!recovery.copy.empty())
        std::filesystem::remove(recovery.copy, ec);
    std::filesystem::remove(recovery.description, ec);
    Leave(recovery);
}

void RecoveryStore::Leave(const PendingRecovery& recovery) const noexcept { locks_.release(recovery.lock); }

std::filesystem::path RecoveryStore::SetAside(const PendingRecovery& recovery) const
{
    std::error_code ec;
    const std::filesystem::path folder = recovery.description.parent_path();
    if (!recovery.about.copy.empty() && recovery.about.copy.find('/') == std::string::npos &&
        std::filesystem::is_regular_file(folder / recovery.about.copy, ec))
        std::filesystem::rename(folder / recovery.about.copy, folder / (recovery.about.copy + DamagedSuffix), ec);
    std::filesystem::path aside = recovery.description;
    aside += DamagedSuffix;
    std::filesystem::rename(recovery.description, aside, ec);
    Leave(recovery);
    if (ec)
        throw IoError("Cannot rename " + recovery.description.string() + ": " + ec.message());
    return aside;
}
