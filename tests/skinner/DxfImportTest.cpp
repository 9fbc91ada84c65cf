#include "DxfImport.h"

#include "Errors.h"
#include "FatalError.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

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
    std::string text = " 62\n" + std::to_string(colour) + "\n";
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
    // Face one completes on pair 13 (one colour pair and twelve coordinates), face two on pair
    // 26: odd, then even.
    Object3D object;
    ImportDxfText(face(1, 0) + face(1, 5), "two.dxf", object);
    ASSERT_EQ(object.lastFace, 3);
    EXPECT_EQ(object.faces[0].mapping, 1);
    EXPECT_EQ(object.faces[1].mapping, 1);
    EXPECT_EQ(object.faces[2].mapping, 0);
    // One more pair before the second face shifts it to odd.
    ImportDxfText(face(1, 0) + "  8\nLAYER\n" + face(1, 5), "three.dxf", object);
    EXPECT_EQ(object.faces[2].mapping, 1);
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

class RefusedDxf : public testing::TestWithParam<const char*> {};

TEST_P(RefusedDxf, NamesTheFileAndKeepsTheObject)
{
    Object3D object;
    AllocateObject(object, 2, 0);
    object.x = {5, 6, 7};
    const std::string path = dataFile(GetParam());
    try {
        ImportDxf(path, object);
        FAIL() << "no error";
    } catch (const OrmelError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
    EXPECT_EQ(object.x, (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_EQ(object.lastFace, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedDxf,
                         testing::Values("no-faces.dxf", "empty.dxf", "bad-number.dxf", "too-far.dxf",
                                         "missing.dxf"));
