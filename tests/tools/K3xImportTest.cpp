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
    };
    expectRefusals(folder, refusals);
    EXPECT_FALSE(folder.exists("OUT.3DO"));
}

} // namespace
