#include "ObjectFile.h"

#include "Errors.h"
#include "FatalError.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

std::string dataFile(const std::string& name)
{
    return std::string(ORMEL_TEST_DATA) + "/3do/" + name;
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The object of triangle.3do: three points, one face with every field set.
Object3D triangle()
{
    Object3D object;
    AllocateObject(object, 2, 0);
    object.x = {0, 1, 2};
    object.y = {0, 1, 0};
    object.z = {0, 1, 1};
    object.faces[0] = {0, 1, 2, 7, 1, 1, 0, 25};
    return object;
}

// Three points and two faces whose every field differs from its neighbours, with negative and
// multi-byte values, and the file written out by hand: a swapped field, a wrong byte order or a
// mislaid array shows.
Object3D distinctFields()
{
    Object3D object;
    AllocateObject(object, 2, 1);
    object.x = {0x01020304, -2, 0x11};
    object.y = {0x0A0B0C0D, 0x21, -3};
    object.z = {0x31, 0x7FFFFFFF, -0x100};
    object.faces[0] = {2, 0, 1, 0x1234, 3, 1, 0, 45};
    object.faces[1] = {1, 2, 0, 0x0506, 2, 0, 3, 99};
    return object;
}

std::string distinctFieldsFile()
{
    const unsigned char bytes[] = {
        0x02, 0x00, 0x01, 0x00,                                                 // lastPoint 2, lastFace 1
        0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0x11, 0x00, 0x00, 0x00, // x
        0x0D, 0x0C, 0x0B, 0x0A, 0x21, 0x00, 0x00, 0x00, 0xFD, 0xFF, 0xFF, 0xFF, // y
        0x31, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0xFF, 0xFF, 0xFF, // z
        // p1, p2, p3, texture, mapping, doubleSided, faceType, transparency
        0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x34, 0x12, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x2D, 0x00,
        0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x06, 0x05, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x63, 0x00};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void expectSameObject(const Object3D& a, const Object3D& b)
{
    EXPECT_EQ(a.lastPoint, b.lastPoint);
    EXPECT_EQ(a.lastFace, b.lastFace);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
    EXPECT_EQ(a.faces, b.faces);
}

} // namespace

TEST(SaveObject, WritesFourPlusTwelvePerPointPlusSixteenPerFaceLittleEndian)
{
    const TempFolder folder;
    SaveObject("tri.3do", triangle());
    const std::string bytes = folder.read("tri.3do");
    EXPECT_EQ(bytes.size(), 56u);
    EXPECT_EQ(bytes, readBytes(dataFile("triangle.3do")));
}

TEST(ObjectFile, EveryFieldHasItsOwnPlaceInTheFile)
{
    const TempFolder folder;
    SaveObject("distinct.3do", distinctFields());
    EXPECT_EQ(folder.read("distinct.3do"), distinctFieldsFile());
    folder.write("by-hand.3do", distinctFieldsFile());
    Object3D loaded;
    LoadObject("by-hand.3do", loaded);
    expectSameObject(loaded, distinctFields());
}

TEST(SaveObject, OverALongerFileLeavesNoOldTail)
{
    const TempFolder folder;
    folder.write("obj.3do", std::string(1000, '\x55'));
    SaveObject("obj.3do", triangle());
    EXPECT_EQ(std::filesystem::file_size("obj.3do"), 56u);
    Object3D loaded;
    LoadObject("obj.3do", loaded);
    expectSameObject(loaded, triangle());
}

TEST(SaveObject, AFailedSaveIsReportedAndKeepsTheOldFile)
{
    const TempFolder folder;
    folder.write("obj.3do", "old contents");
    SetWriteFaultHook([](const std::filesystem::path&) { return true; });
    EXPECT_THROW(SaveObject("obj.3do", triangle()), IoError);
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(folder.read("obj.3do"), "old contents");
}

TEST(SaveObject, WritesOnlyTheCountedPartOfALargerAllocation)
{
    const TempFolder folder;
    Object3D object;
    AllocateObject(object, 150000, 50000);
    object.lastPoint = 2;
    object.lastFace = 0;
    SaveObject("start.3do", object);
    EXPECT_EQ(std::filesystem::file_size("start.3do"), 56u);
}

TEST(LoadObject, ReadsBackWhatWasSavedWithExtremeValues)
{
    const TempFolder folder;
    Object3D object;
    LoadObject(dataFile("extremes.3do"), object);
    EXPECT_EQ(object.x[0], INT32_MIN);
    EXPECT_EQ(object.y[0], INT32_MAX);
    EXPECT_EQ(object.faces[0].mapping, -1);
    EXPECT_EQ(object.faces[0].texture, 65535);
    SaveObject("again.3do", object);
    EXPECT_EQ(folder.read("again.3do"), readBytes(dataFile("extremes.3do")));
}

TEST(LoadObject, IgnoresBytesAfterTheFaces)
{
    Object3D object;
    LoadObject(dataFile("triangle-with-tail.3do"), object);
    expectSameObject(object, triangle());
}

TEST(LoadObject, ReplacesAnObjectOfAnotherSizeByOneOfTheFilesSize)
{
    Object3D object;
    AllocateObject(object, 150000, 50000);
    LoadObject(dataFile("triangle.3do"), object);
    EXPECT_EQ(object.x.size(), 3u);
    EXPECT_EQ(object.faces.size(), 1u);
}

TEST(LoadObject, TheLargestCountsGiveTheLargestObject)
{
    const TempFolder folder;
    Object3D big;
    AllocateObject(big, 65535, 65535);
    big.x[65535] = -7;
    big.faces[65535].transparency = 100;
    SaveObject("big.3do", big);
    EXPECT_EQ(std::filesystem::file_size("big.3do"), 4u + 12u * 65536 + 16u * 65536);
    Object3D loaded;
    LoadObject("big.3do", loaded);
    EXPECT_EQ(loaded.lastPoint, 65535);
    EXPECT_EQ(loaded.faces.size(), 65536u);
    EXPECT_EQ(loaded.x[65535], -7);
    EXPECT_EQ(loaded.faces[65535].transparency, 100);
}

TEST(LoadObject, AMissingFileNamesItAndKeepsTheObject)
{
    const TempFolder folder;
    Object3D object = triangle();
    try {
        LoadObject("nowhere.3do", object);
        FAIL() << "no error";
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "K3X: The file nowhere.3do is missing");
    }
    expectSameObject(object, triangle());
}

class ShortObjectFile : public testing::TestWithParam<const char*> {};

TEST_P(ShortObjectFile, IsRefusedWithItsNameAndTheObjectKept)
{
    Object3D object = triangle();
    const std::string path = dataFile(GetParam());
    try {
        LoadObject(path, object);
        FAIL() << "no error";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
    expectSameObject(object, triangle());
}

INSTANTIATE_TEST_SUITE_P(Files, ShortObjectFile,
                         testing::Values("empty.3do", "counts-cut.3do", "points-cut.3do", "faces-cut.3do",
                                         "huge-counts.3do"));
