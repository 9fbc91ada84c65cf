#include "DxfImport.h"

#include "Errors.h"
#include "FatalError.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string dataFile(const std::string& name)
{
    return std::string(ORMEL_TEST_DATA) + "/dxf/" + name;
}

Object3D imported(const std::string& name)
{
    Object3D object;
    ImportDxf(dataFile(name), object);
    return object;
}

struct Corner {
    std::int32_t x, y, z;
};

Corner pointOf(const Object3D& object, std::size_t i)
{
    return {object.x[i], object.y[i], object.z[i]};
}

// One 3DFACE with four corners and a colour, as pairs of lines.
std::string face(int colour, int x0)
{
    std::string text = "  0\n3DFACE\n 62\n" + std::to_string(colour) + "\n";
    for (int c = 0; c < 4; ++c) {
        const int x = x0 + (c == 1 || c == 2), y = (c >= 2);
        text += " 1" + std::to_string(c) + "\n" + std::to_string(x) + "\n 2" + std::to_string(c) + "\n" +
                std::to_string(y) + "\n 3" + std::to_string(c) + "\n0\n";
    }
    return text;
}

} // namespace

TEST(ImportDxf, AFourCorneredFaceGivesTwoTrianglesOverFourPoints)
{
    const Object3D object = imported("quad.dxf");
    ASSERT_EQ(object.lastPoint, 3);
    ASSERT_EQ(object.lastFace, 1);
    EXPECT_EQ(object.faces[0].p1, 0);
    EXPECT_EQ(object.faces[0].p2, 1);
    EXPECT_EQ(object.faces[0].p3, 2);
    EXPECT_EQ(object.faces[1].p1, 2);
    EXPECT_EQ(object.faces[1].p2, 3);
    EXPECT_EQ(object.faces[1].p3, 0);
    for (const Face& face : object.faces) {
        EXPECT_EQ(face.texture, 6) << "colour 5 plus one";
        EXPECT_EQ(face.faceType, FacePlain);
        EXPECT_EQ(face.doubleSided, 1);
        EXPECT_EQ(face.transparency, 0);
    }
}

TEST(ImportDxf, TheDxfZAxisBecomesTheObjectsUpAxis)
{
    const Object3D object = imported("quad.dxf");
    // DXF corner (1, 2, 3) is object point x 1, y 3, z 2.
    const Corner first = pointOf(object, 0);
    EXPECT_EQ(first.x, 1);
    EXPECT_EQ(first.y, 3);
    EXPECT_EQ(first.z, 2);
    const Corner last = pointOf(object, 3);
    EXPECT_EQ(last.x, 10);
    EXPECT_EQ(last.y, 12);
    EXPECT_EQ(last.z, 11);
}

TEST(ImportDxf, AThreeCorneredFaceGivesOneTriangleAndTheNextStartsAfterIt)
{
    const Object3D object = imported("triangle-then-quad.dxf");
    ASSERT_EQ(object.lastPoint, 6);
    ASSERT_EQ(object.lastFace, 2);
    EXPECT_EQ(object.faces[0].p3, 2);
    EXPECT_EQ(object.faces[1].p1, 3);
    EXPECT_EQ(object.faces[2].p2, 6);
    EXPECT_EQ(object.faces[0].texture, 1) << "faces before any colour number take colour 0";
    EXPECT_EQ(object.faces[1].texture, 3);
    EXPECT_EQ(object.z[3], 0);
    EXPECT_EQ(object.y[3], 5);
}

TEST(ImportDxf, RoundsThroughSinglePrecisionToTheNearestEvenInteger)
{
    const Object3D object = imported("rounding.dxf");
    const Corner expected[4] = {{12, -2, 14}, {0, 4, 10}, {2, 0, 2}, {7, 9, 8}};
    for (std::size_t i = 0; i < 4; ++i) {
        const Corner p = pointOf(object, i);
        EXPECT_EQ(p.x, expected[i].x) << i;
        EXPECT_EQ(p.y, expected[i].y) << i;
        EXPECT_EQ(p.z, expected[i].z) << i;
    }
}

