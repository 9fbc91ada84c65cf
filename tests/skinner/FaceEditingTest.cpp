#include "FaceEditing.h"

#include "EditorPanels.h"

#include <gtest/gtest.h>

// A virtual face 30 x 20 (or other sizes) at point 3 made another type: a width or height that
// names no point of the object becomes point 3; one that names a point stays. Only a virtual
// face's size is repaired: a triangle's points stay as they are whatever it becomes.
TEST(FaceEditing, AFaceTurnedFromVirtualNamesOnlyExistingPoints)
{
    const struct {
        std::uint16_t from, to, p2, p3;
        std::size_t points;
        std::uint16_t p2After, p3After;
    } cases[] = {
        {FaceVirtual, FaceTextured, 40, 2, 5, 3, 2},  // a width far past the points
        {FaceVirtual, FacePlain, 5, 4, 5, 3, 4},      // a width equal to the count names no point
        {FaceVirtual, FaceTextured, 4, 5, 5, 4, 3},   // nor does a height equal to it
        {FaceVirtual, FacePlain, 6, 6, 6, 3, 3},
        {FaceVirtual, FaceTexturedKeyed, 0, 65535, 65535, 0, 3},
        {FaceVirtual, FaceVirtual, 40, 50, 5, 40, 50}, // still virtual: its size kept
        {FacePlain, FaceTextured, 9, 5, 5, 9, 5},      // a triangle, even a broken one, is kept
        {FaceTextured, FaceVirtual, 9, 5, 5, 9, 5},
    };
    for (const auto& c : cases) {
        Face face{3, c.p2, c.p3};
        face.faceType = c.from;
        ChangeFaceType(face, c.to, c.points);
        EXPECT_EQ(face.faceType, c.to);
        EXPECT_EQ(face.p1, 3);
        EXPECT_EQ(face.p2, c.p2After) << c.from << " to " << c.to << ", " << c.p2 << " x " << c.p3 << " of " << c.points;
        EXPECT_EQ(face.p3, c.p3After) << c.from << " to " << c.to << ", " << c.p2 << " x " << c.p3 << " of " << c.points;
    }
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
