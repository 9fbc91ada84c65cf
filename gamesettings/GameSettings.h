#pragma once
// The game's parameters (game.ini, section [Game]) and the folder they are relative to.
//
// game.ini holds 56 keys, always read and written in the order of GameKeys: texts (file names
// relative to the game folder, or empty), 32-bit integers, and fractions held as 32-bit floats
// and written widened, in the 15-digit general form ("0.800000011920929" for 0.8), "." as the
// separator. A missing, empty or unconvertible value takes its default. Saving rewrites only
// these keys: other keys and sections of the file stay as they were.
//
// File names are stored upper case, relative, with "\" between folders ("SOUND\CLICK.WAV"), so
// a game folder moves between systems unchanged; they are opened through ResolvePath.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// The defaults are the member initialisers: a fresh record holds the defaults.
struct TGameSettings {
    std::string SmallFontBitmap;
    std::int32_t SmallFontWidth = 3;
    std::int32_t SmallFontHeight = 7;
    std::string BigFontBitmap;
    std::int32_t BigFontWidth = 8;
    std::int32_t BigFontHeight = 15;
    std::string DeveloperVideo;
    std::string IntroVideo;
    std::string IntroMusic;
    std::string ExtroVideo;
    std::string ExtroMusic;
    float InventoryLeft = 0;
    float InventoryTop = 0;
    float InventoryStringLeft = 0;
    float InventoryStringTop = 0;
    std::int32_t InventoryAlpha = 0;
    float WeaponLeft = 0.8f;
    float WeaponTop = 0;
    float WeaponStringLeft = 0.8f;
    float WeaponStringTop = 0;
    std::int32_t WeaponAlpha = 0;
    std::string LifeIcon;
    float LifeLeft = 0;
    float LifeStringTop = 0.87f;
    float LifeStringLeft = 0;
    float LifeTop = 0.87f;
    float LifeWidth = 0.103f;
    float LifeHeight = 0.121f;
    std::int32_t LifeAlpha = 0;
    std::string GolemIcon;
    float GolemLeft = 0.4f;
    float GolemTop = 0.87f;
    float GolemStringLeft = 0.4f;
    float GolemStringTop = 0.87f;
    float GolemWidth = 0.103f;
    float GolemHeight = 0.121f;
    std::int32_t GolemAlpha = 0;
    std::string CrossIcon;
    float CrossLeft = 0;
    float CrossTop = 0.87f;
    float CrossWidth = 0.103f;
    float CrossHeight = 0.121f;
    std::int32_t CrossAlpha = 0;
    float TimerHealth = 2.5f;
    float TimerLeft = 0;
    float TimerTop = 0;
    std::string StartLevel;
    std::int32_t StartSaveNumber = 1000;
    std::int32_t CameraMinDistance = 0;
    std::int32_t CameraMaxDistance = 0;
    std::int32_t CameraStep = 0;
    std::string MenuSound;
    std::string TimerSound;
    std::string CameraSound;
    std::string HelpFile;
    std::string GameTitle = "Ormel 2 Player";
};

// One key of game.ini and the field that holds it.
struct GameKey {
    std::string_view Name;
    std::variant<std::string TGameSettings::*, std::int32_t TGameSettings::*, float TGameSettings::*> Field;
};

extern const std::array<GameKey, 56> GameKeys;

// The program's one record of the game's parameters.
extern TGameSettings GameSettings;
// The folder that was current at start; upper-cased at the main window's first activation,
// after which it serves comparisons only.
extern std::string GameFolder;
// The same folder as the disk spells it: the folder that is entered and opened.
extern std::filesystem::path GameFolderPath;

// Start-up, before any window: "." becomes the decimal separator whatever the user's locale,
// and the current folder becomes the game folder.
void StartGameSettings();
// The first activation of the main window: GameFolder becomes upper case.
void UpperCaseGameFolder();
// Makes the game folder the current folder.
void EnterGameFolder();

// Makes `folder` the game folder (as at start, in that folder) and the current folder; throws
// IoError naming it when it cannot be entered.
void EnterNewGameFolder(const std::filesystem::path& folder);

// Reads game.ini of the game folder into GameSettings, entering the folder first. A missing
// file gives the defaults; a file that exists but cannot be read gives the defaults too, and
// its IoError is thrown afterwards so the user can be told.
void LoadGameSettings();
// The same from another file in game.ini's form (a recovery copy of it).
void LoadGameSettingsFrom(const std::filesystem::path& file);
// Writes the 56 keys into game.ini, keeping the rest of the file. On failure the old file stays
// whole, GameSettings is unchanged and IoError is thrown; a BoundsConflict is a FormatError
// naming both keys, and nothing is written.
void SaveGameSettings();
// The bytes SaveGameSettings would write now (for a recovery copy); the file is not touched.
std::string GameSettingsFileBytes();

// The stored form of a full path chosen by the user: relative to the game folder, upper case,
// "\" between folders; empty when the path does not lie inside the folder. Inside means the
// folder's own text (case aside) followed by a separator, never a mere substring.
std::string RelativeToGameFolder(std::string_view path);
// The same for level files, relative to the game folder's LEVEL sub-folder.
std::string RelativeToLevelFolder(std::string_view path);

// Values that bound each other: a minimum above its maximum means nothing to the game, and is
// refused when saving.
struct BoundedPair {
    std::string_view Minimum;
    std::string_view Maximum;
    std::int32_t TGameSettings::* MinimumField;
    std::int32_t TGameSettings::* MaximumField;
};
extern const std::array<BoundedPair, 1> BoundedPairs;
// The first pair whose minimum lies above its maximum; nothing when all agree.
const BoundedPair* BoundsConflict(const TGameSettings& settings);

// A fraction as the file and the edits accept it: a decimal number with the current separator
// and an optional exponent that fits a 32-bit float.
std::optional<float> ParseFraction(std::string_view text);
// A fraction as the page shows it: the fewest digits that read back as the same 32-bit value
// ("0.45", where game.ini holds it widened, "0.449999988079071").
std::string FractionText(float value);
