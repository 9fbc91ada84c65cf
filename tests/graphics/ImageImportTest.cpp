// Pictures of today's formats into texture PCX files: decoding every format, fitting to the
// square, matching colours (never the key where the picture is drawn), made palettes, bad files.
#include "BankFile.h"
#include "Errors.h"
#include "GraphicsSamples.h"
#include "ImageImport.h"
#include "K3xFiles.h"
#include "Pcx.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <QBuffer>
#include <QImage>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>

using ::testing::HasSubstr;

namespace {

const std::string Data = std::string(ORMEL_TEST_DATA) + "/image/";

// Red on the left, blue on the right; the palette has both near colours, and pure black at 0.
PalettePlanes redBluePalette()
{
    PalettePlanes palette;
    palette.red[1] = 224, palette.green[1] = 32, palette.blue[1] = 32;
    palette.red[2] = 32, palette.green[2] = 64, palette.blue[2] = 224;
    palette.red[3] = palette.green[3] = palette.blue[3] = 128;
    for (int c = 4; c < 256; ++c)
        palette.red[c] = palette.green[c] = palette.blue[c] = 128; // ties go to the highest index
    return palette;
}

std::uint8_t at(const ImportedTexture& t, int x, int y) { return t.pixels[static_cast<std::size_t>(y) * TextureSide + x]; }

RgbaTexture flatPicture(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255)
{
    RgbaTexture picture;
    for (std::size_t i = 0; i < TexturePixels; ++i)
        picture[i * 4] = r, picture[i * 4 + 1] = g, picture[i * 4 + 2] = b, picture[i * 4 + 3] = a;
    return picture;
}

TEST(ImageImport, ReadsEveryFormat)
{
    ImageImportOptions options;
    options.palette = redBluePalette();
    options.fit = TextureFit::Stretch;
    // Read by content, whatever the name says; a 24-bit PCX too.
    for (const char* name : {"halves.png", "halves.jpg", "halves.bmp", "halves.gif", "halves.tga", "halves-rle.tga",
                             "halves-mapped.tga", "halves.webp", "halves.pcx", "halves24.pcx", "halves-png.tga"}) {
        SCOPED_TRACE(name);
        const ImportedTexture texture = ImportPictureFile(Data + name, options);
        EXPECT_EQ(at(texture, 10, 64), 1);  // red
        EXPECT_EQ(at(texture, 117, 64), 2); // blue
        EXPECT_EQ(texture.palette, *options.palette);
    }
}

TEST(ImageImport, FitsThePictureToTheSquare)
{
    // The picture is 40 x 20: red on the left half, blue on the right.
    struct Case {
        TextureFit fit;
        int topRowsKey;     // rows of the key above the picture
        int firstBlueColumn; // where blue starts on the middle row
    };
    const Case cases[] = {
        {TextureFit::Crop, 0, 64},    // 256 x 128, the middle 128 columns kept
        {TextureFit::Pad, 32, 64},    // 128 x 64 between 32 key rows above and below
        {TextureFit::Stretch, 0, 64}, // squeezed
    };
    for (const Case& c : cases) {
        ImageImportOptions options;
        options.palette = redBluePalette();
        options.fit = c.fit;
        const ImportedTexture texture = ImportPictureFile(Data + "halves.png", options);
        SCOPED_TRACE(static_cast<int>(c.fit));
        for (int y = 0; y < c.topRowsKey; ++y) {
            EXPECT_EQ(at(texture, 64, y), 0);
            EXPECT_EQ(at(texture, 64, 127 - y), 0);
        }
        EXPECT_NE(at(texture, 64, c.topRowsKey), 0);
        EXPECT_EQ(at(texture, c.firstBlueColumn - 3, 64), 1);
        EXPECT_EQ(at(texture, c.firstBlueColumn + 2, 64), 2);
        EXPECT_EQ(at(texture, 0, 64), 1);
        EXPECT_EQ(at(texture, 127, 64), 2);
    }
}

TEST(ImageImport, CropCutsTheLongSideEvenly)
{
    // 40 x 20 cropped: the picture's middle 20 columns, 10 red then 10 blue, fill the square.
    ImageImportOptions options;
    options.palette = redBluePalette();
    const ImportedTexture texture = ImportPictureFile(Data + "halves.png", options);
    EXPECT_EQ(at(texture, 60, 10), 1);
    EXPECT_EQ(at(texture, 68, 10), 2);
}

TEST(ImageImport, KeyOnlyWhereTheDrawingIsLessThanHalfOpaque)
{
    // Colour 0 is exactly the drawn green of the pictures; colour 1 is near it, the rest white.
    PalettePlanes palette;
    palette.red[0] = 32, palette.green[0] = 192, palette.blue[0] = 32;
    palette.red[1] = 40, palette.green[1] = 150, palette.blue[1] = 40;
    for (int c = 2; c < 256; ++c)
        palette.red[c] = palette.green[c] = palette.blue[c] = 255;
    for (std::uint8_t alpha : {0, 127, 128, 255}) {
        const TextureImage pixels = QuantiseTexture(flatPicture(32, 192, 32, alpha), palette, 255, false);
        const std::set<std::uint8_t> used(pixels.begin(), pixels.end());
        EXPECT_EQ(used, std::set<std::uint8_t>{std::uint8_t(alpha < 128 ? 0 : 1)}) << int(alpha);
    }
    // The transparent pixels of a picture file become the key, the others never.
    ImageImportOptions options;
    options.palette = palette;
    options.fit = TextureFit::Stretch;
    const ImportedTexture texture = ImportPictureFile(Data + "alpha.png", options);
    EXPECT_EQ(at(texture, 10, 64), 1);
    EXPECT_EQ(at(texture, 117, 64), 0);
}

// A 4 x 4 grey step (columns 64, 112, 160, 208) in a see-through picture, onto black (1) and
// white (2); colour 0, the key, is the first column's grey exactly and is never drawn. Worked by
// hand: each difference goes 7/16 right, 3/16 below left, 5/16 below, 1/16 below right, and a
// pixel takes what it was given in whole steps, rounded towards zero. Row 0: 64 is black
// (difference 64); 112 + 28 = 140 white (-115); 160 - 50 = 110 black (110); 208 + 48 is white.
// Row 1 starts with 64 + (5 x 64 - 3 x 115) / 16 = 64 - 1 = 63, black ...
TEST(ImageImport, DitherSpreadsTheDifferenceAsWorkedByHand)
{
    PalettePlanes palette;
    palette.red[0] = palette.green[0] = palette.blue[0] = 64;
    palette.red[2] = palette.green[2] = palette.blue[2] = 255;
    RgbaTexture picture{}; // all see-through: the key takes no difference and passes none on
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * TextureSide + x) * 4;
            picture[i] = picture[i + 1] = picture[i + 2] = static_cast<std::uint8_t>(64 + 48 * x);
            picture[i + 3] = 255;
        }
    const int plain[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {1, 1, 2, 2}, {1, 1, 2, 2}};
    const int dithered[4][4] = {{1, 2, 1, 2}, {1, 2, 2, 2}, {1, 1, 2, 1}, {1, 2, 1, 2}};
    for (const bool dither : {false, true}) {
        const TextureImage pixels = QuantiseTexture(picture, palette, 2, dither);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(pixels[static_cast<std::size_t>(y) * TextureSide + x], (dither ? dithered : plain)[y][x])
                    << "dither " << dither << " at " << x << "," << y;
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), static_cast<long>(TexturePixels) - 16);
    }
}