TEST(ImportDxf, IgnoresHeaderValuesUnderCoordinateCodes)
{
    const Object3D object = imported("header-extents.dxf");
    EXPECT_EQ(object.lastFace, 1);
    EXPECT_EQ(pointOf(object, 2).x, 1);
}

TEST(ImportDxf, ReadsCarriageReturnLineEnds)
{
    const Object3D object = imported("crlf.dxf");
    EXPECT_EQ(object.lastFace, 1);
    EXPECT_EQ(object.faces[0].texture, 4);
}

TEST(ImportDxf, ACutFileKeepsItsCompleteFaces)
{
    EXPECT_EQ(imported("cut-in-second-face.dxf").lastFace, 1);
    EXPECT_EQ(imported("code-without-value.dxf").lastFace, 1);
}

TEST(ImportDxf, MappingFollowsTheParityOfThePairThatCompletesTheFace)
{
    // Face one completes on pair 14 (its code 0, one colour pair and twelve coordinates), face
    // two on pair 28: both even.
    Object3D object;
    ImportDxfText(face(1, 0) + face(1, 5), "two.dxf", object);
    ASSERT_EQ(object.lastFace, 3);
    EXPECT_EQ(object.faces[0].mapping, 0);
    EXPECT_EQ(object.faces[1].mapping, 0);
    EXPECT_EQ(object.faces[2].mapping, 0);
    // One more pair before the second face shifts it to odd.
    ImportDxfText(face(1, 0) + "  8\nLAYER\n" + face(1, 5), "three.dxf", object);
    EXPECT_EQ(object.faces[0].mapping, 0);
    EXPECT_EQ(object.faces[2].mapping, 1);
    EXPECT_EQ(object.faces[3].mapping, 1);
}

TEST(ImportDxf, SkipsAByteOrderMark)
{
    Object3D object;
    ImportDxfText("\xEF\xBB\xBF" + face(4, 0), "marked.dxf", object);
    EXPECT_EQ(object.lastFace, 1);
    EXPECT_EQ(object.faces[0].texture, 5);
}

TEST(ImportDxf, AnEntityStartForgetsTheCornersReadSoFar)
{
    // A face cut short by the next entity, whose own codes would complete it.
    std::string cut = face(1, 0);
    cut.resize(cut.rfind(" 33\n"));
    Object3D object;
    ImportDxfText(cut + "  0\n3DFACE\n 33\n7\n" + face(2, 5), "cut.dxf", object);
    EXPECT_EQ(object.lastFace, 1);
    EXPECT_EQ(object.x[0], 5);
    // Four-cornered entities that are not 3D faces are no faces.
    std::string solid = face(1, 0);
    solid.replace(solid.find("3DFACE"), 6, "SOLID");
    ImportDxfText(solid + face(2, 5), "solid.dxf", object);
    EXPECT_EQ(object.lastFace, 1);
    EXPECT_EQ(object.faces[0].texture, 3);
}

TEST(ImportDxf, TakesAsManyAs65536PointsAndRefusesMore)
{
    std::string text;
    for (int i = 0; i < 16384; ++i)
        text += face(2, i);
    Object3D object;
    ImportDxfText(text, "full.dxf", object);
    EXPECT_EQ(object.lastPoint, 65535);
    EXPECT_EQ(object.lastFace, 32767);
    EXPECT_EQ(object.x.size(), 65536u);

    text += face(2, 0);
    EXPECT_THROW(ImportDxfText(text, "over.dxf", object), FormatError);
    EXPECT_EQ(object.lastPoint, 65535);
}

// Drawings written by a CAD program's DXF library (make-drawings.py beside them): a cube of twelve
// three-cornered faces, colours 1 to 6, followed by a LINE, TEXT, ELLIPSE (from R2000) and a
// DIMENSION, whose block holds a four-cornered SOLID arrow head; R2000 and later also carry the
// LAYOUT's paper size, 420 x 297, under codes 10-33.
const char* const cubeDrawings[] = {"cube-r12.dxf", "cube-r2000.dxf", "cube-r2010.dxf", "cube-r2018.dxf"};

