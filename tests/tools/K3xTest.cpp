// The k3x tool as scripts use it: exit codes, messages and the files it writes.
#include "BlendCache.h"
#include "ColourTables.h"
#include "K3xRun.h"
#include "ObjectFile.h"
#include "Pcx.h"
#include "TempFolder.h"
#include "../graphics/GraphicsSamples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using ::testing::HasSubstr;

namespace {

void writePcx(const TempFolder& folder, const std::string& name, int width, int height, const PalettePlanes& colours)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    folder.write(name, PcxFile(width, height, pixels, colours));
}

TEST(K3xTool, HelpListsTheCommands)
{
    const TempFolder folder;
    const K3xRun run = k3x(folder, "--help");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, HasSubstr("pcx IN.pcx OUT.(pcx|png) [--onto PALETTE.pcx]"));
    EXPECT_THAT(run.out, HasSubstr("blend BANK.def [--rebuild]"));
}

TEST(K3xTool, CommandHelpSaysWhatTheUsageCannot)
{
    const TempFolder folder;
    const K3xRun tool = k3x(folder, "tool --help");
    EXPECT_EQ(tool.exitCode, 0);
    // Every tool beside its menu item: the names differ.
    const char* const lines[] = {"  colour-all       Make all coloured (--colour)\n",
                                 "  replace-colour   Replace the colour (--colour, --face)\n",
                                 "  merge-points     Merge double points\n",
                                 "  flip-normals     Turn all faces over\n",
                                 "  mirror-y         Mirror, Y\n",
                                 "  turn-z           Rotation, 90\u00b0 Z\n",
                                 "  take-skin        Reuse the skin of object ... (--from)\n"};
    for (const char* line : lines)
        EXPECT_THAT(tool.out, HasSubstr(line));
    EXPECT_THAT(k3x(folder, "render --help").out, HasSubstr("16384 is\nhalf a turn, 32768 a whole one"));
}

TEST(K3xPcx, ConvertsToPcxAndPng)
{
    const TempFolder folder;
    const PalettePlanes own = RandomPalette(1);
    writePcx(folder, "in.pcx", 5, 3, own);
    ASSERT_EQ(k3x(folder, "pcx in.pcx out.PCX").exitCode, 0);
    const PcxImage in = LoadPcx("in.pcx"), out = LoadPcx("out.PCX");
    EXPECT_EQ(out.pixels, in.pixels);
    EXPECT_EQ(out.palette, own);
    ASSERT_EQ(k3x(folder, "pcx in.pcx out.png").exitCode, 0);
    EXPECT_EQ(folder.read("out.png").substr(1, 3), "PNG");
}

TEST(K3xPcx, DecodesA2000By2000Picture)
{
    const TempFolder folder;
    writePcx(folder, "huge.pcx", 2000, 2000, RandomPalette(3));
    const K3xRun run = k3x(folder, "pcx huge.pcx out.pcx");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("2000 x 2000 pixels"));
    EXPECT_EQ(LoadPcx("out.pcx").pixels, LoadPcx("huge.pcx").pixels);
}

TEST(K3xPcx, RemapsOntoAnotherPalette)
{
    const TempFolder folder;
    const PalettePlanes own = RandomPalette(2), target = RandomPalette(3);
    writePcx(folder, "in.pcx", 16, 16, own);
    writePcx(folder, "target.pcx", 2, 2, target);
    ASSERT_EQ(k3x(folder, "pcx in.pcx out.pcx --onto target.pcx").exitCode, 0);
    const PcxImage out = LoadPcx("out.pcx");
    EXPECT_EQ(out.palette, target);
    EXPECT_EQ(out.pixels, LoadPcxRemapped("in.pcx", target).pixels);
}

