#include "GameSettings.h"

#include "Errors.h"
#include "FileResolver.h"
#include "IniFiles32.h"
#include "NumberText.h"

#include <cmath>
#include <limits>
#include <system_error>

namespace fs = std::filesystem;

TGameSettings GameSettings;
std::string GameFolder;
fs::path GameFolderPath;

namespace {

constexpr const char* Section = "Game";
constexpr const char* FileName = "game.ini";

using S = TGameSettings;

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// What follows `folder` and one separator in `path`, in the stored form; empty unless the
// path lies inside the folder.
std::string storedRelative(std::string_view path, std::string_view folder)
{
    std::string rest = NameInsideFolder(path, folder).value_or("");
    for (char& c : rest)
        c = c == '/' ? '\\' : upperAscii(c);
    return rest;
}

// The same test again on the paths with their links followed, so a file reached through a
// linked folder still counts as inside.
std::string relativeTo(std::string_view path, const std::string& folderText, const fs::path& folderOnDisk)
{
    std::string result = storedRelative(path, folderText);
    if (!result.empty() || folderOnDisk.empty())
        return result;
    std::error_code ec1, ec2;
    const fs::path realPath = fs::weakly_canonical(fs::path(std::string(path)), ec1);
    const fs::path realFolder = fs::weakly_canonical(folderOnDisk, ec2);
    if (ec1 || ec2)
        return {};
    return storedRelative(realPath.string(), realFolder.string());
}

// One key read or written by the type of its field.
std::string readValue(const TIniFile32& ini, const std::string& key, const std::string& fallback)
{
    return ini.ReadString(Section, key, fallback);
}

std::int32_t readValue(const TIniFile32& ini, const std::string& key, std::int32_t fallback)
{
    return ini.ReadInteger(Section, key, fallback);
}

float readValue(const TIniFile32& ini, const std::string& key, float fallback)
{
    const double value = ini.ReadFloat(Section, key, fallback);
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return fallback;
    return static_cast<float>(value);
}

void writeValue(TIniFile32& ini, const std::string& key, const std::string& value) { ini.WriteString(Section, key, value); }

void writeValue(TIniFile32& ini, const std::string& key, std::int32_t value) { ini.WriteInteger(Section, key, value); }

void writeValue(TIniFile32& ini, const std::string& key, float value)
{
    ini.WriteFloat(Section, key, static_cast<double>(value));
}

void writeKeys(TIniFile32& ini)
{
    for (const GameKey& key : GameKeys) {
        const std::string name(key.Name);
        std::visit([&](auto field) { writeValue(ini, name, GameSettings.*field); }, key.Field);
    }
}

} // namespace

const std::array<GameKey, 56> GameKeys = {{
    {"SmallFontBitmap", &S::SmallFontBitmap},
    {"SmallFontWidth", &S::SmallFontWidth},
    {"SmallFontHeight", &S::SmallFontHeight},
    {"BigFontBitmap", &S::BigFontBitmap},
    {"BigFontWidth", &S::BigFontWidth},
    {"BigFontHeight", &S::BigFontHeight},
    {"DeveloperVideo", &S::DeveloperVideo},
    {"IntroVideo", &S::IntroVideo},
    {"IntroMusic", &S::IntroMusic},
    {"ExtroVideo", &S::ExtroVideo},
    {"ExtroMusic", &S::ExtroMusic},
    {"InventoryLeft", &S::InventoryLeft},
    {"InventoryTop", &S::InventoryTop},
    {"InventoryStringLeft", &S::InventoryStringLeft},
    {"InventoryStringTop", &S::InventoryStringTop},
    {"InventoryAlpha", &S::InventoryAlpha},
    {"WeaponLeft", &S::WeaponLeft},
    {"WeaponTop", &S::WeaponTop},
    {"WeaponStringLeft", &S::WeaponStringLeft},
    {"WeaponStringTop", &S::WeaponStringTop},
    {"WeaponAlpha", &S::WeaponAlpha},
    {"LifeIcon", &S::LifeIcon},
    {"LifeLeft", &S::LifeLeft},
    {"LifeStringTop", &S::LifeStringTop},
    {"LifeStringLeft", &S::LifeStringLeft},
    {"LifeTop", &S::LifeTop},
    {"LifeWidth", &S::LifeWidth},
    {"LifeHeight", &S::LifeHeight},
    {"LifeAlpha", &S::LifeAlpha},
    {"GolemIcon", &S::GolemIcon},
    {"GolemLeft", &S::GolemLeft},
    {"GolemTop", &S::GolemTop},
    {"GolemStringLeft", &S::GolemStringLeft},
    {"GolemStringTop", &S::GolemStringTop},
    {"GolemWidth", &S::GolemWidth},
    {"GolemHeight", &S::GolemHeight},
    {"GolemAlpha", &S::GolemAlpha},
    {"CrossIcon", &S::CrossIcon},
    {"CrossLeft", &S::CrossLeft},
    {"CrossTop", &S::CrossTop},
    {"CrossWidth", &S::CrossWidth},
    {"CrossHeight", &S::CrossHeight},
    {"CrossAlpha", &S::CrossAlpha},
    {"TimerHealth", &S::TimerHealth},
    {"TimerLeft", &S::TimerLeft},
    {"TimerTop", &S::TimerTop},
    {"StartLevel", &S::StartLevel},
    {"StartSaveNumber", &S::StartSaveNumber},
    {"CameraMinDistance", &S::CameraMinDistance},
    {"CameraMaxDistance", &S::CameraMaxDistance},
    {"CameraStep", &S::CameraStep},
    {"MenuSound", &S::MenuSound},
    {"TimerSound", &S::TimerSound},
    {"CameraSound", &S::CameraSound},
    {"HelpFile", &S::HelpFile},
    {"GameTitle", &S::GameTitle},
}};

