#include "FaceSelection.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A strip of four squares along X, two triangles each: A (faces 0, 1) and B (2, 3) flat in z = 0,
// textured with texture 2; C (4, 5) bent 5.1 degrees from B and made of copies of B's edge points
// 2 and 5, textured 3; D (6, 7) bent 14.7 degrees more, plain in colour 2. Face 8 lies apart,
// plain in colour 7.
Object3D strip()
{
    const std::int32_t points[15][3] = {{0, 0, 0},     {100, 0, 0},    {200, 0, 0},   {0, 100, 0},   {100, 100, 0},
                                        {200, 100, 0}, {200, 0, 0},    {200, 100, 0}, {300, 0, 9},   {300, 100, 9},
                                        {400, 0, 45},  {400, 100, 45}, {1000, 0, 0},  {1100, 0, 0},  {1000, 100, 0}};
    const std::uint16_t faces[9][5] = {{0, 1, 4, 2, FaceTextured}, {4, 3, 0, 2, FaceTextured},  {1, 2, 5, 2, FaceTextured},
                                       {5, 4, 1, 2, FaceTextured}, {6, 8, 9, 3, FaceTextured},  {9, 7, 6, 3, FaceTextured},
                                       {8, 10, 11, 2, FacePlain},  {11, 9, 8, 2, FacePlain},    {12, 13, 14, 7, FacePlain}};
    Object3D object;
    AllocateObject(object, 14, 8);
    for (int p = 0; p < 15; ++p)
        object.x[p] = points[p][0], object.y[p] = points[p][1], object.z[p] = points[p][2];
    for (int f = 0; f < 9; ++f)
        object.faces[f] = Face{faces[f][0], faces[f][1], faces[f][2], faces[f][3], 0, 0, faces[f][4], 0};
    return object;
}

FaceFlags only(std::initializer_list<int> faces)
{
    FaceFlags flags(9, 0);
    for (const int f : faces)
        flags[f] = 1;
    return flags;
}

} // namespace

TEST(FaceSelection, ChoosesBySkinByEdgesAndByFlatness)
{
    const Object3D object = strip();
    EXPECT_EQ(PointPlaces(object)[6], 2u);
    EXPECT_EQ(PointPlaces(object)[7], 5u);

    EXPECT_EQ(SelectSameSkin(object, 0), only({0, 1, 2, 3}));
    EXPECT_EQ(SelectSameSkin(object, 6), only({6, 7})) << "texture 2 but plain: another skin";
    EXPECT_EQ(SelectSameSkin(object, 9), only({})) << "no such face";

    const struct {
        FaceFlags start;
        double degrees; // < 0: Select connected
        FaceFlags grown;
    } cases[] = {
        {only({0}), -1, only({0, 1, 2, 3, 4, 5, 6, 7})},
        {only({8}), -1, only({8})},
        {only({0}), 10, only({0, 1, 2, 3, 4, 5})},
        {only({0}), 1, only({0, 1, 2, 3})},
        {only({0}), 20, only({0, 1, 2, 3, 4, 5, 6, 7})},
        {only({7, 8}), 10, only({6, 7, 8})},
    };
    for (const auto& c : cases) {
        FaceFlags flags = c.start;
        if (c.degrees < 0)
            SelectConnected(object, flags);
        else
            SelectFlatRegion(object, flags, c.degrees);
        EXPECT_EQ(flags, c.grown) << c.degrees;
    }
    EXPECT_EQ(CountSelected(only({1, 5, 8})), 3u);
    EXPECT_EQ(SelectedFaces(only({1, 5, 8})), (std::vector<std::uint32_t>{1, 5, 8}));
}

