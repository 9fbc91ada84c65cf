// k3x render and k3x dxf as scripts use them, against the same frame drawn in the process.
#include "EditorFrame.h"
#include "ImageWriters.h"
#include "K3xRun.h"
#include "ObjectFile.h"
#include "Pcx.h"
#include "Renderer.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

namespace {

// A square of two textured faces and a plain one beside it, 200 units across.
Object3D sampleObject()
{
    Object3D object;
    AllocateObject(object, 6, 2);
    object.x = {-100, 0, 0, -100, 20, 100, 100};
    object.y = {50, 50, -50, -50, 50, 50, -50};
    object.z = {0, 0, 0, 0, 0, 0, 0};
    object.faces[0] = {0, 1, 2, 0, 0, 0, FaceTextured, 0};
    object.faces[1] = {2, 3, 0, 0, 1, 0, FaceTextured, 0};
    object.faces[2] = {4, 5, 6, 9, 0, 0, FacePlain, 50};
    return object;
}

// A bank of two images on a grey palette, texture 0 showing the second.
void writeBank()
{
    PalettePlanes palette;
    for (int i = 0; i < 256; ++i)
        palette.red[i] = palette.green[i] = palette.blue[i] = static_cast<std::uint8_t>(i);
    std::vector<std::uint8_t> pixels(128 * 128);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(1 + i % 200);
    WriteFileAtomically("A.PCX", EncodePcx(128, 128, pixels, palette));
    WriteFileAtomically("B.PCX", EncodePcx(128, 128, pixels, palette));
    WriteFileAtomically("bank.def", std::string_view("#images\n0=a.pcx\n1=b.pcx\n#textures\n0=1-1\n"));
}

// The frame k3x should draw, top row first, and the palette it should write.
struct Expected {
    std::vector<std::uint8_t> pixels;
    PalettePlanes palette;
};

Expected drawHere(int width, int height, bool bank, const EditorView& view, int outline = -1)
{
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, width, height);
    SetBankPlaceholders(context->bank);
    HighlightColours colours;
    if (bank)
        colours = LoadRenderBank("bank.def", *context).highlight;
    DrawEditorFrame(*context, sampleObject(), view);
    std::uint8_t highlight = 0;
    if (outline >= 0)
        OutlineFace(*context, outline, colours, highlight);
    Expected expected{{}, context->bank.bankPalette};
    for (int row = height - 1; row >= 0; --row)
        expected.pixels.insert(expected.pixels.end(), context->screen.row(row), context->screen.row(row) + width);
    return expected;
}

} // namespace

TEST(K3xRender, DrawsTheEditorsFrameTopRowFirst)
{
    const TempFolder folder;
    writeBank();
    SaveObject("sample.3do", sampleObject());
    EditorView view;
    view.yaw = 900;
    view.pitch = -400;
    view.distance = 250;
    view.height = 10;
    const K3xRun run = k3x(folder, "render sample.3do -o out.pcx --bank bank.def --size 200x150 --yaw 900 --pitch -400 "
                                "--distance 250 --height 10 --outline 2");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PcxImage image = LoadPcx("out.pcx");
    const Expected expected = drawHere(200, 150, true, view, 2);
    EXPECT_EQ(image.width, 200);
    EXPECT_EQ(image.height, 150);
    EXPECT_EQ(image.pixels, expected.pixels);
    EXPECT_GT(std::count_if(image.pixels.begin(), image.pixels.end(), [](std::uint8_t p) { return p != 0; }), 1000);
    EXPECT_GT(std::count(image.pixels.begin(), image.pixels.end(), 255), 20) << "the outline, in white";
    EXPECT_EQ(image.palette, expected.palette);
    EXPECT_EQ(image.palette.red[0], 128);
    EXPECT_EQ(image.palette.blue[0], 128);
}

TEST(K3xRender, WithoutABankDrawsWithTheStandIns)
{
    const TempFolder folder;
    SaveObject("sample.3do", sampleObject());
    const K3xRun run = k3x(folder, "render sample.3do -o out.png --repeat 3");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, MatchesRegex("frames: 3, median ms: [0-9]+\\.[0-9][0-9][0-9]\n"));
    EXPECT_EQ(folder.read("out.png").substr(1, 3), "PNG");
    ASSERT_EQ(k3x(folder, "render sample.3do -o out.pcx").exitCode, 0);
    EXPECT_EQ(LoadPcx("out.pcx").pixels, drawHere(380, 384, false, EditorView{}).pixels);
}

TEST(K3xRender, ReportsBadArgumentsAndMissingFiles)
{
    const TempFolder folder;
    SaveObject("sample.3do", sampleObject());
    EXPECT_EQ(k3x(folder, "render sample.3do -o out.pcx --size 8x8").exitCode, 1);
    EXPECT_EQ(k3x(folder, "render sample.3do -o out.pcx --size big").exitCode, 2);
    EXPECT_EQ(k3x(folder, "render sample.3do -o out.bmp").exitCode, 2);
    EXPECT_EQ(k3x(folder, "render sample.3do").exitCode, 2);
    const K3xRun missing = k3x(folder, "render none.3do -o out.pcx");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_THAT(missing.err, HasSubstr(": the file none.3do is missing"));
    EXPECT_FALSE(folder.exists("out.pcx"));
}

TEST(K3xDxf, ImportsAMeshAndSavesIt)
{
    const TempFolder folder;
    ASSERT_EQ(k3x(folder, std::string("dxf ") + ORMEL_TEST_DATA + "/dxf/triangle-then-quad.dxf out.3do").exitCode, 0);
    Object3D object;
    LoadObject("out.3do", object);
    EXPECT_EQ(object.lastPoint, 6);
    EXPECT_EQ(object.lastFace, 2);
    EXPECT_EQ(folder.read("out.3do").size(), 4u + 12 * 7 + 16 * 3);

    const K3xRun refused = k3x(folder, std::string("dxf ") + ORMEL_TEST_DATA + "/dxf/no-faces.dxf other.3do");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_THAT(refused.err, HasSubstr("no-faces.dxf"));
    EXPECT_FALSE(folder.exists("other.3do"));
    EXPECT_EQ(k3x(folder, "dxf only-one.dxf").exitCode, 2);

    // One prefix, and a folder is no missing file.
    folder.write("folder.dxf/inside", "");
    const struct {
        const char* arguments;
        const char* says;
    } failures[] = {{"dxf gone.dxf new.3do", "k3x dxf: the file gone.dxf is missing\n"},
                    {"dxf folder.dxf new.3do", "k3x dxf: folder.dxf is a folder, not a file\n"}};
    for (const auto& failure : failures) {
        const K3xRun run = k3x(folder, failure.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, failure.says);
    }
    EXPECT_FALSE(folder.exists("new.3do"));
}
