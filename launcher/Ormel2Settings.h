#pragma once
// The launcher's settings: the rendering mode and the offered languages in Ormel2.ini, the
// game title in game.ini, and the interface language written into every program's dictionary.
#include "Ormel2Entries.h"
#include "PartivaEntries.h"
#include "PigmentaEntries.h"
#include "Tessaro3DEntries.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct LauncherSettings {
    std::int32_t Renderer = 0;           // 0 Software, 1 OpenGL, 2 DirectX; others kept as they are
    std::vector<std::string> Languages;  // keys "0" to Number of [Languages], in menu order
    std::string GameTitle;
};

// Reads Ormel2.ini and game.ini from the current folder. A missing, unreadable or malformed
// file gives the defaults: mode 0, one language with an empty name, an empty title.
LauncherSettings ReadLauncherSettings();

// Writes [Config] Renderer into Ormel2.ini (created when missing) when it does not hold the mode
// already. Throws OrmelError on failure.
void WriteRenderer(std::int32_t mode);

// A dictionary of the suite and the table of the entries its program uses; the level editor,
// the player and the tile bank editor keep texts of their own (no entries of ours).
struct SuiteDictionary {
    std::string_view file;
    DictionaryEntries entries;
};

// The dictionaries that receive the chosen language, in the order they are written.
inline constexpr std::array<SuiteDictionary, 7> SuiteDictionaries{{{"Ormel2.dic", Ormel2Entries},
                                                                   {"Partiva.dic", PartivaEntries},
                                                                   {"Editor.dic", {}},
                                                                   {"Player.dic", {}},
                                                                   {"Tessaro3D.dic", Tessaro3DEntries},
                                                                   {"Pigmenta.dic", PigmentaEntries},
                                                                   {"Mosaro.dic", {}}}};

// Writes [Config] Language = name into every dictionary of the suite, creating missing ones.
// A dictionary that cannot be written does not stop the others; the messages of the failures
// are returned.
std::vector<std::string> WriteLanguage(const std::string& name);

// The level editor or player to start for a rendering mode: the build of that mode when
// `exists` finds it, else the software build.
std::string LevelEditorProgram(std::int32_t renderer, bool (*exists)(const std::string&));
std::string PlayerProgram(std::int32_t renderer, bool (*exists)(const std::string&));
