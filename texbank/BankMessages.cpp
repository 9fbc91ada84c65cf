#include "BankMessages.h"

namespace {

// A long list of lines is cut: the first ones say what the rest are like.
constexpr std::size_t LinesShown = 10;

void addSection(std::string& message, const std::string& title, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    if (!message.empty())
        message += "\n\n";
    message += title;
    for (std::size_t i = 0; i < lines.size() && i < LinesShown; ++i)
        message += "\n" + lines[i];
    if (lines.size() > LinesShown)
        message += "\n...";
}

} // namespace

std::string BankLoadMessage(const EditorBankLoad& load, const KeptBankLines* kept, const BankMessageTexts& texts)
{
    std::vector<std::string> missing, wrongSize, unreadable;
    for (const ImageProblem& problem : load.problems) {
        switch (problem.fault) {
        case ImageFault::Missing:
            missing.push_back(problem.name);
            break;
        case ImageFault::WrongSize:
            wrongSize.push_back(problem.name + " (" + problem.detail + ")");
            break;
        case ImageFault::Unreadable:
            unreadable.push_back(problem.name);
            break;
        }
    }
    std::string message;
    addSection(message, texts.missing, missing);
    addSection(message, texts.wrongSize, wrongSize);
    addSection(message, texts.unreadable, unreadable);
    if (kept) {
        std::vector<std::string> lines = kept->leading;
        lines.insert(lines.end(), kept->images.begin(), kept->images.end());
        lines.insert(lines.end(), kept->textures.begin(), kept->textures.end());
        addSection(message, texts.kept, lines);
    }
    return message;
}
