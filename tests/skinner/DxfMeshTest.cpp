// DXF drawings through the mesh import: polyface meshes, polygon meshes, MESH entities, blocks
// placed by INSERT, colours by layer, by block and true colours; broken drawings.
#include "DxfColours.h"
#include "DxfMesh.h"
#include "Errors.h"
#include "K3xFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using ::testing::HasSubstr;

namespace {

std::string dxfFile(const std::string& name)
{
    const auto bytes = ReadWholeFile(std::string(ORMEL_TEST_DATA) + "/dxf/" + name);
    return std::string(bytes.begin(), bytes.end());
}

// A drawing of only an ENTITIES section (and, when given, the TABLES and BLOCKS before it).
std::string drawing(const std::string& entities, const std::string& blocks = "", const std::string& tables = "")
{
    std::string text;
    if (!tables.empty())
        text += "0\nSECTION\n2\nTABLES\n" + tables + "0\nENDSEC\n";
    if (!blocks.empty())
        text += "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n";
    return text + "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

std::string face(double x, const std::string& extra = "")
{
    const std::string a = std::to_string(x), b = std::to_string(x + 1);
    return "0\n3DFACE\n" + extra + "10\n" + a + "\n20\n0\n30\n0\n11\n" + b + "\n21\n0\n31\n0\n12\n" + b +
           "\n22\n1\n32\n0\n13\n" + b + "\n23\n1\n33\n0\n";
}

std::map<std::tuple<int, int, int>, int> colourCounts(const MeshSoup& soup)
{
    std::map<std::tuple<int, int, int>, int> counts;
    for (const MeshTriangle& t : soup.triangles)
        ++counts[{t.vertexColour->red, t.vertexColour->green, t.vertexColour->blue}];
    return counts;
}

TEST(DxfMesh, ReadsADrawingMadeByAnotherProgram)
{
    // Two placings of a polyface cube block (by block: blue; by layer: red), a never placed block,
    // a true-colour MESH pyramid and a 3DFACE on a layer with a true colour.
    const MeshSoup soup = ReadDxfMesh(dxfFile("ezdxf-mesh.dxf"), "ezdxf-mesh.dxf");
    EXPECT_EQ(soup.triangles.size(), 12u + 12u + 6u + 2u);
    const auto counts = colourCounts(soup);
    EXPECT_EQ(counts.at({0, 0, 255}), 12);
    EXPECT_EQ(counts.at({255, 0, 0}), 12);
    EXPECT_EQ(counts.at({250, 200, 0}), 6);
    EXPECT_EQ(counts.at({10, 200, 30}), 2);
    // The blue cube: doubled and turned a quarter about Z, its base point put at (10, 0, 0).
    double low[3] = {1e9, 1e9, 1e9}, high[3] = {-1e9, -1e9, -1e9};
    for (const MeshTriangle& t : soup.triangles)
        if (t.vertexColour->blue == 255 && t.vertexColour->red == 0)
            for (const MeshPoint& p : t.corners)
                for (int a = 0; a < 3; ++a)
                    low[a] = std::min(low[a], p[a]), high[a] = std::max(high[a], p[a]);
    for (int a = 0; a < 3; ++a)
        EXPECT_NEAR(high[a] - low[a], 2, 1e-9) << a;
    EXPECT_NEAR(low[2], -1, 1e-9); // the cube is centred on its origin; the base point is at z 0
}

TEST(DxfMesh, PlacesBlocksTurnedScaledAndWithinEachOther)
{
    const std::string blocks = "0\nBLOCK\n2\nINNER\n10\n1\n20\n0\n30\n0\n" + face(1) + "0\nENDBLK\n" +
                               "0\nBLOCK\n2\nOUTER\n10\n0\n20\n0\n30\n0\n0\nINSERT\n2\nINNER\n10\n0\n20\n0\n30\n5\n" +
                               "0\nENDBLK\n";
    const std::string insert = "0\nINSERT\n2\nouter\n10\n100\n20\n0\n30\n0\n41\n3\n42\n3\n43\n3\n50\n90\n";
    const MeshSoup soup = ReadDxfMesh(drawing(insert, blocks), "blocks.dxf");
    ASSERT_EQ(soup.triangles.size(), 1u);
    // INNER's corner (1, 0, 0) sits on its base point: at OUTER's (0, 0, 5), then x3 and a quarter
    // turn about Z, at (100, 0, 0).
    const MeshPoint& p = soup.triangles[0].corners[0];
    EXPECT_NEAR(p[0], 100, 1e-9);
    EXPECT_NEAR(p[1], 0, 1e-9);
    EXPECT_NEAR(p[2], 15, 1e-9);
    // INNER's corner (2, 0, 0): one unit along X, turned to Y and tripled.
    const MeshPoint& q = soup.triangles[0].corners[1];
    EXPECT_NEAR(q[0], 100, 1e-9);
    EXPECT_NEAR(q[1], 3, 1e-9);
}

TEST(DxfMesh, ReadsPolygonMeshesAndMeshEntities)
{
    // 2 x 3 points, closed in N: 1 x 3 quads.
    std::string grid = "0\nPOLYLINE\n66\n1\n70\n48\n71\n2\n72\n3\n";
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            grid += "0\nVERTEX\n70\n64\n10\n" + std::to_string(j) + "\n20\n" + std::to_string(j % 2) + "\n30\n" +
                    std::to_string(i) + "\n";
    EXPECT_EQ(ReadDxfMesh(drawing(grid), "cut.dxf").triangles.size(), 6u); // the drawing ends before SEQEND
    EXPECT_EQ(ReadDxfMesh(drawing(grid + "0\nSEQEND\n"), "grid.dxf").triangles.size(), 6u);
    // Another program's MESH after two polyface quads: the triangle (0, 0, 0), (1, 0, 0), (1, 1, 0).
    const MeshSoup meshes = ReadDxfMesh(dxfFile("meshes-r2018.dxf"), "meshes-r2018.dxf");
    ASSERT_EQ(meshes.triangles.size(), 5u);
    EXPECT_EQ(meshes.triangles[4].corners, (std::array<MeshPoint, 3>{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}}));
}

// Every way a drawing gives a face its colour, each against the colour the drawing means. Layer
// WALLS is green (switched off: still green), layer SKY a true colour; layer 0 is in no table.
TEST(DxfMesh, ColoursByLayerBlockNumberAndTrueColour)
{
    struct Case {
        const char* face;   // the face's layer and colour codes
        const char* insert; // when given, the face lies in a block placed with these codes
        MeshColour colour;
    };
    const MeshColour white{255, 255, 255}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, sky{0x12, 0x34, 0x56};
    const Case cases[] = {
        {"8\nWALLS\n", nullptr, green},                       // no code 62: by layer
        {"8\nwalls\n62\n256\n", nullptr, green},              // 256: by layer, the name in any case
        {"8\nSKY\n", nullptr, sky},                           // a layer's true colour
        {"8\nWALLS\n62\n5\n", nullptr, blue},                 // a number
        {"8\nWALLS\n62\n-5\n", nullptr, blue},                // a number marked switched off
        {"8\nWALLS\n62\n1\n420\n1193046\n", nullptr, sky},    // a true colour beside a number wins
        {"8\nNOWHERE\n", nullptr, white},                     // a layer in no table
        {"", nullptr, white},                                 // nothing at all: layer 0
        {"8\nWALLS\n62\n0\n", nullptr, white},                // by block outside any block
        {"62\n0\n", "8\nSKY\n62\n1\n", red},                  // by block: the placing's number
        {"62\n0\n", "8\nWALLS\n", green},                     // by block: the placing's layer
        {"62\n0\n", "420\n255\n", blue},                      // by block: the placing's true colour
        {"8\n0\n", "8\nWALLS\n62\n5\n", green},               // layer 0 in a block: the placing's layer
        {"8\n0\n62\n256\n", "8\nSKY\n", sky},                 // the same said with 256
        {"8\nWALLS\n", "8\nSKY\n62\n1\n", green},             // a named layer in a block keeps its own
        {"8\nWALLS\n62\n3\n", "62\n1\n", green},              // so does a number
    };
    const std::string tables = "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nWalls\n62\n-3\n0\nLAYER\n2\nSky\n62\n5\n420\n1193046\n"
                               "0\nENDTAB\n";
    std::string blocks, entities;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        if (!cases[i].insert) {
            entities += face(0, cases[i].face);
            continue;
        }
        const std::string name = std::string(1, 'B').append(std::to_string(i));
        blocks += "0\nBLOCK\n2\n" + name + "\n10\n0\n20\n0\n30\n0\n" + face(0, cases[i].face) + "0\nENDBLK\n";
        entities += "0\nINSERT\n" + std::string(cases[i].insert) + "2\n" + name + "\n10\n0\n20\n0\n30\n0\n";
    }
    const MeshSoup soup = ReadDxfMesh(drawing(entities, blocks, tables), "colours.dxf");
    ASSERT_EQ(soup.triangles.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(*soup.triangles[i].vertexColour, cases[i].colour) << "case " << i;
}

TEST(DxfMesh, IndexColours)
{
    struct Case {
        int number;
        MeshColour colour;
    };
    const Case cases[] = {{1, {255, 0, 0}},     {2, {255, 255, 0}},   {3, {0, 255, 0}},      {4, {0, 255, 255}},
                          {5, {0, 0, 255}},     {6, {255, 0, 255}},   {9, {192, 192, 192}},  {0, {255, 255, 255}},
                          {256, {255, 255, 255}}, {-1, {255, 255, 255}},
                          {7, {255, 255, 255}}, {8, {128, 128, 128}},  {10, {255, 0, 0}},
                          {11, {255, 127, 127}}, {12, {165, 0, 0}},   {20, {255, 64, 0}},    {30, {255, 128, 0}},
                          {90, {0, 255, 0}},    {170, {0, 0, 255}},   {250, {51, 51, 51}},   {255, {255, 255, 255}}};
    for (const Case& c : cases)
        EXPECT_EQ(DxfIndexColour(c.number), c.colour) << c.number;
}

TEST(DxfMesh, RefusesBrokenDrawingsNamingThem)
{
    struct Case {
        std::string text;
        const char* says;
    };
    const std::string polyface = "0\nPOLYLINE\n70\n64\n0\nVERTEX\n70\n192\n10\n0\n20\n0\n30\n0\n0\nVERTEX\n70\n128\n71\n1\n72\n1\n73\n9\n0\nSEQEND\n";
    const std::string mesh = "0\nMESH\n92\n1\n10\n0\n20\n0\n30\n0\n93\n4\n90\n3\n90\n0\n90\n0\n90\n7\n";
    const std::string loop = "0\nBLOCK\n2\nA\n0\nINSERT\n2\nA\n0\nENDBLK\n";
    // 31 blocks each placing the next three times and nothing else: 3^31 placements, no face.
    std::string nested = "0\nBLOCK\n2\nB0\n0\nENDBLK\n";
    for (int b = 1; b <= 30; ++b) {
        nested += "0\nBLOCK\n2\nB" + std::to_string(b) + "\n";
        for (int k = 0; k < 3; ++k)
            nested += "0\nINSERT\n2\nB" + std::to_string(b - 1) + "\n10\n" + std::to_string(k) + "\n";
        nested += "0\nENDBLK\n";
    }
    const Case cases[] = {
        {drawing(polyface), "names point 9 of 1"},
        {drawing(mesh), "names point 7 of 1"},
        {drawing(face(0, "62\nred\n")), "\"red\" is not a number"},
        {drawing("0\nINSERT\n2\nA\n", loop), "more than 32 deep"},
        {drawing("0\nLINE\n10\n0\n"), "holds no 3D face"},
        {drawing(face(0) + "0\nINSERT\n2\nB30\n", nested), "places blocks more than 100000 times"},
    };
    for (const Case& c : cases) {
        try {
            ReadDxfMesh(c.text, "broken.dxf");
            ADD_FAILURE() << c.says;
        } catch (const FormatError& error) {
            EXPECT_THAT(error.what(), HasSubstr("broken.dxf"));
            EXPECT_THAT(error.what(), HasSubstr(c.says));
        }
    }
}

TEST(DxfMesh, ABlockNeverPlacedIsNotImported)
{
    const std::string blocks = "0\nBLOCK\n2\nNEVER\n10\n0\n20\n0\n30\n0\n" + face(0) + "0\nENDBLK\n";
    EXPECT_EQ(ReadDxfMesh(drawing(face(5), blocks), "one.dxf").triangles.size(), 1u);
}

} // namespace
