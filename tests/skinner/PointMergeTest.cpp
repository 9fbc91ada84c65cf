#include "PointMerge.h"

#include "ReferenceMerge.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// An object whose points stand where the letters say (equal letters, equal places), with one
// face per point (p1 = the point, p2 and p3 the next points round), so every index is followed.
Object3D pointsAt(const std::string& letters)
{
    Object3D object;
    const int n = static_cast<int>(letters.size());
    AllocateObject(object, n - 1, n - 1);
    for (int i = 0; i < n; ++i) {
        object.x[i] = letters[static_cast<std::size_t>(i)] - 'A';
        object.y[i] = 7;
        object.z[i] = -3;
        Face& face = object.faces[static_cast<std::size_t>(i)];
        face.p1 = static_cast<std::uint16_t>(i);
        face.p2 = static_cast<std::uint16_t>((i + 1) % n);
        face.p3 = static_cast<std::uint16_t>((i + 2) % n);
    }
    return object;
}

std::string lettersOf(const Object3D& object)
{
    std::string letters;
    for (std::size_t p = 0; p < object.pointCount(); ++p)
        letters += static_cast<char>('A' + object.x[p]);
    return letters;
}

// Where each face's first corner now stands.
std::string cornerLetters(const Object3D& object)
{
    std::string letters;
    for (std::size_t f = 0; f < object.faceCount(); ++f)
        letters += static_cast<char>('A' + object.x[object.faces[f].p1]);
    return letters;
}

// A random object of `points` points on a small grid, so that many coincide, with triangles,
// virtual faces and a few faces naming points beyond the last.
Object3D randomObject(unsigned seed, int points, int faces)
{
    std::mt19937 random(seed);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    Object3D object;
    AllocateObject(object, points - 1, faces - 1);
    for (int p = 0; p < points; ++p) {
        object.x[p] = pick(4) - 2;
        object.y[p] = pick(4);
        object.z[p] = pick(3) * 1000;
    }
    for (Face& face : object.faces) {
        face.faceType = static_cast<std::uint16_t>(pick(4));
        face.p1 = static_cast<std::uint16_t>(pick(points));
        face.p2 = static_cast<std::uint16_t>(pick(points + 5)); // now and then beyond the last point
        face.p3 = static_cast<std::uint16_t>(pick(points));
        face.texture = static_cast<std::uint16_t>(pick(300));
    }
    return object;
}

} // namespace

TEST(MergeCoincidentPoints, OneRunFollowsTheOnePassRule)
{
    // Before, after one run, after a second run.
    const struct {
        const char* points;
        const char* once;
        const char* twice;
    } cases[] = {
        {"ABA", "AB", "AB"},          // the later A goes, faces follow to the first
        {"AAA", "AA", "A"},           // the point sliding into the index just looked at waits
        {"ABCB", "ABC", "ABC"},       // a point found only when its later twin's turn comes
        {"AACC", "AC", "AC"},         // a passed-over point still takes its later twins
        {"AAAA", "AA", "A"},
        {"ABAB", "ABB", "AB"},        // the last B slides into the index just looked at
        {"AAAB", "AAB", "AB"},
        {"A", "A", "A"},              // one point: nothing to do
        {"ABCD", "ABCD", "ABCD"},     // nothing coincides
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        Object3D object = pointsAt(c.points);
        const std::string before = cornerLetters(object);
        MergeCoincidentPoints(object);
        EXPECT_EQ(lettersOf(object), c.once);
        EXPECT_EQ(cornerLetters(object), before); // every face still stands on the same places
        MergeCoincidentPoints(object);
        EXPECT_EQ(lettersOf(object), c.twice);
        EXPECT_EQ(object.lastPoint + 1u, std::string(c.twice).size());
    }
}

TEST(MergeCoincidentPoints, RenumbersTheFacesOfLaterPoints)
{
    Object3D object = pointsAt("ABAC"); // point 2 goes, point 3 becomes 2
    object.faces[0] = {3, 2, 1};
    EXPECT_EQ(MergeCoincidentPoints(object), 1u);
    EXPECT_EQ(object.lastPoint, 2);
    EXPECT_EQ(object.faces[0].p1, 2);
    EXPECT_EQ(object.faces[0].p2, 0);
    EXPECT_EQ(object.faces[0].p3, 1);
}

TEST(MergeCoincidentPoints, MovesAVirtualFacesAnchorButNotItsSize)
{
    Object3D object = pointsAt("ABAC");
    Face& sign = object.faces[1];
    sign = {3, 2, 3};
    sign.faceType = FaceVirtual;
    Face& onRemoved = object.faces[2];
    onRemoved = {2, 3, 2};
    onRemoved.faceType = FaceVirtual;
    MergeCoincidentPoints(object);
    EXPECT_EQ(sign.p1, 2); // point 3 moved down
    EXPECT_EQ(sign.p2, 2); // width and height as they were
    EXPECT_EQ(sign.p3, 3);
    EXPECT_EQ(onRemoved.p1, 0); // stands on the point that stayed
    EXPECT_EQ(onRemoved.p2, 3);
    EXPECT_EQ(onRemoved.p3, 2);
}

TEST(MergeCoincidentPoints, LeavesIndicesBeyondTheLastPointAlone)
{
    Object3D object = pointsAt("AAB");
    object.faces[0] = {2, 9, 3};
    MergeCoincidentPoints(object);
    EXPECT_EQ(object.faces[0].p1, 1);
    EXPECT_EQ(object.faces[0].p2, 9);
    EXPECT_EQ(object.faces[0].p3, 3);
}

TEST(MergeCoincidentPoints, GivesWhatTheStepByStepRuleGives)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        Object3D fast = randomObject(seed, 300 + static_cast<int>(seed) * 7, 250);
        Object3D plain = fast;
        for (int run = 0; run < 3; ++run) {
            EXPECT_EQ(MergeCoincidentPoints(fast), ReferenceMergeCoincidentPoints(plain));
            ASSERT_EQ(fast.lastPoint, plain.lastPoint);
            for (std::size_t p = 0; p <= fast.lastPoint; ++p)
                ASSERT_TRUE(fast.x[p] == plain.x[p] && fast.y[p] == plain.y[p] && fast.z[p] == plain.z[p]) << p;
            EXPECT_EQ(fast.faces, plain.faces);
        }
    }
}

TEST(MergeCoincidentPoints, HandlesTheLargestObject)
{
    // 65536 points at 32768 places, each twice in a row: one run removes every second point.
    Object3D object;
    AllocateObject(object, 65535, 65535);
    for (int p = 0; p < 65536; ++p) {
        object.x[p] = p / 2;
        object.faces[static_cast<std::size_t>(p)] = {static_cast<std::uint16_t>(p), 0, 65535};
    }
    EXPECT_EQ(MergeCoincidentPoints(object), 32768u);
    EXPECT_EQ(object.lastPoint, 32767);
    EXPECT_EQ(object.faces[65535].p1, 32767);
    EXPECT_EQ(object.faces[0].p3, 32767);
    EXPECT_EQ(object.x[32767], 32767);
}