TEST(K3xPcx, FailuresAndUsageErrors)
{
    const TempFolder folder;
    writePcx(folder, "in.pcx", 2, 2, RandomPalette(4));
    folder.write("bad.pcx", "not an image");
    const K3xRefusal refusals[] = {
        {"pcx missing.pcx out.pcx", 1, ": the file missing.pcx is missing"},
        {"pcx bad.pcx out.pcx", 1, "bad.pcx: too short for a PCX image"},
        {"pcx in.pcx out.pcx --onto missing.pcx", 1, ": the file missing.pcx is missing"},
        {"pcx in.pcx out.bmp", 2, "usage: k3x pcx"},
        {"pcx in.pcx", 2, "usage: k3x pcx"},
        {"pcx in.pcx out.pcx --sideways", 2, "unknown option --sideways"},
        {"paint in.pcx", 2, "unknown command paint"},
    };
    expectRefusals(folder, refusals);
    EXPECT_FALSE(folder.exists("out.pcx"));
}

TEST(K3xBlend, MakesTheCacheOnceAndRebuildsOnRequest)
{
    const TempFolder folder;
    writePcx(folder, "TEXTURES/PAL.PCX", 128, 128, RandomPalette(5));
    writePcx(folder, "TEXTURES/FLAT.PCX", 128, 128, RandomPalette(6));
    folder.write("Bank.def", "#images\r\n0=textures\\pal.pcx\r\n1=textures\\flat.pcx\r\n#textures\r\n0=0-1\r\n");

    K3xRun run = k3x(folder, "blend Bank.def");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("2 images, 1 textures"));
    EXPECT_THAT(run.out, HasSubstr("built and written"));
    ASSERT_TRUE(folder.exists("Bank.POT"));
    auto expected = std::make_unique<BlendTables>();
    BuildBlendTables(RandomPalette(5), *expected);
    EXPECT_EQ(folder.read("Bank.POT"), std::string(expected->entries.begin(), expected->entries.end()));

    EXPECT_THAT(k3x(folder, "blend Bank.def").out, HasSubstr("read"));
    EXPECT_THAT(k3x(folder, "blend Bank.def --rebuild").out, HasSubstr("built and written"));
    folder.write("Bank.POT", "short");
    EXPECT_THAT(k3x(folder, "blend Bank.def").out, HasSubstr("built and written"));
    EXPECT_EQ(std::filesystem::file_size(folder.path() / "Bank.POT"), BlendTables::Size);
}

TEST(K3xTool, OutputsThatCannotBeWrittenFailAndLeaveWhatWasThere)
{
    // A folder in the way of each output: a read-only folder would be ignored by root.
    const TempFolder folder;
    writePcx(folder, "in.pcx", 128, 128, RandomPalette(7));
    folder.write("bank.def", "#images\r\n0=in.pcx\r\n");
    folder.write("out.pcx/keep", "kept");
    folder.write("bank.POT/keep", "kept");
    for (const char* arguments : {"pcx in.pcx out.pcx", "blend bank.def"}) {
        const K3xRun run = k3x(folder, arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments;
        EXPECT_THAT(run.err, HasSubstr("Cannot write")) << arguments;
    }
    EXPECT_EQ(folder.read("out.pcx/keep"), "kept");
    EXPECT_EQ(folder.read("bank.POT/keep"), "kept");
}

TEST(K3xBlend, MissingFilesFail)
{
    const TempFolder folder;
    folder.write("bank.def", "#images\r\n0=gone.pcx\r\n");
    K3xRun run = k3x(folder, "blend bank.def");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr(": the file GONE.PCX is missing"));
    run = k3x(folder, "blend nobank.def");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr(": the file nobank.def is missing"));
    EXPECT_EQ(k3x(folder, "blend").exitCode, 2);
}

// Points A, B, A, C and three faces; face 1 plain in colour 5, face 2 textured with texture 5.
Object3D toolObject()
{
    Object3D object;
    AllocateObject(object, 3, 2);
    const std::int32_t places[4][3] = {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}, {-7, 8, -9}};
    for (int p = 0; p < 4; ++p) {
        object.x[p] = places[p][0];
        object.y[p] = places[p][1];
        object.z[p] = places[p][2];
    }
    object.faces[0] = {0, 1, 2, 5, 0, 0, FacePlain, 0};
    object.faces[1] = {2, 3, 1, 5, 0, 0, FacePlain, 0};
    object.faces[2] = {3, 2, 0, 5, 0, 0, FaceTextured, 0};
    return object;
}

