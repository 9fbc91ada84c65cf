#include "FatalError.h"
#include "GraphicsSamples.h"
#include "Pcx.h"
#include "PlainPcx.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

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

// Images large enough for the decoder's fast path, which runs while far from both ends.
TEST(PcxDecoder, FastPathWritesEachLineAsItsRunsSay)
{
    // Each line of 200 pixels: runs of 63 of colours 1, 2, 3, 11 of colour 4, then a run of
    // count 0 of colour 9 and a padding byte 7 (lines of 201 bytes). Neither 9 nor 7 is a pixel.
    std::vector<std::uint8_t> data;
    for (int y = 0; y < 150; ++y)
        data.insert(data.end(), {0xFF, 1, 0xFF, 2, 0xFF, 3, 0xCB, 4, 0xC0, 9, 7});
    const PcxImage padded = DecodePcx(bytesOf(HandMadePcx(200, 150, data, RandomPalette(20), 201)), "padded.pcx");
    for (int y : {0, 1, 75, 149}) {
        const std::uint8_t* row = padded.pixels.data() + y * 200;
        EXPECT_EQ(row[0], 1) << y;
        EXPECT_EQ(row[62], 1) << y;
        EXPECT_EQ(row[63], 2) << y;
        EXPECT_EQ(row[188], 3) << y;
        EXPECT_EQ(row[189], 4) << y;
        EXPECT_EQ(row[199], 4) << y;
    }
    EXPECT_EQ(std::count(padded.pixels.begin(), padded.pixels.end(), 4), 150 * 11);

    // Runs of 63 going on across the ends of 100-pixel lines: pixel i has the colour of run i / 63.
    data.clear();
    for (int run = 0; run * 63 < 100 * 90; ++run)
        data.insert(data.end(), {0xFF, static_cast<std::uint8_t>(run % 190)});
    const PcxImage across = DecodePcx(bytesOf(HandMadePcx(100, 90, data, RandomPalette(21))), "across.pcx");
    for (int i : {0, 62, 63, 99, 100, 126, 4999, 8999})
        EXPECT_EQ(across.pixels[static_cast<std::size_t>(i)], (i / 63) % 190) << i;
}

// Drawn data: literals, runs of 1 to 63 and runs of count 0, in the proportions asked.
std::vector<std::uint8_t> drawnRuns(std::size_t bytes, unsigned seed, int zeroRuns, int literals)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> data;
    for (std::size_t written = 0; written < bytes;) {
        const int kind = static_cast<int>(random() % 100);
        const auto colour = static_cast<std::uint8_t>(random());
        if (kind < zeroRuns) {
            data.insert(data.end(), {0xC0, colour});
        } else if (kind < zeroRuns + literals && colour < 0xC0) {
            data.push_back(colour);
            ++written;
        } else {
            const int count = 1 + static_cast<int>(random() % 63);
            data.insert(data.end(), {static_cast<std::uint8_t>(0xC0 + count), colour});
            written += static_cast<std::size_t>(count);
        }
    }
    return data;
}

TEST(PcxDecoder, FastPathAgreesWithAPlainDecoderOnLargeImages)
{
    const struct {
        const char* name;
        int width, height, bytesPerLine;
        int zeroRuns, literals; // percent
    } cases[] = {
        {"runs only, across line ends", 333, 211, 333, 0, 0},
        {"literals only, as dithered pictures are", 640, 480, 640, 0, 100},
        {"many runs of count 0", 256, 256, 256, 40, 30},
        {"padded lines", 301, 177, 302, 5, 50},
        {"lines padded by more than a run", 129, 300, 200, 5, 50},
        {"a texture", 128, 128, 128, 10, 45},
    };
    unsigned seed = 30;
    for (const auto& c : cases) {
        const std::size_t pixels = static_cast<std::size_t>(c.bytesPerLine) * c.height;
        ++seed;
        const std::string file =
            HandMadePcx(c.width, c.height, drawnRuns(pixels, seed, c.zeroRuns, c.literals), RandomPalette(seed), c.bytesPerLine);
        const PcxImage image = DecodePcx(bytesOf(file), "large.pcx");
        const auto plain = PlainPcxPixels(bytesOf(file), ReadPcxInfo(bytesOf(file), "large.pcx"));
        ASSERT_TRUE(plain) << c.name;
        EXPECT_EQ(image.pixels, *plain) << c.name;
    }
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

// Every load of the family reports a file it cannot use the same way, whoever calls it.
TEST(PcxLoads, OneErrorContract)
{
    const TempFolder folder;
    folder.write("small.pcx", PcxFile(64, 64, std::vector<std::uint8_t>(64 * 64, 5), RandomPalette(8)));
    folder.write("broken.pcx", std::string(2000, 'x'));
    try {
        LoadTexturePcx("small.pcx");
        FAIL() << "a 64 x 64 image was taken";
    } catch (const ImageSizeError& error) {
        EXPECT_EQ(error.width, 64);
        EXPECT_EQ(error.height, 64);
        EXPECT_STREQ(error.what(), "small.pcx: the image is 64 x 64 pixels; bank images are 128 x 128");
    }
    EXPECT_EQ(LoadPcx("small.pcx").width, 64);
    for (const auto& load : {LoadPcx, LoadTexturePcx}) {
        EXPECT_THROW(load("gone.pcx"), FatalError);
        EXPECT_THROW(load("broken.pcx"), FormatError);
    }
}

TEST(PcxLoads, TexturesAreThe128By128ImagesWhateverTheirCorner)
{
    // A header whose left and top are not 0: the width is xmax - xmin + 1.
    PcxHeader header;
    header.xmin = 3;
    header.xmax = 130;
    header.ymin = 7;
    header.ymax = 134;
    header.bytesPerLine = 128;
    std::vector<std::uint8_t> file(PcxHeaderSize);
    WritePcxHeader(header, file.data());
    const std::vector<std::uint8_t> pixels = RandomPixels(16384, 12);
    const std::vector<std::uint8_t> plain = EncodePcx(128, 128, pixels, RandomPalette(12));
    file.insert(file.end(), plain.begin() + PcxHeaderSize, plain.end());
    const TempFolder folder;
    folder.write("corner.pcx", AsText(file));
    const PcxImage image = LoadTexturePcx("corner.pcx");
    EXPECT_EQ(image.width, 128);
    EXPECT_EQ(image.height, 128);
    EXPECT_EQ(image.pixels, pixels);
}

TEST(PcxLoads, RemapOntoTheColoursAsked)
{
    const PalettePlanes bank = RandomPalette(10);
    PcxImage image;
    image.palette = RandomPalette(11);
    image.palette.red[4] = bank.red[255];
    image.palette.green[4] = bank.green[255];
    image.palette.blue[4] = bank.blue[255];
    image.pixels = {0, 4};
    PcxImage upTo254 = image;
    RemapPcx(image, bank, 255);
    RemapPcx(upTo254, bank, 254);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0, 255}));
    EXPECT_EQ(upTo254.pixels[1], NearestColour(bank, bank.red[255], bank.green[255], bank.blue[255], 1, 254));
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