TEST(ImportDxfDrawings, ACubeFollowedByOtherEntitiesImportsAsItsTwelveFaces)
{
    // The cube's corners, DXF X, Y, Z, and the corners of its six sides in the drawing's order.
    const int cube[8][3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 10}, {10, 0, 10}, {10, 10, 10}, {0, 10, 10}};
    const int sides[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (const char* name : cubeDrawings) {
        SCOPED_TRACE(name);
        const Object3D object = imported(name);
        ASSERT_EQ(object.lastFace, 11);
        ASSERT_EQ(object.lastPoint, 35);
        for (std::size_t f = 0; f < 12; ++f) {
            // Each side is two faces: corners a, b, c then c, d, a (the fourth repeats the third).
            const int* side = sides[f / 2];
            const int corners[3] = {side[f % 2 == 0 ? 0 : 2], side[f % 2 == 0 ? 1 : 3], side[f % 2 == 0 ? 2 : 0]};
            for (std::size_t c = 0; c < 3; ++c) {
                const Corner p = pointOf(object, 3 * f + c);
                const int* dxf = cube[corners[c]];
                EXPECT_EQ(p.x, dxf[0]) << f << " " << c;
                EXPECT_EQ(p.z, dxf[1]) << f << " " << c;
                EXPECT_EQ(p.y, dxf[2]) << f << " " << c;
            }
            const Face& face = object.faces[f];
            EXPECT_EQ(face.p1, 3 * f);
            EXPECT_EQ(face.p3, 3 * f + 2);
            EXPECT_EQ(face.texture, f / 2 + 2) << "colour " << f / 2 + 1 << " plus one";
        }
    }
}

TEST(ImportDxfDrawings, ASphereKeepsItsRadiusWhateverFollowsIt)
{
    // Eight by six four-cornered faces of radius 100; the top row's corners 3 and 4 meet at the
    // pole, making triangles. An axis LINE from z -150 to 150 follows.
    const Object3D object = imported("sphere-axis-r2018.dxf");
    EXPECT_EQ(object.faceCount(), 5u * 8 * 2 + 8);
    EXPECT_EQ(object.pointCount(), 5u * 8 * 4 + 8 * 3);
    for (std::size_t i = 0; i < object.pointCount(); ++i) {
        const double length = std::hypot(double(object.x[i]), double(object.y[i]), double(object.z[i]));
        EXPECT_NEAR(length, 100.0, 1.0) << "point " << i;
    }
}

struct Refusal {
    const char* file;
    const char* says;
};

class RefusedDxf : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedDxf, SaysWhyNamesTheFileAndKeepsTheObject)
{
    const TempFolder folder;
    folder.write("folder.dxf/inside", "");
    folder.write("not-dxf.dxf", "Hello,\nthis is a letter.\n");
    Object3D object;
    AllocateObject(object, 2, 0);
    object.x = {5, 6, 7};
    const std::string path = std::string(GetParam().file).starts_with("folder") || std::string(GetParam().file).starts_with("not-")
                                 ? GetParam().file
                                 : dataFile(GetParam().file);
    try {
        ImportDxf(path, object);
        FAIL() << "no error";
    } catch (const OrmelError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find(GetParam().says), std::string::npos) << error.what();
    }
    EXPECT_EQ(object.x, (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_EQ(object.lastFace, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedDxf,
    testing::Values(Refusal{"no-faces.dxf", " holds no 3D face (3DFACE entity)"},
                    Refusal{"lines-r2018.dxf", " holds no 3D face (3DFACE entity)"},
                    Refusal{"meshes-r2018.dxf", "only 2 polyface meshes (POLYLINE) and 1 MESH entity"},
                    Refusal{"binary-r2018.dxf", " is a binary DXF file: save it as ASCII DXF"},
                    Refusal{"empty.dxf", " is empty"}, Refusal{"not-dxf.dxf", " is not a DXF file"},
                    Refusal{"bad-number.dxf", ", line 26: 'abc' is not a number"},
                    Refusal{"too-far.dxf", ", line 30: 3000000000 is out of range"},
                    Refusal{"folder.dxf", " is a folder, not a file"},
                    Refusal{"missing.dxf", "K3X: The file "}));