TEST(ImageImport, MakesAPaletteWithTheKeyKept)
{
    // Upper half see-through, then a quarter of black, the very colour of the key, and one of red.
    RgbaTexture picture = flatPicture(250, 10, 10);
    for (std::size_t i = 0; i < TexturePixels / 2; ++i)
        picture[i * 4 + 3] = 0;
    for (std::size_t i = TexturePixels / 2; i < TexturePixels * 3 / 4; ++i)
        picture[i * 4] = picture[i * 4 + 1] = picture[i * 4 + 2] = 0;
    const MadePalette made = MakeTexturePalette(picture);
    EXPECT_EQ(made.last, 2);
    EXPECT_EQ(made.palette.red[0] + made.palette.green[0] + made.palette.blue[0], 0);
    const TextureImage pixels = QuantiseTexture(picture, made.palette, made.last, false);
    EXPECT_EQ(pixels[0], 0);
    const std::uint8_t red = pixels[TexturePixels - 1], black = pixels[TexturePixels / 2];
    EXPECT_EQ(std::set<std::uint8_t>({red, black}), std::set<std::uint8_t>({1, 2}));
    EXPECT_EQ(made.palette.red[red], 250);
    EXPECT_EQ(made.palette.red[black] + made.palette.green[black] + made.palette.blue[black], 0);
}

