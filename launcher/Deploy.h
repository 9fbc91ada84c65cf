#pragma once
// Deploy: the installation folder holds the whole suite beside the game being made; deploying
// copies it into a folder that can be given to players, less the creation tools, their
// dictionaries and settings, the uninstaller and files of the listed kinds. The source is
// always the current folder.
#include "Errors.h"
#include "dircpy.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Folders removed from the target's top folder after the copy, in this order.
inline constexpr std::array<std::string_view, 5> DeployRemovedFolders{
    "EDTICNS", "EDITOR", "TESSARO3D", "LOGO", "CURRENT_GAME"};

// Extensions whose files are deleted throughout the target tree, in this order.
inline constexpr std::array<std::string_view, 16> DeployPurgedExtensions{
    ".BPL", ".POT", ".PAS", ".DPR", ".DFM", ".DCU", ".DOF", ".RES",
    ".CFG", ".BAT", ".INC", ".ICO", ".BMP", ".~DF", ".~DP", ".~PA"};

// Files removed from the target's top folder, in this order. A ".EXE" name also removes the
// same name without extension, the form our own programs take on systems without ".exe".
inline constexpr std::array<std::string_view, 21> DeployRemovedFiles{
    "EDITOR.EXE", "EDITOR_OGL.EXE", "EDITOR_D3D.EXE", "EDITOR.DIC", "PARTIVA.EXE", "PARTIVA.DIC",
    "PIGMENTA.EXE", "PIGMENTA.DIC", "MOSARO.EXE", "MOSARO.DIC", "TESSARO3D.EXE", "TESSARO3D.DIC",
    "ORMEL2.EXE", "ORMEL2.INI", "ORMEL2.DIC", "ORMEL2.TXT", "HISTORY.TXT", "unins000.exe",
    "unins000.dat", "Opengl32.dll", "k3x.exe"};

// Why a target was refused, for callers without a translated text.
inline constexpr const char* UnsafeDeployTargetMessage =
    "This folder cannot receive the game: it is the project folder, one of the folders that hold it, "
    "a folder inside it, or the root of a disk.";

// A deploy refused before anything was touched.
class UnsafeDeployTarget : public OrmelError {
public:
    using OrmelError::OrmelError;
};

struct DeployCounts {
    std::size_t copied = 0;  // files in the target after the copy
    std::size_t removed = 0; // of those, files the listed folders, kinds and names took away
    // One line per file that could not be copied (the copier's message); a failed copy leaves
    // no file behind in the target.
    std::vector<std::string> failures;
    // Files still in the target that are not part of the game: left from before because the
    // target could not be emptied, or of the listed names and kinds because they could not be
    // deleted.
    std::vector<std::string> notRemoved;
};

// The target first offered: "C:\REDIST" on Windows, elsewhere the folder REDIST beside the
// installation (current) folder.
std::filesystem::path DefaultDeployTarget();

// The folder a typed target names, as a real absolute path; a relative one is taken from the
// current folder.
std::filesystem::path DeployTargetPath(std::string_view typed);

// True for a target that must never be emptied or copied into: a file-system root, the current
// folder, one of the folders holding it, or a folder inside its tree. Real folders are
// compared, so links and other spellings of the same folder are caught.
bool IsUnsafeDeployTarget(const std::filesystem::path& target);

// Empties `target`, copies the current folder's tree into it, then removes the listed folders,
// kinds and files. A file that cannot be copied is skipped and named in `failures`; one that
// cannot be deleted is skipped and named in `notRemoved`. Throws
// UnsafeDeployTarget, with nothing touched, for an unsafe target.
DeployCounts DeployGame(const std::filesystem::path& target, const TCopyProgressEvent& onProgress = {});
