#include "RecoveryStore.h"

#include "Errors.h"
#include "SafeWrite.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <signal.h>
#include <unistd.h>

namespace {

constexpr const char* DescriptionSuffix = ".recovery";
constexpr const char* DamagedSuffix = ".damaged";

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

bool ProcessIsRunning(std::int64_t process)
{
    if (process <= 0 || process != static_cast<pid_t>(process))
        return false;
    if (::kill(static_cast<pid_t>(process), 0) != 0 && errno != EPERM)
        return false;
    // A program killed a moment ago stays a zombie until its parent collects it (long, when that
    // is an init that reaps late): it runs no more, and its work is to be offered.
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const std::size_t nameEnd = line.rfind(')');
    const char state = nameEnd != std::string::npos && nameEnd + 2 < line.size() ? line[nameEnd + 2] : 'R';
    return state != 'Z' && state != 'X';
}

RecoveryStore::RecoveryStore(std::filesystem::path folder, std::string program)
    : folder_(std::move(folder))
    , program_(std::move(program))
    , id_(newId(program_))
{
}

bool RecoveryStore::Holds() const
{
    std::error_code ec;
    return std::filesystem::exists(folder_ / (id_ + DescriptionSuffix), ec);
}

void RecoveryStore::Write(std::span<const std::uint8_t> bytes, const std::filesystem::path& original,
                          const std::string& extension)
{
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (ec)
        throw IoError("Cannot make the folder " + folder_.string() + ": " + ec.message());
    std::string ext = original.extension().string();
    if (ext.empty())
        ext = "." + extension;
    const std::filesystem::path copy = folder_ / (id_ + ext);
    WriteFileAtomically(copy, bytes);
    if (!copy_.empty() && copy_ != copy)
        std::filesystem::remove(copy_, ec);
    copy_ = copy;
    const std::string description = "Program=" + escaped(program_) + "\nOriginal=" + escaped(original.string()) +
                                    "\nSaved=" + utcNow() + "\nProcess=" + std::to_string(::getpid()) +
                                    "\nCopy=" + escaped(copy.filename().string()) + "\n";
    WriteFileAtomically(folder_ / (id_ + DescriptionSuffix), description);
}

void RecoveryStore::Remove() noexcept
{
    std::error_code ec;
    std::filesystem::remove(folder_ / (id_ + DescriptionSuffix), ec);
    if (!copy_.empty())
        std::filesystem::remove(copy_, ec);
    copy_.clear();
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
    try {
        about.process = std::stoll(need("Process"));
    } catch (const std::logic_error&) {
        throw FormatError(file.string() + ": the Process line holds no number");
    }
    if (about.copy.empty() || about.copy.find('/') != std::string::npos || about.copy.starts_with('.'))
        throw FormatError(file.string() + ": the Copy line names no file of the recovery folder");
    return about;
}

std::vector<PendingRecovery> RecoveryStore::Pending() const
{
    std::vector<PendingRecovery> pending;
    std::error_code ec;
    const std::string prefix = program_ + "-";
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || entry.path().extension() != DescriptionSuffix || name == id_ + DescriptionSuffix)
            continue;
        PendingRecovery recovery;
        recovery.description = entry.path();
        try {
            recovery.about = ReadDescription(entry.path());
            const std::filesystem::path copy = folder_ / recovery.about.copy;
            if (recovery.about.process != ::getpid() && ProcessIsRunning(recovery.about.process))
                continue; // another copy of the program is still working on it
            if (!std::filesystem::is_regular_file(copy, ec))
                throw FormatError(copy.string() + ": the recovery copy is missing");
            recovery.copy = copy;
        } catch (const OrmelError& error) {
            recovery.damage = error.what();
        }
        pending.push_back(std::move(recovery));
    }
    std::sort(pending.begin(), pending.end(),
              [](const PendingRecovery& a, const PendingRecovery& b) { return a.about.saved < b.about.saved; });
    return pending;
}

void RecoveryStore::Delete(const PendingRecovery& recovery) noexcept
{
    std::error_code ec;
    if (!recovery.copy.empty())
        std::filesystem::remove(recovery.copy, ec);
    std::filesystem::remove(recovery.description, ec);
}

std::filesystem::path RecoveryStore::SetAside(const PendingRecovery& recovery)
{
    std::error_code ec;
    const std::filesystem::path folder = recovery.description.parent_path();
    if (!recovery.about.copy.empty() && recovery.about.copy.find('/') == std::string::npos &&
        std::filesystem::is_regular_file(folder / recovery.about.copy, ec))
        std::filesystem::rename(folder / recovery.about.copy, folder / (recovery.about.copy + DamagedSuffix), ec);
    std::filesystem::path aside = recovery.description;
    aside += DamagedSuffix;
    std::filesystem::rename(recovery.description, aside, ec);
    if (ec)
        throw IoError("Cannot rename " + recovery.description.string() + ": " + ec.message());
    return aside;
}
