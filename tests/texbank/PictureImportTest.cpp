// Import images apart from the window: the names the textures take, one palette made from all the
// pictures for a bank without one, undo taking the written files away, and an import that is
// cancelled or cannot write leaves neither files nor a change.
#include "PictureImport.h"
#include "SafeWrite.h"
#include "TempFolder.h"
#include "TexturePcx.h"

#include <gtest/gtest.h>

namespace {

PictureImportRequest threePictures(const TempFolder& folder)
{
    PictureImportRequest request{{}, folder.path(), "TEX", 1, true};
    for (const char* name : {"a.pcx", "b.pcx", "c.pcx"}) {
        folder.write(name, PcxFile(200, 150, name[0], RampPalette(30)));
        request.pictures.push_back((folder.path() / name).string());
    }
    return request;
}

std::size_t filesIn(const std::filesystem::path& folder)
{
    std::error_code ec;
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder, ec), {}));
}

int writes = 0;
bool failTheThirdWrite(const std::filesystem::path&) { return ++writes == 3; }

} // namespace

TEST(PictureImport, ATextureNeverTakesANameInUseWhateverItsCase)
{
    const struct {
        std::string folder;
        std::string picture;
        std::vector<std::string> taken;
        std::string name;
    } cases[] = {
        {"TEX", "/photos/wall.jpg", {}, "TEX\\WALL.PCX"},
        {"", "/photos/wall.jpg", {}, "WALL.PCX"},
        {"TEX", "/photos/Wall.PNG", {"TEX\\WALL.PCX"}, "TEX\\WALL_2.PCX"},
        {"A\\B", "wall.gif", {"A\\B\\WALL.PCX", "A\\B\\WALL_2.PCX"}, "A\\B\\WALL_3.PCX"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextureNameFor(c.folder, c.picture, c.taken), c.name) << c.picture;
}

TEST(PictureImport, FillsFreeSlotsAndKeepsTheFilesThere)
{
    const TempFolder folder;
    folder.write("TEX/A.PCX", "someone else's"); // taken: the new texture is A_2
    EditorBank bank;
    bank.slots[2].name = "OLD.PCX"; // a name without an image: the bank has no palette yet
    PictureImport importing(bank, threePictures(folder));
    importing.Run();
    PictureImportResult& result = importing.Result();
    ASSERT_TRUE(result.failure.empty()) << result.failure;
    ASSERT_EQ(result.change.slots.size(), 4u);
    const std::pair<int, std::string> placed[] = {
        {0, "TEX\\PALETTE.PCX"}, {1, "TEX\\A_2.PCX"}, {3, "TEX\\B.PCX"}, {4, "TEX\\C.PCX"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(result.change.slots[i].slot, placed[i].first);
        EXPECT_EQ(result.change.slots[i].content.name, placed[i].second);
    }
    EXPECT_EQ(folder.read("TEX/A.PCX"), "someone else's");
    EXPECT_EQ(filesIn(folder.path() / "TEX"), 5u);
    EXPECT_EQ(importing.Done(), importing.Total());
}

TEST(PictureImport, ANewBankGetsOnePaletteInWhichEveryPictureKeepsItsColours)
{
    // Three flat pictures: whichever came first, the others would be matched to its one colour.
    const TempFolder folder;
    const std::uint8_t colours[][3] = {{150, 90, 40}, {40, 160, 60}, {90, 170, 230}};
    PictureImportRequest request{{}, folder.path(), "TEX", 0, true};
    for (int i = 0; i < 3; ++i) {
        PalettePlanes own;
        own.red[7] = colours[i][0], own.green[7] = colours[i][1], own.blue[7] = colours[i][2];
        const std::string name = "flat" + std::to_string(i) + ".pcx";
        const std::vector<std::uint8_t> pixels(64 * 48, 7);
        const std::vector<std::uint8_t> file = EncodePcx(64, 48, pixels, own);
        folder.write(name, std::string(file.begin(), file.end()));
        request.pictures.push_back((folder.path() / name).string());
    }
    PictureImport importing(EditorBank(), request);
    importing.Prepare();
    EXPECT_TRUE(importing.MakesPalette());
    const std::vector<PicturePreview> previews = importing.Previews();
    ASSERT_EQ(previews.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(previews[i].pixels, nullptr);
        const std::uint8_t c = (*previews[i].pixels)[64 * 128 + 64];
        EXPECT_EQ(importing.Palette().red[c], colours[i][0]) << i;
        EXPECT_EQ(importing.Palette().green[c], colours[i][1]) << i;
        EXPECT_EQ(importing.Palette().blue[c], colours[i][2]) << i;
    }
    importing.Run();
    BankChange& change = importing.Result().change;
    ASSERT_TRUE(change.palette);
    EXPECT_EQ(change.palette->palette, importing.Palette());
    ASSERT_EQ(change.slots.size(), 4u); // the palette's picture in slot 0, the pictures from 1
    EXPECT_EQ(change.slots[0].content.name, "TEX\\PALETTE.PCX");
    EXPECT_EQ(change.slots[1].slot, 1);
    EXPECT_EQ(change.textures.size(), 3u); // none for the palette's picture

    // A bank with a palette keeps it: the pictures are matched to it.
    EditorBank bank;
    ExchangeBankChange(bank, change);
    PictureImport onto(bank, request);
    onto.Prepare();
    EXPECT_FALSE(onto.MakesPalette());
    EXPECT_EQ(onto.Palette(), bank.bankPalette);
}

TEST(PictureImport, UndoRemovesTheFilesItWroteAndRedoWritesThemAgain)
{
    const TempFolder folder;
    PictureImport importing(EditorBank(), threePictures(folder));
    importing.Run();
    BankChange change = std::move(importing.Result().change);
    const std::filesystem::path b = folder.path() / "TEX" / "B.PCX";
    const std::string bytes = folder.read("TEX/B.PCX");
    EditorBank bank;
    ExchangeBankChange(bank, change); // done
    EXPECT_EQ(bank.slots[2].name, "TEX\\B.PCX");
    EXPECT_EQ(filesIn(folder.path() / "TEX"), 4u);
    ExchangeBankChange(bank, change); // undone
    EXPECT_TRUE(bank.slots[2].name.empty());
    EXPECT_EQ(filesIn(folder.path() / "TEX"), 0u);
    const EditorBankLoad redone = ExchangeBankChange(bank, change);
    EXPECT_TRUE(redone.problems.empty());
    EXPECT_EQ(folder.read("TEX/B.PCX"), bytes);
    ASSERT_TRUE(bank.slots[2].image);
}

TEST(PictureImport, ACancelledOrFailedImportLeavesNothing)
{
    for (const bool cancel : {true, false}) {
        const TempFolder folder;
        PictureImport importing(EditorBank(), threePictures(folder));
        writes = 0;
        if (cancel)
            importing.Cancel();
        else
            SetWriteFaultHook(failTheThirdWrite);
        importing.Run();
        SetWriteFaultHook(nullptr);
        const PictureImportResult& result = importing.Result();
        EXPECT_EQ(result.cancelled, cancel);
        EXPECT_EQ(result.failure.empty(), cancel);
        EXPECT_TRUE(result.change.Empty());
        EXPECT_TRUE(result.written.empty());
        EXPECT_EQ(filesIn(folder.path() / "TEX"), 0u);
    }
}