TEST(FaceSelection, TakesWhatABoxShowsOfTheFrame)
{
    // A 20 x 20 view: face 0 far behind everything; face 1 a near square from (5, 5) to (10, 10)
    // in two pieces; face 2, nearer still, a triangle at the top right.
    auto context = MakeTestContext(20, 20);
    const auto triangle = [](std::int32_t face, std::int32_t key, std::array<std::int32_t, 6> screen) {
        RenderTriangle t{};
        t.sx1 = screen[0], t.sy1 = screen[1], t.sx2 = screen[2], t.sy2 = screen[3], t.sx3 = screen[4], t.sy3 = screen[5];
        t.faceIndex = face;
        t.depthKey = key;
        return t;
    };
    context->triangles[0] = triangle(0, 1000, {0, 0, 60, 0, 0, 60});
    context->triangles[1] = triangle(1, 10, {5, 5, 10, 5, 10, 10});
    context->triangles[2] = triangle(1, 10, {10, 10, 5, 10, 5, 5});
    context->triangles[3] = triangle(2, 5, {12, 0, 19, 0, 12, 7});
    context->triangleCount = 3; // the last index, as a drawn frame leaves it

    const struct {
        int left, top, right, bottom;
        std::vector<std::int32_t> faces;
    } boxes[] = {
        {6, 6, 9, 9, {1}},         {0, 0, 19, 19, {0, 1, 2}}, {13, 1, 14, 2, {2}},
        {2, 2, 3, 3, {0}},         {10, 10, 10, 10, {1}},  {-50, -50, 2, 2, {0}},
        {9, 9, 4, 4, {}},
    };
    const ShownFaces whole = FacesShown(*context, 0, 0, 19, 19); // as the editor keeps it per frame
    for (const auto& box : boxes) {
        EXPECT_EQ(FacesInBox(*context, box.left, box.top, box.right, box.bottom), box.faces)
            << box.left << "," << box.top << " " << box.right << "," << box.bottom;
        EXPECT_EQ(FacesInBox(whole, box.left, box.top, box.right, box.bottom), box.faces)
            << box.left << "," << box.top << " " << box.right << "," << box.bottom;
    }
}

TEST(FaceSelection, ShowsWhatAPixelByPixelSearchFinds)
{
    // Triangles of both turns, some reaching far outside the 40 x 30 view, some of equal keys,
    // against the plain rule: at each pixel, the last triangle of the nearest key covering it.
    auto context = MakeTestContext(40, 30);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> corner(-30, 70), key(1, 6);
    const int count = 200;
    for (int i = 0; i < count; ++i) {
        RenderTriangle& t = context->triangles[static_cast<std::size_t>(i)];
        t = RenderTriangle{};
        t.sx1 = corner(random), t.sy1 = corner(random), t.sx2 = corner(random), t.sy2 = corner(random);
        t.sx3 = corner(random), t.sy3 = corner(random);
        t.faceIndex = i;
        t.depthKey = key(random);
    }
    context->triangleCount = count - 1;
    const auto covers = [](const RenderTriangle& t, std::int64_t x, std::int64_t y) {
        const auto edge = [&](std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
            return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        };
        const std::int64_t e[] = {edge(t.sx1, t.sy1, t.sx2, t.sy2), edge(t.sx2, t.sy2, t.sx3, t.sy3),
                                  edge(t.sx3, t.sy3, t.sx1, t.sy1)};
        return (e[0] >= 0 && e[1] >= 0 && e[2] >= 0) || (e[0] <= 0 && e[1] <= 0 && e[2] <= 0);
    };
    const ShownFaces shown = FacesShown(*context, 3, 2, 36, 27);
    ASSERT_EQ(shown.width, 34);
    ASSERT_EQ(shown.height, 26);
    for (int y = 2; y <= 27; ++y)
        for (int x = 3; x <= 36; ++x) {
            std::int32_t face = -1, nearest = 1 << 30;
            for (int i = 0; i < count; ++i) {
                const RenderTriangle& t = context->triangles[static_cast<std::size_t>(i)];
                const std::int64_t area =
                    std::int64_t{t.sx2 - t.sx1} * (t.sy3 - t.sy1) - std::int64_t{t.sy2 - t.sy1} * (t.sx3 - t.sx1);
                if (area != 0 && covers(t, x, y) && t.depthKey <= nearest)
                    face = i, nearest = t.depthKey;
            }
            ASSERT_EQ(shown.faces[std::size_t(y - 2) * 34 + std::size_t(x - 3)], face) << x << "," << y;
        }
}
