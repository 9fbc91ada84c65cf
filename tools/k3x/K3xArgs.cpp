#include "K3xCommand.h"

#include "PictureFit.h"

K3xArgs K3xArgs::Parse(const std::vector<std::string>& words, const std::set<std::string>& valued,
                       const std::set<std::string>& knownFlags)
{
    K3xArgs args;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() > 2 && word.rfind("--", 0) == 0) {
            const std::string name = word.substr(2);
            if (knownFlags.count(name)) {
                args.flags.insert(name);
            } else if (valued.count(name)) {
                if (i + 1 >= words.size())
                    throw UsageError("--" + name + " needs a value");
                args.options[name] = words[++i];
            } else {
                throw UsageError("unknown option " + word);
            }
        } else {
            args.positional.push_back(word);
        }
    }
    return args;
}

std::string K3xArgs::option(const std::string& name, const std::string& fallback) const
{
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

long long K3xArgs::number(const std::string& name, long long fallback) const
{
    const auto it = options.find(name);
    if (it == options.end())
        return fallback;
    return WholeNumberArgument<long long>(it->second, "--" + name);
}

void K3xArgs::expectPositional(std::size_t count) const
{
    if (positional.size() != count)
        throw UsageError("expected " + std::to_string(count) + " file names, got " + std::to_string(positional.size()));
}

TextureFit ParseFit(const std::string& text)
{
    if (text == "crop")
        return TextureFit::Crop;
    if (text == "pad")
        return TextureFit::Pad;
    if (text == "stretch")
        return TextureFit::Stretch;
    throw UsageError("--fit takes crop, pad or stretch, not " + text);
}
