// k3x check: checks the game project in the current folder as the game and the tools will read
// it: every file game.ini names, every image of every texture bank and the images each texture
// runs over, the point indices of every object's faces and the textures they name, and every
// dictionary's texts in every language Ormel2.ini offers. Prints one line per problem and exits 1 when there is one.
#include "K3xCommand.h"

#include "BankFile.h"
#include "Errors.h"
#include "FileResolver.h"
#include "GameSettings.h"
#include "IniFiles32.h"
#include "K3xFiles.h"
#include "ObjectFile.h"
#include "ObjectSummary.h"
#include "Ormel2Settings.h"
#include "Pcx.h"
#include "SkinnerBank.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <variant>

namespace fs = std::filesystem;

namespace {

struct Findings {
    std::vector<std::string> problems;
    std::vector<std::string> checked; // "game.ini (5 files)", for the closing line

    void add(const std::string& where, const std::string& what) { problems.push_back(where + ": " + what); }
};

bool isFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string counted(std::size_t count, const std::string& what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// Files of the project tree with the extension `lower` (any case), relative to the current
// folder, in name order. Linked folders are not entered.
std::vector<fs::path> projectFiles(const std::string& lower)
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(".", fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (SameNameIgnoringCase(it->path().extension().string(), lower) && it->is_regular_file(ec))
            files.push_back(it->path().lexically_relative("."));
    }
    std::sort(files.begin(), files.end());
    return files;
}

void checkGameIni(Findings& findings)
{
    if (!isFile(FileInCurrentFolder("game.ini"))) {
        findings.add("game.ini", "missing: the game player reads the game's parameters from it");
        return;
    }
    const TIniFile32 ini(FileInCurrentFolder("game.ini").string());
    std::size_t named = 0;
    for (const GameKey& key : GameKeys) {
        if (!std::holds_alternative<std::string TGameSettings::*>(key.Field) || key.Name == "GameTitle")
            continue;
        const std::string name(key.Name);
        const std::string value = ini.ReadString("Game", name, "");
        if (value.empty())
            continue;
        ++named;
        // The start level lies in the LEVEL folder; every other name is relative to the game folder.
        const std::string file = name == "StartLevel" ? "LEVEL\\" + value : value;
        if (!isFile(ResolvePath(file)))
            findings.add("game.ini", name + " names " + file + ", which does not exist");
    }
    findings.checked.push_back("game.ini (" + counted(named, "file") + " named)");
}

// The textures a project's banks define, for the objects that name them.
using TextureSet = std::set<std::int32_t>;

void checkBank(Findings& findings, const fs::path& path, std::size_t& images, TextureSet& textures)
{
    const std::string where = path.generic_string();
    const BankFile bank = ReadBankFile(path.string(), SkinnerBank::Capacity);
    if (!bank.hasImagesHeader)
        findings.add(where, "no #images line: the bank holds no images");
    for (const std::vector<std::string>* lines : {&bank.kept.images, &bank.kept.textures})
        for (const std::string& line : *lines)
            findings.add(where, "\"" + line + "\" is no entry the skinning editor can use (a number outside 0 to 32767, "
                                "or a line it does not understand)");
    std::set<std::int32_t> listed;
    for (const BankImageEntry& image : bank.images) {
        ++images;
        listed.insert(image.index);
        const fs::path file = ResolvePath(image.name);
        if (!isFile(file)) {
            findings.add(where, "image " + std::to_string(image.index) + ", " + image.name + ", does not exist");
            continue;
        }
        try {
            const PcxInfo info = ReadPcxInfo(ReadWholeFile(file), image.name);
            if (info.width != 128 || info.height != 128)
                findings.add(where, "image " + std::to_string(image.index) + ", " + image.name + ", is " +
                                        std::to_string(info.width) + " x " + std::to_string(info.height) +
                                        " pixels, not 128 x 128");
        } catch (const OrmelError& error) {
            findings.add(where, "image " + std::to_string(image.index) + ": " + error.what());
        }
    }
    for (const BankTextureEntry& texture : bank.textures) {
        textures.insert(texture.index);
        const std::int64_t step = texture.first <= texture.last ? 1 : -1;
        for (std::int64_t i = texture.first;; i += step) {
            if (!listed.count(static_cast<std::int32_t>(i))) {
                findings.add(where, "texture " + std::to_string(texture.index) + " runs over image " +
                                        std::to_string(i) + ", which the bank does not list");
                break;
            }
            if (i == texture.last)
                break;
        }
    }
}

void checkObject(Findings& findings, const fs::path& path, const TextureSet& textures)
{
    const std::string where = path.generic_string();
    Object3D object;
    DecodeObject(ReadWholeFile(path), where, object);
    const ObjectSummary summary = SummariseObject(object);
    if (summary.brokenFaces > 0)
        findings.add(where, counted(summary.brokenFaces, "face") + " of " + std::to_string(summary.faces) +
                                " with points the object does not have (the first is face " +
                                std::to_string(summary.firstBrokenFace) + ")");
    // A face drawn with a texture no bank defines shows whatever that texture slot last held.
    std::string lacking;
    std::size_t faces = 0, count = 0;
    for (const auto& [texture, faceCount] : summary.textures) {
        if (textures.count(texture))
            continue;
        faces += faceCount;
        if (count++ < 12)
            lacking += (lacking.empty() ? "" : ", ") + std::to_string(texture);
        else if (count == 13)
            lacking += ", ...";
    }
    if (count > 0)
        findings.add(where, counted(faces, "face") + " use " + (count == 1 ? "texture " : "textures ") + lacking +
                                ", which no texture bank of the project defines");
}

// The entries of the program's table that `language` lacks or leaves empty, as "3, 7, 12".
std::string missingEntries(const TIniFile32& dictionary, const std::string& language, DictionaryEntries entries,
                           std::size_t& count)
{
    std::string list;
    count = 0;
    for (const DictionaryEntry& entry : entries) {
        const std::string key = std::to_string(entry.number);
        if (!dictionary.ReadString(language, key, "").empty())
            continue;
        if (count++ < 12)
            list += (list.empty() ? "" : ", ") + key;
        else if (count == 13)
            list += ", ...";
    }
    return list;
}

void checkDictionaries(Findings& findings)
{
    std::vector<std::string> languages;
    for (const std::string& language : ReadLauncherSettings().Languages)
        if (!language.empty())
            languages.push_back(language);
    if (languages.empty())
        findings.add("Ormel2.ini", "offers no interface language ([Languages] Number and \"0\", \"1\", ...)");

    std::size_t dictionaries = 0;
    for (const SuiteDictionary& suite : SuiteDictionaries) {
        const std::string file(suite.file);
        if (!isFile(FileInCurrentFolder(file))) {
            // The launcher makes the other programs' dictionaries when a language is chosen.
            if (!suite.entries.empty())
                findings.add(file, "missing: the program shows no texts without it");
            continue;
        }
        ++dictionaries;
        const TIniFile32 dictionary(FileInCurrentFolder(file).string());
        const std::string current = dictionary.ReadString("Config", "Language", "");
        if (current.empty())
            findings.add(file, "[Config] Language is not set");
        else if (!languages.empty() && std::find(languages.begin(), languages.end(), current) == languages.end())
            findings.add(file, "its language " + current + " is not one that Ormel2.ini offers");
        for (const std::string& language : suite.entries.empty() ? std::vector<std::string>{} : languages) {
            std::size_t count = 0;
            const std::string list = missingEntries(dictionary, language, suite.entries, count);
            if (count == suite.entries.size())
                findings.add(file, "no texts in " + language);
            else if (count > 0)
                findings.add(file, language + " lacks " + (count == 1 ? "entry " : "entries ") + list);
        }
    }
    findings.checked.push_back(std::to_string(dictionaries) + (dictionaries == 1 ? " dictionary" : " dictionaries") +
                               " in " + counted(languages.size(), "language"));
}

} // namespace

