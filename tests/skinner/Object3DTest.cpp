#include "Object3D.h"

#include "Errors.h"

#include <gtest/gtest.h>

TEST(AllocateObject, MakesZeroFilledArraysOfTheGivenSize)
{
    Object3D object;
    AllocateObject(object, 2, 0);
    EXPECT_EQ(object.lastPoint, 2);
    EXPECT_EQ(object.lastFace, 0);
    EXPECT_EQ(object.x.size(), 3u);
    EXPECT_EQ(object.z.size(), 3u);
    ASSERT_EQ(object.faces.size(), 1u);
    EXPECT_EQ(object.faces[0], Face{});
    EXPECT_EQ(object.pointCount(), 3u);
    EXPECT_EQ(object.faceCount(), 1u);
}

TEST(AllocateObject, KeepsTheLow16BitsOfLargeIndicesButAllocatesThemAll)
{
    Object3D object;
    AllocateObject(object, 150000, 50000);
    EXPECT_EQ(object.lastPoint, 150000 & 0xffff);
    EXPECT_EQ(object.lastFace, 50000);
    EXPECT_EQ(object.x.size(), 150001u);
    EXPECT_EQ(object.faces.size(), 50001u);
}

TEST(AllocateObject, RefusesNegativeCountsAndKeepsTheObject)
{
    Object3D object;
    AllocateObject(object, 2, 0);
    EXPECT_THROW(AllocateObject(object, -1, 0), OrmelError);
    EXPECT_EQ(object.x.size(), 3u);
}

TEST(WorkingCopy, StartsWithRoomFor5001PointsAnd15001Faces)
{
    const WorkingCopyState& copy = WorkingCopy();
    EXPECT_GE(copy.object.x.size(), 5001u);
    EXPECT_GE(copy.object.faces.size(), 15001u);
}

TEST(WorkingCopy, GrowsEachArrayToOneMoreThanAnObjectNeedsAndNeverShrinks)
{
    // Points and faces each by their own need: many faces and one point, then many points and
    // one face.
    WorkingCopyState& copy = WorkingCopy();
    const std::size_t points = copy.object.x.size();
    const std::int32_t lastFace = static_cast<std::int32_t>(copy.object.faces.size()) + 10;
    Object3D object;
    AllocateObject(object, 0, lastFace);
    EXPECT_EQ(copy.object.faces.size(), static_cast<std::size_t>(lastFace) + 2);
    EXPECT_EQ(copy.object.x.size(), points);

    const std::int32_t lastPoint = static_cast<std::int32_t>(points) + 100;
    AllocateObject(object, lastPoint, 0);
    for (const std::vector<std::int32_t>* axis : {&copy.object.x, &copy.object.y, &copy.object.z, &copy.screenX, &copy.screenY})
        EXPECT_EQ(axis->size(), static_cast<std::size_t>(lastPoint) + 2);
    EXPECT_EQ(copy.object.faces.size(), static_cast<std::size_t>(lastFace) + 2);

    // A smaller object grows nothing.
    Object3D small;
    AllocateObject(small, 2, 0);
    EXPECT_EQ(copy.object.x.size(), static_cast<std::size_t>(lastPoint) + 2);
    EXPECT_EQ(copy.object.faces.size(), static_cast<std::size_t>(lastFace) + 2);
}
