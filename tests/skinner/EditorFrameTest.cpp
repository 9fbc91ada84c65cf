#include "EditorFrame.h"

#include "ImageWriters.h"
#include "Renderer.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(MakeStartObject, IsOnePlainTriangleInALargeAllocation)
{
    Object3D object;
    MakeStartObject(object);
    EXPECT_EQ(object.lastPoint, 2);
    EXPECT_EQ(object.lastFace, 0);
    EXPECT_EQ(object.x.size(), 150001u);
    EXPECT_EQ(object.faces.size(), 50001u);
    EXPECT_EQ(object.y[1], 1);
    EXPECT_EQ(object.z[2], 1);
    EXPECT_EQ(object.faces[0].p3, 2);
    EXPECT_EQ(object.faces[0].faceType, FacePlain);
    EXPECT_EQ(object.faces[0].texture, 0);
    // The renderer's copy has grown to hold it, so no later object of that size grows it.
    EXPECT_GE(WorkingCopy().object.x.size(), 150001u);
    EXPECT_GE(WorkingCopy().object.faces.size(), 50001u);
}

class EditorBankTest : public testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<RenderContext> context = std::make_unique<RenderContext>();

    EditorBankTest()
    {
        // Two images: a grey ramp palette with white at 200 and black at 0 and 9.
        PalettePlanes palette;
        for (int i = 0; i < 256; ++i)
            palette.red[i] = palette.green[i] = palette.blue[i] = static_cast<std::uint8_t>(i / 2);
        palette.red[200] = palette.green[200] = palette.blue[200] = 255;
        palette.red[9] = palette.green[9] = palette.blue[9] = 0;
        std::vector<std::uint8_t> pixels(128 * 128, 5);
        WriteFileAtomically("A.PCX", EncodePcx(128, 128, pixels, palette));
        WriteFileAtomically("B.PCX", EncodePcx(128, 128, pixels, palette));
        WriteFileAtomically("bank.def", std::string_view("#images\r\n0=a.pcx\r\n1=b.pcx\r\n#textures\r\n0=1-1\r\n"));
        ResizeView(*context, 40, 30);
        SetBankPlaceholders(context->bank);
    }
};

TEST_F(EditorBankTest, LoadsTheBankShowsColourZeroPurpleAndFindsTheOutlineColours)
{
    const HighlightColours colours = LoadRenderBank("bank.def", *context).highlight;
    EXPECT_EQ(colours.white, 200);
    EXPECT_EQ(colours.black, 9) << "the highest of the equally near colours";
    const PalettePlanes& palette = context->bank.bankPalette;
    EXPECT_EQ(palette.red[0], 128);
    EXPECT_EQ(palette.green[0], 0);
    EXPECT_EQ(palette.blue[0], 128);
    EXPECT_EQ(context->screen.colourTable[0].red, 128);
    // The shade table was built from the palette as loaded, fog black: level 0 is black.
    EXPECT_EQ(context->bank.shadeTable->entries[0 * 256 + 200], 9);
    EXPECT_EQ(context->bank.shadeTable->entries[0 * 256 + 0], 0);
    EXPECT_EQ(context->bank.textures[0], (AnimTexture{1, 1, 1}));
}

TEST_F(EditorBankTest, TheOutlineBlinksBetweenWhiteAndBlack)
{
    const HighlightColours colours = LoadRenderBank("bank.def", *context).highlight;
    Object3D object;
    MakeStartObject(object);
    object.x = {-40, 40, 40};
    object.y = {40, 40, -40};
    object.z = {0, 0, 0};
    std::uint8_t highlight = 0;
    DrawEditorFrame(*context, object, EditorView{});
    ASSERT_EQ(context->triangleCount, 0);
    EXPECT_TRUE(OutlineFace(*context, 0, colours, highlight));
    EXPECT_EQ(highlight, 200);
    // The first corner, (-40, 40) at 300 units: column 20 - 640 div 300 = 18, row 15 - 2.
    const RenderTriangle& t = context->triangles[0];
    EXPECT_EQ(t.sx1, 18);
    EXPECT_EQ(t.sy1, 13);
    const auto pixel = [&](int x, int y) { return context->screen.pixels[(29 - y) * 40 + x]; };
    EXPECT_EQ(pixel(18, 13), 200);
    EXPECT_EQ(pixel(17, 13), 200);
    EXPECT_EQ(pixel(17, 12), 200);
    DrawEditorFrame(*context, object, EditorView{});
    EXPECT_TRUE(OutlineFace(*context, 0, colours, highlight));
    EXPECT_EQ(highlight, 9);
    EXPECT_EQ(pixel(18, 13), 9);
    EXPECT_FALSE(OutlineFace(*context, 1, colours, highlight));
    EXPECT_EQ(highlight, 9);
}
