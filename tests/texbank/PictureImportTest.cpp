// Import images apart from the window: the names the textures take, and an import that is
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
        EXPECT_EQ(PictureImport::TextureName(c.folder, c.picture, c.taken), c.name) << c.picture;
}

TEST(PictureImport, FillsFreeSlotsAndKeepsTheFilesThere)
{
    const TempFolder folder;
    folder.write("TEX/A.PCX", "someone else's"); // taken: the new texture is A_2
    EditorBank bank;
    bank.slots[2].name = "OLD.PCX";
    PictureImport importing(bank, threePictures(folder));
    importing.Run();
    PictureImportResult& result = importing.Result();
    ASSERT_TRUE(result.failure.empty()) << result.failure;
    ASSERT_EQ(result.change.slots.size(), 3u);
    const std::pair<int, std::string> placed[] = {{1, "TEX\\A_2.PCX"}, {3, "TEX\\B.PCX"}, {4, "TEX\\C.PCX"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(result.change.slots[i].slot, placed[i].first);
        EXPECT_EQ(result.change.slots[i].content.name, placed[i].second);
    }
    EXPECT_EQ(folder.read("TEX/A.PCX"), "someone else's");
    EXPECT_EQ(filesIn(folder.path() / "TEX"), 4u);
    EXPECT_EQ(importing.Done(), importing.Total());
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
