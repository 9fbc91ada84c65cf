// k3x import-image and import-mesh as scripts use them: what they write, and that a broken file
// is named with its reason and nothing is written.
#include "K3xRun.h"
#include "ObjectFile.h"
#include "Pcx.h"
#include "TempFolder.h"
#include "TextureImage.h"
#include "../graphics/GraphicsSamples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using ::testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

void copyData(const TempFolder& folder, const std::string& from, const std::string& name)
{
    fs::copy_file(fs::path(ORMEL_TEST_DATA) / from / name, folder.path() / name);
}

TEST(K3xImportImage, WritesATextureOnTheBanksPalette)
{
    const TempFolder folder;
    copyData(folder, "image", "halves.jpg");
    const PalettePlanes bankColours = RandomPalette(11);
    folder.write("TEXTURES/PAL.PCX", PcxFile(128, 128, std::vector<std::uint8_t>(TexturePixels, 1), bankColours));
    folder.write("bank.def", "#images\r\n0=textures\\pal.pcx\r\n#textures\r\n");

    const K3xRun run = k3x(folder, "import-image halves.jpg OUT.PCX --palette bank.def --fit pad --dither");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("128 x 128 texture written to OUT.PCX"));
    const PcxImage texture = LoadPcx("OUT.PCX");
    EXPECT_EQ(texture.width, 128);
    EXPECT_EQ(texture.height, 128);
    EXPECT_EQ(texture.palette, bankColours);
    EXPECT_EQ(texture.pixels[0], 0);                       // padded above the 2:1 picture
    EXPECT_NE(texture.pixels[64 * 128 + 64], 0);           // the picture itself
}

TEST(K3xImportImage, BrokenFilesAndWrongUse)
{
    const TempFolder folder;
    for (const char* name : {"truncated.png", "notapicture.jpg", "halves.png"})
        copyData(folder, "image", name);
    const K3xRefusal refusals[] = {
        {"import-image truncated.png OUT.PCX", 1, "truncated.png: the picture cannot be read"},
        {"import-image notapicture.jpg OUT.PCX", 1, "notapicture.jpg: not a picture"},
        {"import-image missing.png OUT.PCX", 1, "missing.png"},
        {"import-image halves.png OUT.PCX --palette none.def", 1, "none.def"},
        {"import-image halves.png OUT.PCX --fit round", 2, "--fit takes crop, pad or stretch"},
        {"import-image halves.png OUT.BMP", 2, "must be a .pcx file"},
    };
    expectRefusals(folder, refusals);
    EXPECT_FALSE(folder.exists("OUT.PCX"));
}

TEST(K3xImportImage, ManyPicturesIntoAFolderInOneRun)
{
    const TempFolder folder;
    for (const char* name : {"halves.png", "halves.jpg", "notapicture.jpg"})
        copyData(folder, "image", name);
    const K3xRun run = k3x(folder, "import-image halves.png halves.jpg notapicture.jpg OUT");
    EXPECT_EQ(run.exitCode, 1); // one picture could not be read: said, and the others written
    EXPECT_THAT(run.err, HasSubstr("notapicture.jpg: not a picture"));
    EXPECT_EQ(LoadPcx("OUT/HALVES.PCX").width, 128);
    EXPECT_EQ(LoadPcx("OUT/HALVES_2.PCX").width, 128); // the same name twice
    EXPECT_EQ(k3x(folder, "import-image halves.png halves.jpg ONE.PCX").exitCode, 2);
}

TEST(K3xBank, MakesAndChangesABankWithoutWritingItsText)
{
    const TempFolder folder;
    for (const char* name : {"halves.png", "halves.jpg", "halves.gif", "alpha.png"})
        copyData(folder, "image", name);
    K3xRun run = k3x(folder, "bank new GAME.DEF halves.png halves.jpg halves.gif --folder tex --fit pad");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(folder.read("GAME.DEF"), "#images\r\n0=TEX\\PALETTE.PCX\r\n1=TEX\\HALVES.PCX\r\n2=TEX\\HALVES_2.PCX\r\n"
                                       "3=TEX\\HALVES_3.PCX\r\n#textures\r\n1=1-1\r\n2=2-2\r\n3=3-3\r\n");
    // One palette for all: every texture file carries the palette of slot 0's picture.
    const PalettePlanes palette = LoadPcx("TEX/PALETTE.PCX").palette;
    EXPECT_EQ(LoadPcx("TEX/HALVES_3.PCX").palette, palette);

    run = k3x(folder, "bank add GAME.DEF alpha.png");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LoadPcx("TEX/ALPHA.PCX").palette, palette); // onto the bank's palette
    EXPECT_EQ(k3x(folder, "bank texture GAME.DEF 1 3").out, "texture 0: images 1 to 3\n");
    EXPECT_EQ(k3x(folder, "bank remove GAME.DEF 2").exitCode, 0);
    EXPECT_EQ(k3x(folder, "bank list GAME.DEF").out,
              "image 0 TEX\\PALETTE.PCX\nimage 1 TEX\\HALVES.PCX\nimage 3 TEX\\HALVES_3.PCX\nimage 4 TEX\\ALPHA.PCX\n"
              "texture 0 1 3\ntexture 1 1 1\ntexture 2 2 2\ntexture 3 3 3\ntexture 4 4 4\n");

    folder.write("notes.def", "walls and floors\r\n");
    const K3xRefusal refusals[] = {
        {"bank new GAME.DEF halves.png", 2, "exists already"},
        {"bank add notes.def halves.png", 1, "notes.def: not a texture bank"},
        {"bank texture GAME.DEF 1 9", 1, "no image in slot 9"},
        {"bank remove GAME.DEF 7", 1, "no image in those slots"},
        {"bank list GAME.DEF --fit pad", 2, "go with bank new and bank add"},
        {"bank grow GAME.DEF", 2, "unknown bank action grow"},
    };
    expectRefusals(folder, refusals);
}

