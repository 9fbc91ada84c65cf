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
    EXPECT_GE(copy.capacity, 300028u);
    EXPECT_GE(copy.object.x.size(), 5001u);
    EXPECT_GE(copy.object.faces.size(), 15001u);
    EXPECT_EQ(ObjectByteFigure(5000, 15000), 300028u);
}

TEST(WorkingCopy, GrowsWhenAnObjectNeedsMoreThanItsFigure)
{
    WorkingCopyState& copy = WorkingCopy();
    const std::int32_t lastFace = static_cast<std::int32_t>(copy.capacity / 16) + 10;
    const std::size_t need = ObjectByteFigure(0, lastFace);
    ASSERT_GT(need, copy.capacity);
    Object3D object;
    AllocateObject(object, 0, lastFace);
    // One more of each than the object, and the figure is the object's own need.
    EXPECT_EQ(copy.object.faces.size(), static_cast<std::size_t>(lastFace) + 2);
    EXPECT_EQ(copy.object.x.size(), 2u);
    EXPECT_EQ(copy.capacity, need);

    // A smaller object grows nothing.
    Object3D small;
    AllocateObject(small, 2, 0);
    EXPECT_EQ(copy.capacity, need);
    EXPECT_EQ(copy.object.faces.size(), static_cast<std::size_t>(lastFace) + 2);
}

TEST(WorkingCopy, HoldsEveryPointEvenWhenTheFigureDoesNotAskForIt)
{
    // The figure weighs points and faces together: an object of many points and one face fits a
    // figure made for many faces while having more points than the copy.
    const WorkingCopyState& copy = WorkingCopy();
    const std::size_t capacity = copy.capacity;
    const std::int32_t lastPoint = static_cast<std::int32_t>(copy.object.x.size()) + 100;
    ASSERT_LT(ObjectByteFigure(lastPoint, 0), capacity);
    Object3D object;
    AllocateObject(object, lastPoint, 0);
    EXPECT_EQ(copy.capacity, capacity);
    EXPECT_GE(copy.object.x.size(), static_cast<std::size_t>(lastPoint) + 1);
    EXPECT_GE(copy.object.z.size(), static_cast<std::size_t>(lastPoint) + 1);
}
