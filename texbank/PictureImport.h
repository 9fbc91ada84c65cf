#pragma once
// File, "Import images ...": pictures of today's formats become texture PCX files in a folder of
// the game and go into the bank's free slots from a given slot on, in the order chosen, each
// (unless the user does not want it) also its own still texture, first = last = its slot.
// Pictures imported into a bank that has a palette are matched to it. A bank without one (a new
// bank) gets one palette made from all the chosen pictures together, written as slot 0's image
// (a picture of the palette itself), and every picture is matched to it, so that no picture
// decides the colours of the others. The whole import is one BankChange, which holds the files
// it wrote: undoing it removes them, redoing it writes them again.
//
// Prepare reads and fits the pictures (once for each fit asked), makes or takes the palette and
// matches the pictures to it, so that a dialog can show the palette and each picture before
// anything is written; Run writes. Both run off the window's thread on a few threads while the
// window shows Done() of Total() and may Cancel(). Each texture file is written whole or not at
// all (the safe-write path) under a name no other file or slot has, so nothing is overwritten;
// a cancelled or failed import removes the files it wrote and changes nothing.
#include "BankEditing.h"
#include "TextureBatch.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct PictureImportRequest {
    std::vector<std::string> pictures; // the files chosen, in order
    std::filesystem::path gameFolder;  // the start folder, which bank names are relative to
    std::string folder;                // the textures' folder inside it as the bank names it ("TEXTURES"; empty: itself)
    std::int32_t fromSlot = 0;
    bool stillTextures = true;
    TextureFit fit = TextureFit::Crop;
    bool dither = false;
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

// A picture as it will be written: its texture on the import's palette, or why it is refused.
struct PicturePreview {
    std::string file;
    const TextureImage* pixels = nullptr; // null when refused
    std::optional<RefusedPicture> refused;
};

class PictureImport {
public:
    // Takes what it needs of `bank` now (names, free slots and textures, palette); the bank itself
    // is never touched.
    PictureImport(const EditorBank& bank, PictureImportRequest request);

    // What the import does; the fit, dithering, folder and still textures may change until Run.
    PictureImportRequest& Request() { return request_; }
    // Reads the pictures for the chosen fit and takes or makes their palette (each once a fit),
    // then matches every picture to it. Any thread.
    void Prepare();
    // After Prepare: the palette the textures use, whether it is made from the pictures (and
    // written as slot 0), and each picture as it will be written.
    bool Prepared() const { return prepared_; }
    const PalettePlanes& Palette() const { return palette_.palette; }
    bool MakesPalette() const { return !bankHasPalette_; }
    std::vector<PicturePreview> Previews() const;

    // Prepare unless done for the chosen fit and dithering, then the import, on any thread, once.
    void Run();
    // From any thread: Prepare and Run stop at their next picture.
    void Cancel() { cancelled_ = true; }
    int Done() const { return done_; }
    int Total() const { return static_cast<int>(request_.pictures.size()) * 2; } // read, then write
    // After Run.
    PictureImportResult& Result() { return result_; }

private:
    struct Placed;
    std::vector<Placed> placePictures();
    void writeTextures(std::vector<Placed>& placed);
    void collectChange(std::vector<Placed>& placed);
    void undoWrites();

    PictureImportRequest request_;
    std::vector<std::optional<RefusedPicture>> nameRefusals_; // names the bank cannot keep, found at once
    // The pictures read for a fit and the palette they take: dithering changes neither.
    struct FitRead {
        std::vector<BatchPicture> pictures;
        BatchPalette palette;
    };
    std::map<TextureFit, FitRead> read_;                      // by fit
    std::vector<BatchPicture>* pictures_ = nullptr;           // those of the last Prepare
    BatchPalette palette_;
    bool prepared_ = false;
    TextureFit preparedFit_ = TextureFit::Crop;
    bool preparedDither_ = false;

    std::filesystem::path folderOnDisk_; // the textures' folder, resolved once by Run
    std::array<std::string, EditorBank::Capacity> slotNames_;
    std::array<bool, EditorBank::Capacity> textureFree_{};
    PalettePlanes bankPalette_{};
    bool bankHasPalette_ = false;
    std::atomic<bool> cancelled_ = false;
    std::atomic<int> done_ = 0;
    PictureImportResult result_;
};
