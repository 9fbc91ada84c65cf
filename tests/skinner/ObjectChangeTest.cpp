#include "ObjectChange.h"

#include "EditorFrame.h"
#include "ObjectTools.h"
#include "PointMerge.h"
#include "Renderer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Four points, two of them at one place, and two faces; allocated with room to spare, as the
// editor's start object is.
Object3D sample()
{
    Object3D object;
    AllocateObject(object, 40, 40);
    object.lastPoint = 3;
    object.lastFace = 1;
    const std::int32_t places[4][3] = {{0, 0, 0}, {10, 0, 5}, {10, 10, 5}, {10, 10, 5}};
    for (int p = 0; p < 4; ++p)
        object.x[p] = places[p][0], object.y[p] = places[p][1], object.z[p] = places[p][2];
    object.faces[0] = Face{0, 1, 2, 4};
    object.faces[1] = Face{0, 2, 3, 4};
    object.faces[1].faceType = FacePlain;
    return object;
}

bool sameInUse(const Object3D& a, const Object3D& b) { return ChangedPart(a, b) == ObjectPart::Nothing; }

} // namespace

TEST(ObjectChange, EachToolIsKeptByThePartItChanges)
{
    const struct {
        const char* tool;
        std::function<void(Object3D&)> run;
        ObjectPart part;
    } cases[] = {
        {"nothing", [](Object3D&) {}, ObjectPart::Nothing},
        {"colour all", [](Object3D& o) { ColourAllFaces(o, 9); }, ObjectPart::Faces},
        {"turn over", [](Object3D& o) { TurnFacesOver(o); }, ObjectPart::Faces},
        {"mirror", [](Object3D& o) { MirrorObject(o, Axis::X); }, ObjectPart::Points},
        {"quarter turn", [](Object3D& o) { QuarterTurn(o, Axis::Y); }, ObjectPart::Points},
        {"merge", [](Object3D& o) { MergeCoincidentPoints(o); }, ObjectPart::Whole},
        {"a point and a face", [](Object3D& o) { o.x[0] = 1, o.faces[0].texture = 1; }, ObjectPart::Whole},
        // Beyond the counts is room, not the object.
        {"room", [](Object3D& o) { o.x[30] = 7, o.faces[30].texture = 7; }, ObjectPart::Nothing},
    };
    for (const auto& c : cases) {
        const Object3D before = sample();
        Object3D after = before;
        c.run(after);
        EXPECT_EQ(ChangedPart(before, after), c.part) << c.tool;
    }
}

TEST(ObjectChange, ExchangingTwiceGivesBothStatesBackWithoutTouchingTheRoom)
{
    Object3D object = sample();
    object.faces[30].texture = 77; // room beyond the last face
    const Object3D original = object;
    Object3D changed = UsedPart(object);
    EXPECT_EQ(changed.x.size(), 4u);
    EXPECT_EQ(changed.faces.size(), 2u);
    ColourAllFaces(changed, 9);
    MirrorObject(changed, Axis::Z);
    const Object3D wanted = changed;

    std::vector<Face> faces = changed.faces;
    ObjectPoints points{changed.x, changed.y, changed.z};
    ExchangeFaces(object, faces);
    ExchangePoints(object, points);
    EXPECT_TRUE(sameInUse(object, wanted));
    EXPECT_EQ(object.faces.size(), original.faces.size()); // nothing allocated or given up
    EXPECT_EQ(object.faces[30].texture, 77);
    ExchangeFaces(object, faces);
    ExchangePoints(object, points);
    EXPECT_TRUE(sameInUse(object, original));
    EXPECT_EQ(faces, wanted.faces);
}

TEST(EditorFrame, AnObjectFramedIsShownWholeAtEyeHeightAndFillsTheView)
{
    // Imported objects stand on the origin, 1,000 units tall; a flat one lies on it.
    const struct {
        std::int32_t width, height, depth;
        std::int32_t eyeHeight;
    } cases[] = {{400, 1000, 400, -500}, {1000, 40, 1000, -20}, {1000, 1000, 1000, -500}, {300, 3000, 300, -1500}};
    for (const auto& c : cases) {
        Object3D box;
        AllocateObject(box, 7, 11);
        for (int p = 0; p < 8; ++p) {
            box.x[p] = (p & 1) ? c.width / 2 : -c.width / 2;
            box.y[p] = (p & 2) ? c.height : 0;
            box.z[p] = (p & 4) ? c.depth / 2 : -c.depth / 2;
        }
        const std::uint16_t corners[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                                              {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
        for (int f = 0; f < 12; ++f) {
            box.faces[f] = Face{corners[f][0], corners[f][1], corners[f][2], 5};
            box.faces[f].faceType = FacePlain;
            box.faces[f].doubleSided = 1;
        }
        RenderContext context;
        ResizeView(context, 448, 408);
        context.focalX = context.focalY = 256; // the editor's until its window is first resized
        const EditorView view = FrameInView(box, nullptr, EditorView{}, context);
        EXPECT_EQ(view.height, c.eyeHeight) << c.height;
        EXPECT_EQ(view.across, 0) << c.height;
        DrawEditorFrame(context, box, view);
        ASSERT_EQ(context.triangleCount, 11) << c.height; // every triangle drawn, none cut
        int top = context.screen.height, bottom = 0, left = context.screen.width, right = 0;
        for (int t = 0; t <= context.triangleCount; ++t) {
            const RenderTriangle& triangle = context.triangles[static_cast<std::size_t>(t)];
            for (const auto& [x, y] : {std::pair{triangle.sx1, triangle.sy1}, {triangle.sx2, triangle.sy2}, {triangle.sx3, triangle.sy3}}) {
                EXPECT_TRUE(x >= 0 && x < context.screen.width && y >= 0 && y < context.screen.height) << c.height;
                top = std::min<int>(top, y), bottom = std::max<int>(bottom, y);
                left = std::min<int>(left, x), right = std::max<int>(right, x);
            }
        }
        // Nine tenths of the view across or up, give or take the rounding of the distance.
        EXPECT_TRUE(right - left >= context.screen.width * 85 / 100 || bottom - top >= context.screen.height * 85 / 100)
            << c.height << ": " << right - left << " x " << bottom - top;
    }
}

TEST(EditorFrame, AZoomKeepsWhatLiesUnderThePointer)
{
    RenderContext context;
    ResizeView(context, 448, 408); // centre (224, 204)
    context.focalX = context.focalY = 256;
    EditorView view;
    view.distance = 1000;
    // Pixel (324, 104) is 100 right of the centre and 100 above it: at depth 1000 that is 390.6
    // units across and up, at 500 it is 195.3, so halving the distance moves the object 195 back.
    const EditorView nearer = ZoomToward(view, 0.5, 324, 104, context);
    EXPECT_EQ(nearer.distance, 500);
    EXPECT_EQ(nearer.across, -195);
    EXPECT_EQ(nearer.height, -195);
    EXPECT_EQ(ZoomToward(view, 0.001, 324, 104, context).distance, 20) << "never nearer than 20";
}