// The colours come in the order the colour grid shows them: greys dark to light, then the hues
// round the circle (reds, yellows, greens, blues, purples), each dark to light.
TEST(ImageImport, APaletteMadeIsInGreysThenHuesEachDarkToLight)
{
    const std::uint8_t colours[][3] = {{0, 0, 255},   {255, 0, 0}, {128, 128, 128}, {0, 200, 0},
                                       {255, 255, 0}, {128, 0, 0}, {255, 255, 255}, {160, 0, 160}};
    RgbaTexture picture{};
    for (std::size_t i = 0; i < TexturePixels; ++i) {
        const std::uint8_t* c = colours[i * std::size(colours) / TexturePixels];
        std::copy(c, c + 3, &picture[i * 4]);
        picture[i * 4 + 3] = 255;
    }
    const MadePalette made = MakeTexturePalette(picture);
    const int expected[][3] = {{128, 128, 128}, {255, 255, 255}, {128, 0, 0}, {255, 0, 0},
                               {255, 255, 0},   {0, 200, 0},     {0, 0, 255}, {160, 0, 160}};
    ASSERT_EQ(made.last, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ((std::array{int(made.palette.red[i + 1]), int(made.palette.green[i + 1]), int(made.palette.blue[i + 1])}),
                  (std::array{expected[i][0], expected[i][1], expected[i][2]}))
            << "colour " << i + 1;
}

TEST(ImageImport, APhotoGetsAtMost255ColoursOfItsOwn)
{
    const ImportedTexture texture = ImportPictureFile(Data + "halves.jpg", {});
    EXPECT_EQ(texture.palette.red[0] + texture.palette.green[0] + texture.palette.blue[0], 0);
    EXPECT_EQ(std::count(texture.pixels.begin(), texture.pixels.end(), 0), 0);
    const int red = at(texture, 10, 64);
    EXPECT_NEAR(texture.palette.red[red], 224, 24);
    EXPECT_NEAR(texture.palette.blue[red], 32, 24);
}

TEST(ImageImport, RefusesBrokenFilesNamingThem)
{
    struct Case {
        const char* file;
        const char* says;
    };
    const Case cases[] = {
        {"truncated.png", "cannot be read"},
        {"truncated-data.png", "cannot be read"},
        {"notapicture.jpg", "not a picture"},
        {"empty.png", "not a picture"},
        {"truncated.tga", "cut short"},
        {"halves-cut.jpg", "the JPEG picture is cut short"}, // the decoder would fill it with grey
    };
    for (const Case& c : cases) {
        try {
            ImportPictureFile(Data + c.file, {});
            ADD_FAILURE() << c.file << " was read";
        } catch (const FormatError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.file));
            EXPECT_THAT(error.what(), HasSubstr(c.says)) << c.file;
        }
    }
    EXPECT_THROW(ImportPictureFile(Data + "missing.png", {}), IoError);
    // A complete run-length TGA of 2 MB whose 8,200 x 8,200 pixels would take 269 MB is refused
    // before anything is allocated, as Qt's readers refuse such pictures.
    std::vector<std::uint8_t> huge{0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x20, 0x08, 0x20, 24, 0};
    for (std::size_t n = 0; n < 8200ull * 8200; n += 128)
        huge.insert(huge.end(), {255, 1, 2, 3});
    try {
        ImportPicture(huge, "huge.tga", {});
        ADD_FAILURE() << "huge.tga was read";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("8200 x 8200 pixels is no size the import takes"));
    }
    // An identification field longer than the file: the pixels were read from beyond its end.
    const std::vector<std::uint8_t> idTooLong{226, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3};
    try {
        ImportPicture(idTooLong, "id.tga", {});
        ADD_FAILURE() << "id.tga was read";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("id.tga: the identification field is cut short"));
    }
}