TEST(K3xToolCommand, RunsEachToolOnAnObjectFile)
{
    const TempFolder folder;
    SaveObject("in.3do", toolObject());

    ASSERT_EQ(k3x(folder, "tool merge-points in.3do merged.3do").exitCode, 0);
    Object3D merged;
    LoadObject("merged.3do", merged);
    EXPECT_EQ(merged.lastPoint, 2);
    EXPECT_EQ(merged.faces[1].p1, 0);
    EXPECT_EQ(merged.faces[1].p2, 2);
    EXPECT_THAT(folder.read("k3x.out"), HasSubstr("merged.3do: 3 points, 3 faces, 1 merged"));

    ASSERT_EQ(k3x(folder, "tool replace-colour in.3do replaced.3do --face 2 --colour 77").exitCode, 0);
    Object3D replaced;
    LoadObject("replaced.3do", replaced);
    EXPECT_EQ(replaced.faces[0].texture, 77);
    EXPECT_EQ(replaced.faces[1].texture, 77);
    EXPECT_EQ(replaced.faces[2].texture, 5); // textured: not a colour

    Object3D skin = toolObject();
    AllocateObject(skin, 3, 0);
    skin.faces[0] = {1, 0, 3, 12, 2, 1, FaceTexturedKeyed, 30};
    SaveObject("skin.3do", skin);
    ASSERT_EQ(k3x(folder, "tool take-skin in.3do skinned.3do --from skin.3do").exitCode, 0);
    Object3D skinned;
    LoadObject("skinned.3do", skinned);
    EXPECT_EQ(skinned.faces[0], skin.faces[0]);
    EXPECT_EQ(skinned.faces[1], toolObject().faces[1]);
    EXPECT_THAT(folder.read("k3x.out"), HasSubstr("1 faces skinned from skin.3do, 0 skipped"));
    // A face that names a point the object lacks is skipped, and counted.
    AllocateObject(skin, 4, 1);
    skin.faces[0] = {1, 0, 3, 12, 2, 1, FaceTexturedKeyed, 30};
    skin.faces[1] = {4, 0, 3, 12, 2, 1, FaceTexturedKeyed, 30};
    SaveObject("skin.3do", skin);
    ASSERT_EQ(k3x(folder, "tool take-skin in.3do skinned.3do --from skin.3do").exitCode, 0);
    EXPECT_THAT(folder.read("k3x.out"), HasSubstr("1 faces skinned from skin.3do, 1 skipped"));
}

TEST(K3xToolCommand, EveryToolNameRuns)
{
    const TempFolder folder;
    SaveObject("a.3do", toolObject());
    for (const char* tool : {"colour-all --colour 3", "texture-all --texture 3", "transparent-all --transparency 3",
                             "single-sided", "double-sided", "flip-normals", "mirror-x", "mirror-z", "turn-y", "turn-z"})
        EXPECT_EQ(k3x(folder, std::string("tool ") + tool + " a.3do b.3do").exitCode, 0) << tool;
    // Four quarter turns give the file back.
    const std::string start = folder.read("a.3do");
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(k3x(folder, "tool turn-x a.3do a.3do").exitCode, 0);
    EXPECT_EQ(folder.read("a.3do"), start);
}

TEST(K3xToolCommand, RefusesWrongUse)
{
    const TempFolder folder;
    SaveObject("in.3do", toolObject());
    const K3xRefusal refusals[] = {
        {"tool spin in.3do out.3do", 2, "unknown tool spin"},
        {"tool colour-all in.3do out.3do", 2, "colour-all needs --colour"},
        {"tool colour-all in.3do out.3do --colour 256", 2, "--colour takes 0 to 255"},
        {"tool mirror-x in.3do out.3do --colour 3", 2, "mirror-x takes no --colour"},
        {"tool replace-colour in.3do out.3do --colour 3 --face 3", 2, "beyond the last face"},
        {"tool flip-normals gone.3do out.3do", 1, ": the file gone.3do is missing"},
        {"tool take-skin in.3do out.3do --from gone.3do", 1, ": the file gone.3do is missing"},
    };
    expectRefusals(folder, refusals);
    EXPECT_FALSE(folder.exists("out.3do"));
}

