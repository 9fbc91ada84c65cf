#include "Ormel2Settings.h"

#include "Errors.h"
#include "FileResolver.h"
#include "IniFiles32.h"

#include <array>

namespace {

constexpr std::int32_t MaxLanguages = 1000;

// Settings files are read through here: false when the file exists but cannot be read.
template <class Read>
bool readTolerantly(const char* name, Read read)
{
    try {
        const TIniFile32 ini(FileInCurrentFolder(name).string());
        read(ini);
        return true;
    } catch (const OrmelError&) {
        return false;
    }
}

std::string chooseBuild(std::int32_t renderer, const std::array<const char*, 3>& builds,
                        bool (*exists)(const std::string&))
{
    if (renderer >= 0 && renderer < 3 && exists(builds[static_cast<std::size_t>(renderer)]))
        return builds[static_cast<std::size_t>(renderer)];
    return builds[0];
}

} // namespace

LauncherSettings ReadLauncherSettings()
{
    LauncherSettings settings;
    const bool read = readTolerantly("Ormel2.ini", [&](const TIniFile32& ini) {
        settings.Renderer = ini.ReadInteger("Config", "Renderer", 0);
        // Number is the highest key, not a count; a menu of a thousand languages is garbage.
        const std::int32_t number = ini.ReadInteger("Languages", "Number", 0);
        for (std::int32_t i = 0; i <= number && i < MaxLanguages; ++i)
            settings.Languages.push_back(ini.ReadString("Languages", std::to_string(i), ""));
    });
    if (!read)
        settings.Languages.emplace_back(); // as a missing file: Number 0, one unnamed language
    readTolerantly("game.ini", [&](const TIniFile32& ini) { settings.GameTitle = ini.ReadString("Game", "GameTitle", ""); });
    return settings;
}

void WriteRenderer(std::int32_t mode)
{
    TIniFile32 ini(FileInCurrentFolder("Ormel2.ini").string());
    // A file that already holds the mode keeps its bytes (a write would drop its comments, one of
    // which tells its encoding). The value holds it when it reads as the mode whatever the default.
    if (ini.ReadInteger("Config", "Renderer", 0) == mode && ini.ReadInteger("Config", "Renderer", 1) == mode)
        return;
    ini.WriteInteger("Config", "Renderer", mode);
    ini.Destroy();
}

std::vector<std::string> WriteLanguage(const std::string& name)
{
    std::vector<std::string> failures;
    for (const SuiteDictionary& dictionary : SuiteDictionaries) {
        try {
            TIniFile32 ini(FileInCurrentFolder(dictionary.file).string());
            ini.WriteString("Config", "Language", name);
            ini.Destroy();
        } catch (const OrmelError& error) {
            failures.emplace_back(error.what());
        }
    }
    return failures;
}

std::string LevelEditorProgram(std::int32_t renderer, bool (*exists)(const std::string&))
{
    return chooseBuild(renderer, {"EDITOR.EXE", "EDITOR_OGL.EXE", "EDITOR_D3D.EXE"}, exists);
}

std::string PlayerProgram(std::int32_t renderer, bool (*exists)(const std::string&))
{
    return chooseBuild(renderer, {"PLAYER.EXE", "PLAYER_OGL.EXE", "PLAYER_D3D.EXE"}, exists);
}
