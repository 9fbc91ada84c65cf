#include "FatalError.h"
#include "GraphicsSamples.h"
#include "Pcx.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using ::testing::HasSubstr;

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct RunCase {
    const char* name;
    int width, height, bytesPerLine;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> pixels;
};

TEST(PcxDecoder, DecodesRunsAndLiterals)
{
    const RunCase cases[] = {
        {"run then a last literal pixel", 2, 2, 2, {0xC3, 5, 7}, {5, 5, 5, 7}},
        {"run of count 0 consumes its colour", 2, 2, 2, {0xC0, 9, 1, 2, 3, 4}, {1, 2, 3, 4}},
        {"run past the last pixel stops there", 2, 2, 2, {0xC8, 6}, {6, 6, 6, 6}},
        {"colours from 192 come as runs of one", 2, 1, 2, {0xC1, 200, 0xBF}, {200, 191}},
        {"runs go on across lines", 3, 2, 3, {0xC4, 1, 0xC2, 2}, {1, 1, 1, 1, 2, 2}},
        {"padding bytes of lines are dropped", 3, 2, 4, {1, 2, 3, 0, 0xC3, 4, 0}, {1, 2, 3, 4, 4, 4}},
        {"longest run of 63", 63, 1, 63, {0xFF, 8}, std::vector<std::uint8_t>(63, 8)},
    };
    const PalettePlanes palette = RandomPalette(1);
    for (const RunCase& c : cases) {
        const std::string file = HandMadePcx(c.width, c.height, c.data, palette, c.bytesPerLine);
        const PcxImage image = DecodePcx(bytesOf(file), "sample.pcx");
        EXPECT_EQ(image.width, c.width) << c.name;
        EXPECT_EQ(image.height, c.height) << c.name;
        EXPECT_EQ(image.pixels, c.pixels) << c.name;
    }
}

TEST(PcxDecoder, ReadsTheLastLiteralOfATexture)
{
    // 16383 pixels in runs, then the last one on its own: every pixel is decoded.
    std::vector<std::uint8_t> data;
    for (int left = 16383; left > 0; left -= std::min(left, 63))
        data.insert(data.end(), {static_cast<std::uint8_t>(0xC0 + std::min(left, 63)), 3});
    data.push_back(9);
    const std::string file = HandMadePcx(128, 128, data, RandomPalette(2));
    const PcxImage image = DecodePcx(bytesOf(file), "texture.pcx");
    ASSERT_EQ(image.pixels.size(), 16384u);
    EXPECT_EQ(image.pixels[16382], 3);
    EXPECT_EQ(image.pixels[16383], 9);
}

TEST(PcxDecoder, TakesThePaletteFromTheLast768Bytes)
{
    const PalettePlanes palette = RandomPalette(3);
    const PcxImage image = DecodePcx(bytesOf(HandMadePcx(1, 1, {4}, palette)), "one.pcx");
    EXPECT_EQ(image.palette, palette);
}

TEST(PcxDecoder, RefusesMalformedFilesNamingThem)
{
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"truncated.pcx", "too short"},
        {"notpcx.pcx", "not a PCX image"},
        {"fourbit.pcx", "not a 256-colour PCX image (4 bits per pixel, 1 planes)"},
        {"threeplanes.pcx", "not a 256-colour PCX image (8 bits per pixel, 3 planes)"},
        {"absurd.pcx", "60000 x 60000 pixels cannot fit"},
        {"earlyend.pcx", "the pixel data ends early"},
    };
    for (const auto& c : cases) {
        const std::string path = std::string(ORMEL_TEST_DATA) + "/pcx/" + c.file;
        try {
            LoadPcx(path);
            ADD_FAILURE() << c.file << " was read";
        } catch (const FormatError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.file));
            EXPECT_THAT(error.what(), HasSubstr(c.reason));
        }
    }
}

TEST(PcxDecoder, RefusesLinesShorterThanTheWidth)
{
    const std::string file = HandMadePcx(4, 1, {1, 2, 3, 4}, RandomPalette(4), 2);
    EXPECT_THROW(DecodePcx(bytesOf(file), "short-lines.pcx"), FormatError);
}

TEST(LoadPcx, MissingFileIsTheFatalMessage)
{
    const TempFolder folder;
    try {
        LoadPcx("TEXTURES\\NOPE.PCX");
        FAIL();
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "K3X: The file TEXTURES\\NOPE.PCX is missing");
    }
}