TEST(K3xImportMesh, WritesAnObjectWithBankTextures)
{
    const TempFolder folder;
    copyData(folder, "mesh", "cube.obj");
    copyData(folder, "mesh", "cube.mtl");
    const std::vector<std::uint8_t> pixels(TexturePixels, 1);
    folder.write("TEXTURES/PAL.PCX", PcxFile(128, 128, pixels, RandomPalette(12)));
    folder.write("TEXTURES/BRICKS.PCX", PcxFile(128, 128, pixels, RandomPalette(13)));
    folder.write("bank.def", "#images\r\n0=TEXTURES\\PAL.PCX\r\n4=TEXTURES\\BRICKS.PCX\r\n#textures\r\n2=4-0\r\n3=4-4\r\n");

    const K3xRun run = k3x(folder, "import-mesh cube.obj CUBE.3DO --bank bank.def --size 400");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("CUBE.3DO: 8 points, 12 faces"));
    Object3D object;
    LoadObject("CUBE.3DO", object);
    EXPECT_EQ(*std::max_element(object.y.begin(), object.y.end()), 400);
    const auto textured = std::count_if(object.faces.begin(), object.faces.end(), [](const Face& f) {
        return f.faceType == FaceTextured && f.texture == 3; // the still texture of BRICKS
    });
    EXPECT_EQ(textured, 2);
}

TEST(K3xImportMesh, BringsTheModelsTexturePicturesIntoTheBank)
{
    const TempFolder folder;
    copyData(folder, "mesh", "cube.obj");
    copyData(folder, "mesh", "cube.mtl");
    const std::vector<std::uint8_t> pixels(TexturePixels, 1);
    folder.write("TEXTURES/PAL.PCX", PcxFile(128, 128, pixels, RandomPalette(12)));
    folder.write("bank.def", "#images\r\n0=TEXTURES\\PAL.PCX\r\n#textures\r\n");

    // Without the picture: each material whose texture cannot be matched or found is named.
    K3xRun run = k3x(folder, "import-mesh cube.obj CUBE.3DO --bank bank.def");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("the bank has no image maps/Bricks.png (material bricks)"));
    run = k3x(folder, "import-mesh cube.obj CUBE.3DO --bank bank.def --textures");
    EXPECT_THAT(run.err, HasSubstr("the texture maps/Bricks.png of material bricks was not found beside cube.obj"));

    // With it (the name's letter case aside): a texture of the bank, on the top's two faces.
    fs::create_directories(folder.path() / "MAPS");
    fs::copy_file(fs::path(ORMEL_TEST_DATA) / "image" / "halves.png", folder.path() / "MAPS" / "bricks.png");
    run = k3x(folder, "import-mesh cube.obj CUBE.3DO --bank bank.def --textures");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(folder.read("bank.def"), "#images\r\n0=TEXTURES\\PAL.PCX\r\n1=TEXTURES\\BRICKS.PCX\r\n#textures\r\n1=1-1\r\n");
    EXPECT_EQ(LoadPcx("TEXTURES/BRICKS.PCX").palette, RandomPalette(12));
    Object3D object;
    LoadObject("CUBE.3DO", object);
    EXPECT_EQ(std::count_if(object.faces.begin(), object.faces.end(),
                            [](const Face& f) { return f.faceType == FaceTextured && f.texture == 1; }),
              2);

    // A picture inside a glTF file, on a material 0.83 opaque.
    copyData(folder, "mesh", "painted-quad.glb");
    run = k3x(folder, "import-mesh painted-quad.glb QUAD.3DO --bank bank.def --textures");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("painted_face: texture 2, image 2 (TEXTURES\\PAINTED_FACE.PCX)"));
    LoadObject("QUAD.3DO", object);
    for (const Face& face : object.faces) {
        EXPECT_EQ(face.faceType, FaceTextured);
        EXPECT_EQ(face.texture, 2);
        EXPECT_EQ(face.transparency, 17);
    }
}

