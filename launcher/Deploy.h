#pragma once
// Deploy: the installation folder holds the whole suite beside the game being made; deploying
// copies it into a folder that can be given to players, less the creation tools, their
// dictionaries and settings, the uninstaller and files of the listed kinds. The source is
// always the current folder.
#include "Errors.h"
#include "dircpy.h"

#include <array>
#include <cstddef>
#include <cstdint>
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

// The tools' help pages, named as the help finder looks for them (prefix_Language or prefix,
// .chm or .html): they go with the tools.
inline constexpr std::array<std::string_view, 16> DeployRemovedHelpPages{
    "ORMEL2_*.CHM",    "ORMEL2.CHM",    "ORMEL2_*.HTML",    "ORMEL2.HTML",
    "TESSARO3D_*.CHM", "TESSARO3D.CHM", "TESSARO3D_*.HTML", "TESSARO3D.HTML",
    "PIGMENTA_*.CHM",  "PIGMENTA.CHM",  "PIGMENTA_*.HTML",  "PIGMENTA.HTML",
    "PARTIVA_*.CHM",   "PARTIVA.CHM",   "PARTIVA_*.HTML",   "PARTIVA.HTML"};

// What a typed target is, looked at before anything is touched.
enum class DeployTargetKind {
    New,            // nothing there yet
    Empty,          // an empty folder
    EarlierDeploy,  // a game.ini and none of what deploy leaves out at its top: emptied without asking
    OtherFolder,    // any other folder holding files, a game project too: emptied only when the user agrees
    NotAFolder,     // a file, a link leading nowhere, a pipe ...: refused
    Unsafe,         // a disk's root, the project folder, one holding it or inside it: refused
    InsideProject,  // inside another game project, whose deploy would copy it along: refused
};

// A deploy refused before anything was touched; `kind` says why.
class RefusedDeployTarget : public OrmelError {
public:
    RefusedDeployTarget(DeployTargetKind kind, const std::string& message)
        : OrmelError(message), kind(kind)
    {
    }
    DeployTargetKind kind;
};

// Whether deploy may empty a folder that holds files and is not an earlier deploy.
enum class OtherFolderConsent { Refuse, Empty };

struct DeployCounts {
    std::filesystem::path target; // the real folder the game went into
    std::size_t copied = 0;  // files in the target after the copy
    std::size_t removed = 0; // of those, files the listed folders, kinds and names took away
    std::size_t files = 0;   // files of the deployed game, in the target at the end
    std::uintmax_t bytes = 0; // their size
    // One line per file that could not be copied (the copier's message); a failed copy leaves
    // no file behind in the target.
    std::vector<std::string> failures;
    // Files still in the target that are not part of the game: left from before because the
    // target could not be emptied, or of the listed names and kinds because they could not be
    // deleted.
    std::vector<std::string> notRemoved;
    // Left out of the copy on purpose: pipes, sockets and devices, never opened; linked folders
    // leading to folders copied already.
    std::vector<std::string> specialFiles;
    std::vector<std::string> repeatedFolders;
};

// The target first offered: "C:\REDIST" on Windows, elsewhere the folder REDIST beside the
// installation (current) folder.
std::filesystem::path DefaultDeployTarget();

// The folder a typed target names, as a real absolute path; a relative one is taken from the
// current folder.
std::filesystem::path DeployTargetPath(std::string_view typed);

// What `target` is: whether deploy may use it, must ask first, or must refuse it. Real folders
// are compared, so links and other spellings of the same folder are caught.
DeployTargetKind ExamineDeployTarget(const std::filesystem::path& target);

// Empties `target`, copies the current folder's tree into it, then removes the listed folders,
// kinds and files. A file that cannot be copied is skipped and named in `failures`; one that
// cannot be deleted is skipped and named in `notRemoved`. Throws RefusedDeployTarget, with
// nothing touched, for a target that is refused, or that holds files and is not an earlier deploy
// unless `consent` is Empty.
DeployCounts DeployGame(const std::filesystem::path& target, OtherFolderConsent consent = OtherFolderConsent::Refuse,
                        const TCopyProgressEvent& onProgress = {});
