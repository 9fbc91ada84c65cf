// The k3x tool as scripts use it: exit codes, messages and the files it writes.
#include "BlendCache.h"
#include "ColourTables.h"
#include "ImageWriters.h"
#include "Pcx.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/wait.h>

using ::testing::HasSubstr;

namespace {

struct K3xRun {
    int exitCode;
    std::string out, err;
};

// Runs k3x with `arguments` in the current folder.
K3xRun k3x(const TempFolder& folder, const std::string& arguments)
{
    const int status = std::system((std::string(K3X_PATH) + " " + arguments + " >k3x.out 2>k3x.err").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("k3x.out"), folder.read("k3x.err")};
}

PalettePlanes palette(unsigned seed)
{
    std::mt19937 random(seed);
    PalettePlanes p;
    for (int i = 0; i < 256; ++i) {
        p.red[i] = static_cast<std::uint8_t>(random());
        p.green[i] = static_cast<std::uint8_t>(random());
        p.blue[i] = static_cast<std::uint8_t>(random());
    }
    return p;
}

void writePcx(const TempFolder& folder, const std::string& name, int width, int height, const PalettePlanes& colours)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    const auto bytes = EncodePcx(width, height, pixels, colours);
    folder.write(name, std::string(bytes.begin(), bytes.end()));
}

TEST(K3xTool, HelpListsTheCommands)
{
    const TempFolder folder;
    const K3xRun run = k3x(folder, "--help");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, HasSubstr("pcx IN.pcx OUT.(pcx|png) [--onto PALETTE.pcx]"));
    EXPECT_THAT(run.out, HasSubstr("blend BANK.def [--rebuild]"));
}

TEST(K3xPcx, ConvertsToPcxAndPng)
{
    const TempFolder folder;
    const PalettePlanes own = palette(1);
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
    writePcx(folder, "huge.pcx", 2000, 2000, palette(3));
    const K3xRun run = k3x(folder, "pcx huge.pcx out.pcx");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("2000 x 2000 pixels"));
    EXPECT_EQ(LoadPcx("out.pcx").pixels, LoadPcx("huge.pcx").pixels);
}

TEST(K3xPcx, RemapsOntoAnotherPalette)
{
    const TempFolder folder;
    const PalettePlanes own = palette(2), target = palette(3);
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
    writePcx(folder, "in.pcx", 2, 2, palette(4));
    folder.write("bad.pcx", "not an image");
    const struct {
        const char* arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {"pcx missing.pcx out.pcx", 1, "K3X: The file missing.pcx is missing"},
        {"pcx bad.pcx out.pcx", 1, "bad.pcx: too short for a PCX image"},
        {"pcx in.pcx out.pcx --onto missing.pcx", 1, "K3X: The file missing.pcx is missing"},
        {"pcx in.pcx out.bmp", 2, "usage: k3x pcx"},
        {"pcx in.pcx", 2, "usage: k3x pcx"},
        {"pcx in.pcx out.pcx --sideways", 2, "unknown option --sideways"},
        {"paint in.pcx", 2, "unknown command paint"},
    };
    for (const auto& c : cases) {
        const K3xRun run = k3x(folder, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_THAT(run.err, HasSubstr(c.message)) << c.arguments;
    }
    EXPECT_FALSE(folder.exists("out.pcx"));
}

TEST(K3xBlend, MakesTheCacheOnceAndRebuildsOnRequest)
{
    const TempFolder folder;
    writePcx(folder, "TEXTURES/PAL.PCX", 128, 128, palette(5));
    writePcx(folder, "TEXTURES/FLAT.PCX", 128, 128, palette(6));
    folder.write("Bank.def", "#images\r\n0=textures\\pal.pcx\r\n1=textures\\flat.pcx\r\n#textures\r\n0=0-1\r\n");

    K3xRun run = k3x(folder, "blend Bank.def");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("2 images, 1 textures"));
    EXPECT_THAT(run.out, HasSubstr("built and written"));
    ASSERT_TRUE(folder.exists("Bank.POT"));
    auto expected = std::make_unique<BlendTables>();
    BuildBlendTables(palette(5), *expected);
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
    writePcx(folder, "in.pcx", 128, 128, palette(7));
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
    EXPECT_THAT(run.err, HasSubstr("K3X: The file GONE.PCX is missing"));
    run = k3x(folder, "blend nobank.def");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("K3X: The file nobank.def is missing"));
    EXPECT_EQ(k3x(folder, "blend").exitCode, 2);
}

} // namespace