TEST(K3xImportMesh, AModelOverTheFacesAnObjectHoldsIsSimplifiedWhenAsked)
{
    // A sheet of 300 x 120 squares: 72,000 triangles.
    const TempFolder folder;
    std::string obj;
    for (int y = 0; y <= 120; ++y)
        for (int x = 0; x <= 300; ++x)
            obj += "v " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string((x * y) % 7) + "\n";
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x) {
            const int a = y * 301 + x + 1;
            obj += "f " + std::to_string(a) + " " + std::to_string(a + 1) + " " + std::to_string(a + 302) + " " +
                   std::to_string(a + 301) + "\n";
        }
    folder.write("sheet.obj", obj);
    K3xRun run = k3x(folder, "import-mesh sheet.obj SHEET.3DO");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_THAT(run.err, HasSubstr("72000 faces"));
    EXPECT_THAT(run.err, HasSubstr("--max-faces 65536"));
    run = k3x(folder, "import-mesh sheet.obj SHEET.3DO --max-faces 20000");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("simplified from 72000 triangles"));
    Object3D object;
    LoadObject("SHEET.3DO", object);
    EXPECT_LE(object.faceCount(), 20000u);
    EXPECT_GT(object.faceCount(), 10000u);
}

TEST(K3xImportMesh, BombsAreRefusedAndNothingHangs)
{
    const TempFolder folder;
    // 31 blocks each placing the next three times, in 4 KB.
    std::string blocks = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n0\n3DFACE\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n"
                         "12\n1\n22\n1\n32\n0\n13\n0\n23\n1\n33\n0\n0\nENDBLK\n";
    for (int b = 1; b <= 30; ++b) {
        blocks += "0\nBLOCK\n2\nB" + std::to_string(b) + "\n";
        for (int k = 0; k < 3; ++k)
            blocks += "0\nINSERT\n2\nB" + std::to_string(b - 1) + "\n10\n" + std::to_string(k) + "\n";
        blocks += "0\nENDBLK\n";
    }
    folder.write("bomb.dxf", blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB30\n0\nENDSEC\n0\nEOF\n");
    const K3xRefusal refusals[] = {
        {"import-mesh bomb.dxf B.3DO", 1, "bomb.dxf places blocks more than 100000 times"},
        {"import-mesh bomb.dxf B.3DO --timeout 0", 2, "--timeout takes a number of seconds"},
        {"import-mesh bomb.dxf B.3DO --textures", 2, "--textures brings the model's pictures into the bank"},
    };
    expectRefusals(folder, refusals);
}

TEST(K3xImportMesh, DrawingsTakeTheDxfRoad)
{
    // MESH entities and colours, which Assimp's DXF reader leaves out, come through.
    const TempFolder folder;
    copyData(folder, "dxf", "ezdxf-mesh.dxf");
    const K3xRun run = k3x(folder, "import-mesh ezdxf-mesh.dxf OUT.3DO");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("32 faces"));
    folder.write("binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22));
    EXPECT_THAT(k3x(folder, "import-mesh binary.dxf B.3DO").err, HasSubstr("binary.dxf: a binary DXF file"));
}

TEST(K3xImportMesh, BrokenFilesAndWrongUse)
{
    const TempFolder folder;
    for (const char* name : {"bad-index.obj", "empty.stl", "missing-buffer.gltf", "cube.obj"})
        copyData(folder, "mesh", name);
    const K3xRefusal refusals[] = {
        {"import-mesh bad-index.obj OUT.3DO", 1, "bad-index.obj"},
        {"import-mesh empty.stl OUT.3DO", 1, "empty.stl"},
        {"import-mesh missing-buffer.gltf OUT.3DO", 1, "missing-buffer.gltf"},
        {"import-mesh missing.obj OUT.3DO", 1, "missing.obj"},
        {"import-mesh cube.obj OUT.3DO --up x", 2, "--up takes y or z"},
        {"import-mesh cube.obj OUT.3DO --size 0", 2, "--size takes a whole number"},
        {"import-mesh cube.obj OUT.OBJ", 2, "must be a .3do file"},
        {"import-mesh cube.obj OUT.3DO --bank notes.def", 1, "notes.def: not a texture bank"},
        {"import-mesh cube.obj OUT.3DO --bank gone.def", 1, "gone.def names the image TEXTURES\\NOPE.PCX, which is missing"},
    };
    folder.write("notes.def", "walls and floors\r\n");
    folder.write("gone.def", "#images\r\n0=TEXTURES\\NOPE.PCX\r\n1=TEXTURES\\NOPE.PCX\r\n");
    expectRefusals(folder, refusals);
    EXPECT_FALSE(folder.exists("OUT.3DO"));
}

} // namespace
