#pragma once
// The k3x command-line companion: one command per file, listed in Commands.cpp.
// Exit codes: 0 success; 1 failure, with one clear line on stderr; 2 usage error, with the usage;
// 3 (import-mesh) a model with more faces than an object holds, which --max-faces would fit.
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A command line that does not fit the command's usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `text` as a whole number of type Number: nothing when it holds anything else or lies beyond the
// type. Every number k3x reads from its command line is read by this one rule.
template <typename Number>
std::optional<Number> ReadWholeNumber(std::string_view text)
{
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The same, a usage error "WHAT takes a whole number, not TEXT" when it is not one.
template <typename Number>
Number WholeNumberArgument(const std::string& text, const std::string& what)
{
    const std::optional<Number> value = ReadWholeNumber<Number>(text);
    if (!value)
        throw UsageError(what + " takes a whole number, not " + text);
    return *value;
}

// The words after the command name: positional words, "--name value" options and "--flag" flags.
struct K3xArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;

    // Splits `words`; an option not in `valued` or `flags` is a usage error, as is a missing value.
    static K3xArgs Parse(const std::vector<std::string>& words, const std::set<std::string>& valued,
                         const std::set<std::string>& knownFlags = {});
    std::string option(const std::string& name, const std::string& fallback = "") const;
    bool has(const std::string& name) const { return options.count(name) > 0 || flags.count(name) > 0; }
    // A whole number option, a usage error when it is not one.
    long long number(const std::string& name, long long fallback) const;
    void expectPositional(std::size_t count) const;
};

// --fit crop|pad|stretch, as import-image and bank take it.
enum class TextureFit;
TextureFit ParseFit(const std::string& text);

struct K3xCommand {
    const char* name;
    const char* usage;   // "pcx IN.pcx OUT.(pcx|png) [--onto PALETTE.pcx]"
    const char* summary; // one line for k3x --help
    int (*run)(const std::vector<std::string>& words);
    // More lines for k3x COMMAND --help, or null.
    std::string (*details)() = nullptr;
};

// The extra --help lines of the commands that have them.
std::string RenderDetails();
std::string ToolDetails();
std::string BankDetails();
std::string SkinDetails();

// Every command, in the order k3x --help lists them.
const std::vector<K3xCommand>& K3xCommands();