TEST(LoadPcx, FindsNamesWhateverTheirCase)
{
    const TempFolder folder;
    folder.write("Textures/Brick.pcx", PcxFile(2, 2, {1, 2, 3, 4}, RandomPalette(5)));
    EXPECT_EQ(LoadPcx("TEXTURES\\BRICK.PCX").pixels, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST(LoadPcxRemapped, KeepsTheKeyColourAndNeverMakes255)
{
    const TempFolder folder;
    PalettePlanes target = RandomPalette(6);
    PalettePlanes own = RandomPalette(7);
    // File colour 9 is exactly target colour 255, which a remap must not give.
    own.red[9] = target.red[255];
    own.green[9] = target.green[255];
    own.blue[9] = target.blue[255];
    std::vector<std::uint8_t> pixels(256);
    for (int i = 0; i < 256; ++i)
        pixels[i] = static_cast<std::uint8_t>(i);
    folder.write("all.pcx", PcxFile(16, 16, pixels, own));
    const PcxImage image = LoadPcxRemapped("all.pcx", target);
    EXPECT_EQ(image.pixels[0], 0);
    EXPECT_EQ(image.pixels[9], NearestColour(target, target.red[255], target.green[255], target.blue[255], 1, 254));
    for (int i = 1; i < 256; ++i) {
        EXPECT_NE(image.pixels[i], 0) << i;
        EXPECT_NE(image.pixels[i], 255) << i;
    }
}

TEST(TextureBankEditorLoads, TakeOnly128By128Images)
{
    const TempFolder folder;
    folder.write("small.pcx", PcxFile(64, 64, std::vector<std::uint8_t>(64 * 64, 5), RandomPalette(8)));
    std::vector<std::uint8_t> pixels(16384, 77);
    PalettePlanes palette = RandomPalette(9);
    const PalettePlanes before = palette;
    EXPECT_FALSE(LoadTexturePcx("small.pcx", pixels, palette));
    EXPECT_FALSE(LoadTexturePcxRemapped("small.pcx", pixels, palette));
    EXPECT_EQ(pixels, std::vector<std::uint8_t>(16384, 77));
    EXPECT_EQ(palette, before);
}

TEST(TextureBankEditorLoads, RemapOntoColours1To255)
{
    const TempFolder folder;
    const PalettePlanes bank = RandomPalette(10);
    PalettePlanes own = RandomPalette(11);
    own.red[4] = bank.red[255];
    own.green[4] = bank.green[255];
    own.blue[4] = bank.blue[255];
    std::vector<std::uint8_t> source(16384, 4);
    source[0] = 0;
    folder.write("tex.pcx", PcxFile(128, 128, source, own));
    std::vector<std::uint8_t> pixels(16384);
    ASSERT_TRUE(LoadTexturePcxRemapped("tex.pcx", pixels, bank));
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[1], 255);
}

TEST(TextureBankEditorLoads, MissingFileIsAnInputError)
{
    const TempFolder folder;
    std::vector<std::uint8_t> pixels(16384);
    PalettePlanes palette;
    try {
        LoadTexturePcx("gone.pcx", pixels, palette);
        FAIL();
    } catch (const FatalError&) {
        FAIL() << "the editor's load reports an input error, not the fatal one";
    } catch (const IoError& error) {
        EXPECT_THAT(error.what(), HasSubstr("gone.pcx"));
    }
}

TEST(PcxWriter, WritesVersion5RunLengthFilesThatReadBack)
{
    for (const auto& [width, height] : {std::pair{1, 1}, {2, 3}, {3, 2}, {127, 5}, {128, 128}, {300, 2}}) {
        std::vector<std::uint8_t> pixels = RandomPixels(width * height, static_cast<unsigned>(width));
        // Long runs too, crossing the writer's 63-pixel limit.
        std::fill(pixels.begin(), pixels.begin() + std::min<std::size_t>(pixels.size(), 200), 250);
        const PalettePlanes palette = RandomPalette(static_cast<unsigned>(height));
        const std::vector<std::uint8_t> file = EncodePcx(width, height, pixels, palette);
        const PcxHeader header = ReadPcxHeader(file.data());
        EXPECT_EQ(header.manufacturer, 10);
        EXPECT_EQ(header.version, 5);
        EXPECT_EQ(header.encoding, 1);
        EXPECT_EQ(header.bitsPerPixel, 8);
        EXPECT_EQ(header.planes, 1);
        EXPECT_EQ(header.bytesPerLine, width % 2 ? width + 1 : width) << width;
        EXPECT_EQ(file[file.size() - 769], 0x0C);
        const PcxImage image = DecodePcx(file, "written.pcx");
        EXPECT_EQ(image.pixels, pixels) << width << " x " << height;
        EXPECT_EQ(image.palette, palette);
    }
}

} // namespace
