#pragma once
// File, "Import images ...": pictures of today's formats become texture PCX files in a folder of
// the game and go into the bank's free slots from a given slot on, in the order chosen, each
// (unless the user does not want it) also its own still texture, first = last = its slot. A
// picture for slot 0 keeps a palette made for it, which becomes the bank's, as a PCX there
// would; the others are matched to the bank's palette (each keeps a palette of its own while
// the bank has none). The whole import is one BankChange.
//
// The work runs off the window's thread: Run decodes and writes on a few threads while the
// window shows Done() of Total() and may Cancel(). Each texture file is written whole or not at
// all (the safe-write path) under a name no other file or slot has, so nothing is overwritten;
// a cancelled or failed import removes the files it wrote and changes nothing.
#include "BankEditing.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct PictureImportRequest {
    std::vector<std::string> pictures; // the files chosen, in order
    std::filesystem::path gameFolder;  // the start folder, which bank names are relative to
    std::string folder;                // the textures' folder inside it as the bank names it ("TEXTURES"; empty: itself)
    std::int32_t fromSlot = 0;
    bool stillTextures = true;
};

// Why a picture was not imported.
enum class PictureRefusal { Blank, TooLong, Character, Unreadable, NoFreeSlot };
struct RefusedPicture {
    std::string file;
    PictureRefusal why = PictureRefusal::Unreadable;
    std::string detail; // the reader's message for an unreadable picture, the character for Character
};

struct PictureImportResult {
    BankChange change;
    std::vector<std::string> written;    // the texture files written (paths), in slot order
    std::vector<RefusedPicture> refused; // in the order chosen
    std::string failure;                 // why nothing was imported (a texture could not be written)
    bool cancelled = false;
};

class PictureImport {
public:
    // Takes what it needs of `bank` now (names, free slots and textures, palette); the bank itself
    // is never touched.
    PictureImport(const EditorBank& bank, PictureImportRequest request);

    // The import, on any thread, once.
    void Run();
    // From any thread: Run stops at its next picture.
    void Cancel() { cancelled_ = true; }
    int Done() const { return done_; }
    int Total() const { return static_cast<int>(request_.pictures.size()) * 2; } // read, then write
    // After Run.
    PictureImportResult& Result() { return result_; }

    // The name a texture made from `picture` takes in `folder` when `taken` (upper-case names)
    // holds those in use: the picture's name in capitals with ".PCX", then "_2", "_3" ... added.
    static std::string TextureName(const std::string& folder, const std::filesystem::path& picture,
                                   const std::vector<std::string>& taken);

private:
    struct Picture;
    void readPictures(std::vector<Picture>& pictures);
    void placePictures(std::vector<Picture>& pictures);
    void writeTextures(std::vector<Picture>& pictures);
    void collectChange(std::vector<Picture>& pictures);
    void undoWrites();

    PictureImportRequest request_;
    std::filesystem::path folderOnDisk_; // the textures' folder, resolved once by Run
    std::array<std::string, EditorBank::Capacity> slotNames_;
    std::array<bool, EditorBank::Capacity> textureFree_{};
    PalettePlanes bankPalette_{};
    bool bankHasPalette_ = false;
    std::atomic<bool> cancelled_ = false;
    std::atomic<int> done_ = 0;
    PictureImportResult result_;
};
