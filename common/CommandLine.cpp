#include "CommandLine.h"

#include "FileResolver.h"

#include <algorithm>

namespace {

bool hasExtension(const std::filesystem::path& path, const std::vector<std::string>& extensions)
{
    const std::string extension = path.extension().string();
    for (const std::string& wanted : extensions)
        if (SameNameIgnoringCase(extension, wanted))
            return true;
    return false;
}

// The kind an argument is, by its extension or as a folder; nothing when none takes it.
std::optional<std::size_t> kindOf(const ProgramUsage& usage, const std::string& argument)
{
    std::error_code ec;
    const bool folder = std::filesystem::is_directory(argument, ec);
    for (std::size_t i = 0; i < usage.kinds.size(); ++i) {
        const ArgumentKind& kind = usage.kinds[i];
        if (kind.extensions.empty() ? folder : !folder && hasExtension(argument, kind.extensions))
            return i;
    }
    return std::nullopt;
}

} // namespace

const char* SuiteVersion() { return ORMEL_VERSION; }

std::optional<int> AnswerUsageRequest(const ProgramUsage& usage, const std::vector<std::string>& arguments,
                                      std::FILE* out)
{
    for (const std::string& argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "-h" || argument == "--help") {
            std::fprintf(out, "Usage: %s %s\n%s\n\n%s\n\n", usage.name.c_str(), usage.arguments.c_str(),
                         usage.summary.c_str(), usage.description.c_str());
            std::fprintf(out, "Options:\n"
                              "  -h, --help     show this help and exit\n"
                              "  --version      show the version and exit\n");
            return 0;
        }
        if (argument == "--version") {
            std::fprintf(out, "%s (Ormel 2) %s\n", usage.name.c_str(), SuiteVersion());
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> AnswerUsageRequest(const ProgramUsage& usage, int argc, char** argv)
{
    return AnswerUsageRequest(usage, std::vector<std::string>(argv + std::min(argc, 1), argv + argc), stdout);
}

SortedArguments SortArguments(const ProgramUsage& usage, const std::vector<std::string>& arguments)
{
    SortedArguments sorted;
    sorted.byKind.resize(usage.kinds.size());
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
            continue;
        }
        const std::optional<std::size_t> kind =
            options && argument.starts_with('-') ? std::nullopt : kindOf(usage, argument);
        if (!kind || !sorted.byKind[*kind].empty())
            sorted.refused.push_back(argument);
        else
            sorted.byKind[*kind] = argument;
    }
    return sorted;
}