TEST(K3xSkinCommand, SetsTheFieldsOfTheFacesThatMeetEveryCondition)
{
    const TempFolder folder;
    SaveObject("in.3do", toolObject()); // faces 0, 1 plain colour 5; face 2 textured 5
    const struct {
        const char* arguments;
        const char* says;
        std::array<Face, 3> faces;
    } runs[] = {
        {"--where colour=5 --set texture=9", "2 of 3 faces changed",
         {Face{0, 1, 2, 9, 0, 0, FaceTextured, 0}, Face{2, 3, 1, 9, 0, 0, FaceTextured, 0},
          Face{3, 2, 0, 5, 0, 0, FaceTextured, 0}}},
        {"--where texture=5 --where faces=1-2 --set colour=200 --set transparency=50", "1 of 3 faces changed",
         {Face{0, 1, 2, 5, 0, 0, FacePlain, 0}, Face{2, 3, 1, 5, 0, 0, FacePlain, 0},
          Face{3, 2, 0, 200, 0, 0, FacePlain, 50}}},
        {"--where type=3 --where faces=1 --set mapping=3 --set double-sided=1 --set type=1", "1 of 3 faces changed",
         {Face{0, 1, 2, 5, 0, 0, FacePlain, 0}, Face{2, 3, 1, 5, 3, 1, FaceTexturedKeyed, 0},
          Face{3, 2, 0, 5, 0, 0, FaceTextured, 0}}},
    };
    for (const auto& run : runs) {
        const K3xRun done = k3x(folder, std::string("skin in.3do out.3do ") + run.arguments);
        ASSERT_EQ(done.exitCode, 0) << run.arguments << done.err;
        EXPECT_THAT(done.out, HasSubstr(run.says)) << run.arguments;
        Object3D out;
        LoadObject("out.3do", out);
        for (int f = 0; f < 3; ++f)
            EXPECT_EQ(out.faces[f], run.faces[f]) << run.arguments << " face " << f;
    }
    std::filesystem::remove("out.3do");
    const K3xRefusal refusals[] = {
        {"skin in.3do out.3do --set shine=1", 1, "unknown field shine"},
        {"skin in.3do out.3do --where size=1 --set type=0", 1, "unknown condition size"},
        {"skin in.3do out.3do --set transparency=101", 1, "transparency=101 is out of range"},
        {"skin in.3do out.3do --set colour=x", 1, "colour takes a whole number, not 'x'"},
        {"skin in.3do out.3do --where faces=2-1 --set type=0", 1, "faces=2-1 ends before it starts"},
        {"skin in.3do out.3do --where colour=6 --set type=0", 1, "no face of in.3do meets the conditions"},
        {"skin in.3do out.3do", 2, "nothing to set"},
    };
    expectRefusals(folder, refusals);
    EXPECT_FALSE(folder.exists("out.3do"));
}

TEST(K3xToolCommand, FitsTexturesToQuads)
{
    const TempFolder folder;
    Object3D wall; // a square facing the eye, split along the other diagonal
    AllocateObject(wall, 3, 1);
    const std::int32_t corners[4][2] = {{0, 100}, {100, 100}, {100, 0}, {0, 0}};
    for (int p = 0; p < 4; ++p)
        wall.x[p] = corners[p][0], wall.y[p] = corners[p][1], wall.z[p] = 0;
    wall.faces[0] = {3, 0, 1, 4, 0, 0, FaceTextured, 0};
    wall.faces[1] = {1, 2, 3, 4, 0, 0, FaceTextured, 0};
    SaveObject("wall.3do", wall);
    const K3xRun run = k3x(folder, "tool fit-quads wall.3do fitted.3do");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, HasSubstr("fitted.3do: 4 points, 2 faces, 1 quads fitted"));
    Object3D fitted;
    LoadObject("fitted.3do", fitted);
    EXPECT_EQ(fitted.faces[0], (Face{0, 1, 2, 4, 0, 0, FaceTextured, 0}));
    EXPECT_EQ(fitted.faces[1], (Face{2, 3, 0, 4, 1, 0, FaceTextured, 0}));
}

} // namespace