// A picture written by Qt in `format`.
std::vector<std::uint8_t> encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

TEST(ImageImport, ThePictureComesUprightByItsOwnOrientation)
{
    // halves.jpg (red left, blue right) tagged "turn 90 degrees clockwise": red on top.
    ImageImportOptions options;
    options.palette = redBluePalette();
    options.fit = TextureFit::Stretch;
    const ImportedTexture texture = ImportPictureFile(Data + "halves-rotated.jpg", options);
    EXPECT_EQ(at(texture, 64, 10), 1);
    EXPECT_EQ(at(texture, 64, 117), 2);
}

TEST(ImageImport, ColoursAreScaledInFullColour)
{
    // A 256-colour picture of red and blue in a one-pixel checker, halved: each texel is the mean
    // of two red and two blue pixels, the purple of colour 3, not red, blue or a web-safe colour.
    QImage checker(256, 256, QImage::Format_Indexed8);
    checker.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            checker.setPixel(x, y, (x + y) % 2);
    PalettePlanes palette;
    const std::uint8_t colours[][3] = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {128, 0, 128}, {102, 0, 153}};
    for (int c = 1; c < 5; ++c)
        palette.red[c] = colours[c][0], palette.green[c] = colours[c][1], palette.blue[c] = colours[c][2];
    for (const char* format : {"png", "bmp"}) {
        ImageImportOptions options;
        options.palette = palette;
        const ImportedTexture texture = ImportPicture(encoded(checker, format), "checker", options);
        EXPECT_EQ(std::set<std::uint8_t>(texture.pixels.begin(), texture.pixels.end()), std::set<std::uint8_t>{3})
            << format;
    }
}

TEST(ImageImport, BlackAtColourZeroOfAPcxStaysBlack)
{
    // Only transparency makes the key: a 256-colour PCX drawn in its colour 0 (black) is black.
    PalettePlanes own;
    own.red[1] = 255;
    std::vector<std::uint8_t> pixels(64 * 64, 0);
    std::fill(pixels.begin(), pixels.begin() + 32 * 64, 1); // top half red
    const std::string file = PcxFile(64, 64, pixels, own);
    PalettePlanes bank = redBluePalette();
    bank.red[4] = bank.green[4] = bank.blue[4] = 0; // black, away from the key
    ImageImportOptions options;
    options.palette = bank;
    const ImportedTexture texture = ImportPicture({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()},
                                                  "black.pcx", options);
    EXPECT_EQ(at(texture, 64, 10), 1);
    EXPECT_EQ(at(texture, 64, 117), 4);
}

