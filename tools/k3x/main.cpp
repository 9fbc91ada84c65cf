// k3x: the suite's command-line companion, for scripts, batch work and tests. Works in the
// current folder, like the programs of the suite.
#include "CommandLine.h"
#include "Errors.h"
#include "FatalError.h"
#include "K3xCommand.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

void printHelp(std::FILE* out)
{
    std::fprintf(out, "usage: k3x COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const K3xCommand& command : K3xCommands())
        std::fprintf(out, "  %-58s %s\n", command.usage, command.summary);
    std::fprintf(out, "\nk3x COMMAND --help shows the usage of one command.\n");
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        printHelp(stderr);
        return 2;
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        printHelp(stdout);
        return 0;
    }
    if (words[0] == "--version") {
        std::printf("k3x (Ormel 2) %s\n", SuiteVersion());
        return 0;
    }
    for (const K3xCommand& command : K3xCommands()) {
        if (words[0] != command.name)
            continue;
        const std::vector<std::string> rest(words.begin() + 1, words.end());
        if (rest.size() == 1 && (rest[0] == "--help" || rest[0] == "-h")) {
            std::printf("usage: k3x %s\n%s\n", command.usage, command.summary);
            if (command.details != nullptr)
                std::printf("\n%s", command.details().c_str());
            return 0;
        }
        try {
            return command.run(rest);
        } catch (const UsageError& error) {
            std::fprintf(stderr, "k3x %s: %s\nusage: k3x %s\n", command.name, error.what(), command.usage);
            return 2;
        } catch (const FatalError& error) {
            // The library's text starts with its own "K3X:"; one prefix is enough.
            std::fprintf(stderr, "k3x %s: the file %s is missing\n", command.name, error.name().c_str());
            return 1;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "k3x %s: %s\n", command.name, error.what());
            return 1;
        }
    }
    std::fprintf(stderr, "k3x: unknown command %s\n\n", words[0].c_str());
    printHelp(stderr);
    return 2;
}