int RunCheck(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {});
    args.expectPositional(0);
    Findings findings;
    checkGameIni(findings);

    const std::vector<fs::path> banks = projectFiles(".def");
    std::size_t images = 0;
    TextureSet textures;
    for (const fs::path& bank : banks) {
        try {
            checkBank(findings, bank, images, textures);
        } catch (const OrmelError& error) {
            findings.add(bank.generic_string(), error.what());
        }
    }
    findings.checked.push_back(counted(banks.size(), "texture bank") + " (" + counted(images, "image") + ")");

    const std::vector<fs::path> objects = projectFiles(".3do");
    for (const fs::path& object : objects) {
        try {
            checkObject(findings, object, textures);
        } catch (const OrmelError& error) {
            findings.add(object.generic_string(), error.what());
        }
    }
    findings.checked.push_back(counted(objects.size(), "object"));
    checkDictionaries(findings);

    for (const std::string& problem : findings.problems)
        std::printf("%s\n", problem.c_str());
    std::string checked;
    for (const std::string& part : findings.checked)
        checked += (checked.empty() ? "" : ", ") + part;
    if (findings.problems.empty()) {
        std::printf("The game project is in order: %s.\n", checked.c_str());
        return 0;
    }
    std::printf("%s in the game project (checked %s).\n", counted(findings.problems.size(), "problem").c_str(),
                checked.c_str());
    return 1;
}