TEST(ImageImport, LargePicturesAreReadOrRefusedWithTheirSize)
{
    // 6,144 x 6,144 (151 MB decoded) is over Qt's own 128 MB budget but read all the same.
    QImage large(6144, 6144, QImage::Format_RGB32);
    large.fill(qRgb(224, 32, 32));
    ImageImportOptions options;
    options.palette = redBluePalette();
    EXPECT_EQ(at(ImportPicture(encoded(large, "png"), "large.png", options), 64, 64), 1);
    large = QImage();

    // One pixel wide and 100,000 tall: the crop takes the middle pixel before anything is scaled.
    QImage tall(1, 100000, QImage::Format_RGB32);
    for (int y = 0; y < tall.height(); ++y)
        tall.setPixel(0, y, y < 40000 ? qRgb(224, 32, 32) : qRgb(32, 64, 224));
    const std::vector<std::uint8_t> tallPng = encoded(tall, "png");
    const struct {
        TextureFit fit;
        int column, top, bottom;
    } fits[] = {
        {TextureFit::Crop, 64, 2, 2},    // the middle pixel, blue, fills the square
        {TextureFit::Pad, 63, 1, 2},     // one column, red above blue, see-through beside it
        {TextureFit::Stretch, 64, 1, 2}, // squeezed sideways
    };
    for (const auto& f : fits) {
        options.fit = f.fit;
        const ImportedTexture texture = ImportPicture(tallPng, "tall.png", options);
        EXPECT_EQ(at(texture, f.column, 10), f.top) << static_cast<int>(f.fit);
        EXPECT_EQ(at(texture, f.column, 117), f.bottom) << static_cast<int>(f.fit);
    }

    // A PNG header claiming 40,000 x 40,000 pixels (6.4 GB): refused before anything is decoded.
    std::vector<std::uint8_t> huge = encoded(QImage(1, 1, QImage::Format_RGB32), "png");
    const std::uint8_t side[] = {0, 0, 0x9c, 0x40};
    std::copy(side, side + 4, huge.begin() + 16);
    std::copy(side, side + 4, huge.begin() + 20);
    std::uint32_t crc = 0xFFFFFFFF; // the header chunk's check sum (CRC-32 of its type and data)
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= huge[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    try {
        ImportPicture(huge, "huge.png", {});
        ADD_FAILURE() << "huge.png was read";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("huge.png: the picture is 40000 x 40000 pixels"));
    }
}

TEST(ImageImport, TakesThePaletteOfABankOrAnImage)
{
    const TempFolder folder;
    const PalettePlanes first = RandomPalette(4), second = RandomPalette(5);
    const std::vector<std::uint8_t> pixels(TexturePixels, 1);
    folder.write("A.PCX", PcxFile(128, 128, pixels, first));
    folder.write("B.PCX", PcxFile(128, 128, pixels, second));
    folder.write("BANK.DEF", "#images\r\n3=b.pcx\r\n0=A.PCX\r\n#textures\r\n");
    EXPECT_EQ(LoadTargetPalette("BANK.DEF"), second); // the first listed image gives the bank its colours
    EXPECT_EQ(LoadTargetPalette("A.PCX"), first);
    folder.write("empty.def", "#images\r\n#textures\r\n");
    EXPECT_THROW(LoadTargetPalette("empty.def"), FormatError);
    folder.write("notes.def", "walls and floors\r\n"); // a text that is no bank
    EXPECT_THROW(LoadTargetPalette("notes.def"), FormatError);
    folder.write("gone.def", "#images\r\n0=NOPE.PCX\r\n");
    try {
        LoadTargetPalette("gone.def");
        ADD_FAILURE() << "gone.def gave a palette";
    } catch (const IoError& error) {
        EXPECT_THAT(error.what(), HasSubstr("gone.def names the image NOPE.PCX, which is missing"));
    }
}

TEST(ImageImport, WritesATexturePcx)
{
    const TempFolder folder;
    ImportedTexture texture;
    texture.palette = RandomPalette(6);
    texture.pixels.fill(9);
    SaveTexturePcx("OUT.PCX", texture);
    const PcxImage back = LoadPcx("OUT.PCX");
    EXPECT_EQ(back.width, 128);
    EXPECT_EQ(back.height, 128);
    EXPECT_EQ(back.palette, texture.palette);
    EXPECT_TRUE(std::equal(back.pixels.begin(), back.pixels.end(), texture.pixels.begin()));
}

} // namespace
