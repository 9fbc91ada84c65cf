#include "FaceEditing.h"

#include "EditorPanels.h"

#include <gtest/gtest.h>

TEST(FaceEditing, AVirtualFaceMadeATriangleNamesOnlyExistingPoints)
{
    Face face{3, 40, 2};
    face.faceType = FaceVirtual;
    ChangeFaceType(face, FaceTextured, 5); // width 40 is no point of five; height 2 is one
    EXPECT_EQ(face.faceType, FaceTextured);
    EXPECT_EQ(face.p1, 3);
    EXPECT_EQ(face.p2, 3);
    EXPECT_EQ(face.p3, 2);

    Face triangle{0, 9, 1};
    ChangeFaceType(triangle, FacePlain, 5); // only a virtual face's size is repaired
    EXPECT_EQ(triangle.p2, 9);
    ChangeFaceType(triangle, FaceVirtual, 5);
    EXPECT_EQ(triangle.faceType, FaceVirtual);
    EXPECT_EQ(triangle.p2, 9);
}

TEST(FaceEditing, SizesAreWholeNumbersKeptIn16Bits)
{
    const struct {
        const char* text;
        std::optional<std::uint16_t> size;
    } cases[] = {{"40", 40},       {"70000", 4464},       {"-1", 65535},    {"$1F", 31},
                 {"", std::nullopt}, {"12a", std::nullopt}, {"1.5", std::nullopt}, {"99999999999", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(FaceSizeFromText(c.text), c.size) << c.text;
}

TEST(EditorPanels, TheGridShowsTheColourThatThePointerChooses)
{
    DisplayImage image;
    ASSERT_TRUE(CreateImage(image, 128, 128));
    ShowPaletteGrid(image, MakePaletteGrid(), 200, 7);
    // Rows count from the top on screen; the image's row 0 is the bottom one.
    const auto shown = [&image](int x, int y) { return image.pixels[static_cast<std::size_t>((127 - y) * 128 + x)]; };
    for (int y = 1; y < 128; ++y)
        for (int x = 1; x < 128; ++x) {
            const int colour = GridColourAt(x, y);
            if (colour != 200) {
                ASSERT_EQ(shown(x, y), colour) << x << ", " << y;
            }
        }
    // Colour 200 is cell column 12, row 7 from the top: its outline in the highlight colour.
    EXPECT_EQ(shown(96, 56), 7);
    EXPECT_EQ(shown(103, 63), 7);
    EXPECT_EQ(shown(100, 56), 7);
    EXPECT_EQ(shown(100, 60), 200);
}

TEST(EditorPanels, TheTextureViewTakesTheCurrentImageOrColourZero)
{
    auto bank = std::make_unique<SkinnerBank>();
    bank->images[3] = std::make_unique<TextureImage>();
    (*bank->images[3])[0] = 11;   // first row, first texel
    (*bank->images[3])[16383] = 22;
    bank->textures[1] = {3, 3, 3};
    bank->textures[2] = {5, 5, 5}; // an empty slot
    DisplayImage image;
    ASSERT_TRUE(CreateImage(image, 128, 128));
    ShowTextureImage(image, *bank, 1);
    EXPECT_EQ(image.pixels[0], 11); // stored first; the form shows it upside down, first row on top
    EXPECT_EQ(image.pixels[16383], 22);
    for (std::int32_t texture : {2, -1, 40000}) {
        ShowTextureImage(image, *bank, texture);
        EXPECT_EQ(image.pixels[0], 0);
        EXPECT_EQ(image.pixels[16383], 0);
    }
}