void StartGameSettings()
{
    SetDecimalSeparator('.');
    GameFolderPath = fs::current_path();
    GameFolder = GameFolderPath.string();
}

void UpperCaseGameFolder()
{
    for (char& c : GameFolder)
        c = upperAscii(c);
}

void EnterGameFolder()
{
    std::error_code ec;
    fs::current_path(GameFolderPath, ec);
    if (ec)
        throw IoError("Cannot enter the game folder " + GameFolderPath.string() + ": " + ec.message());
}

void EnterNewGameFolder(const fs::path& folder)
{
    std::error_code ec;
    fs::current_path(folder, ec);
    if (ec)
        throw IoError("Cannot enter the game folder " + folder.string() + ": " + ec.message());
    StartGameSettings();
}

void LoadGameSettings()
{
    GameSettings = TGameSettings();
    EnterGameFolder();
    LoadGameSettingsFrom(FileInCurrentFolder(FileName));
}

void LoadGameSettingsFrom(const fs::path& file)
{
    const TGameSettings defaults;
    GameSettings = defaults;
    const TIniFile32 ini(file.string());
    for (const GameKey& key : GameKeys) {
        const std::string name(key.Name);
        std::visit([&](auto field) { GameSettings.*field = readValue(ini, name, defaults.*field); }, key.Field);
    }
}

void SaveGameSettings()
{
    if (const BoundedPair* pair = BoundsConflict(GameSettings))
        throw FormatError(FileName + std::string(": ") + std::string(pair->Minimum) + " (" +
                          std::to_string(GameSettings.*pair->MinimumField) + ") is above " + std::string(pair->Maximum) +
                          " (" + std::to_string(GameSettings.*pair->MaximumField) + "); nothing was written");
    EnterGameFolder();
    TIniFile32 ini(FileInCurrentFolder(FileName).string());
    writeKeys(ini);
    ini.Destroy();
}

std::string GameSettingsFileBytes()
{
    EnterGameFolder();
    TIniFile32 ini(FileInCurrentFolder(FileName).string());
    writeKeys(ini);
    std::string bytes = ini.FileBytes();
    ini.Modified = false; // written for its bytes only: the file stays as it is
    return bytes;
}

std::string RelativeToGameFolder(std::string_view path) { return relativeTo(path, GameFolder, GameFolderPath); }

std::string RelativeToLevelFolder(std::string_view path)
{
    return relativeTo(path, GameFolder + "/LEVEL", GameFolderPath.empty() ? fs::path() : ResolvePath("LEVEL", GameFolderPath));
}

std::optional<float> ParseFraction(std::string_view text)
{
    // Fits when it rounds to a finite float: up to the largest float and half a step above it
    // (2^103; the exact half rounds to infinity), so the largest float's own shortest text
    // "3.4028235E38", a little above it, reads back.
    constexpr double beyondLargest = static_cast<double>(std::numeric_limits<float>::max()) + 0x1p103;
    const std::optional<double> value = ParseFloat(text);
    if (!value || !(std::fabs(*value) < beyondLargest))
        return std::nullopt;
    return static_cast<float>(*value);
}

std::string FractionText(float value) { return FormatShortestFloat(value); }

const std::array<BoundedPair, 1> BoundedPairs{{
    {"CameraMinDistance", "CameraMaxDistance", &TGameSettings::CameraMinDistance, &TGameSettings::CameraMaxDistance},
}};

const BoundedPair* BoundsConflict(const TGameSettings& settings)
{
    for (const BoundedPair& pair : BoundedPairs)
        if (settings.*pair.MinimumField > settings.*pair.MaximumField)
            return &pair;
    return nullptr;
}
