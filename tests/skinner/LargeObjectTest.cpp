// The largest objects the 16-bit counts allow: 65,536 points and 65,536 faces load, draw, merge
// and save; a DXF mesh beyond them is refused with a message.
#include "DxfImport.h"
#include "EditorFrame.h"
#include "Errors.h"
#include "ObjectFile.h"
#include "PointMerge.h"
#include "RenderTestSupport.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr int Side = 256; // a 256 x 256 grid of points, wrapped into a torus

// A torus of 65,536 points whose first 65,536 faces (two per grid cell, half of the ring)
// are plain, each of its own colour 1..255.
Object3D largeTorus()
{
    Object3D object;
    AllocateObject(object, Side * Side - 1, 65535);
    for (int u = 0; u < Side; ++u)
        for (int v = 0; v < Side; ++v) {
            const double a = 2 * std::numbers::pi * u / Side, b = 2 * std::numbers::pi * v / Side;
            const double ring = 100 + 40 * std::cos(b);
            const int p = u * Side + v;
            object.x[p] = static_cast<std::int32_t>(std::lround(ring * std::cos(a)));
            object.y[p] = static_cast<std::int32_t>(std::lround(40 * std::sin(b)));
            object.z[p] = static_cast<std::int32_t>(std::lround(ring * std::sin(a)));
        }
    for (int f = 0; f < 65536; ++f) {
        const int cell = f / 2, u = cell / Side, v = cell % Side;
        const auto point = [](int pu, int pv) { return static_cast<std::uint16_t>(pu % Side * Side + pv % Side); };
        Face& face = object.faces[f];
        face.p1 = point(u, v);
        face.p2 = f % 2 ? point(u + 1, v + 1) : point(u + 1, v);
        face.p3 = f % 2 ? point(u, v + 1) : point(u + 1, v + 1);
        face.faceType = FacePlain;
        face.texture = static_cast<std::uint16_t>(1 + f % 255);
        face.doubleSided = 1;
    }
    return object;
}

} // namespace

TEST(LargeObject, TheLargestObjectSavesLoadsAndDraws)
{
    const TempFolder folder;
    const Object3D torus = largeTorus();
    SaveObject("torus.3do", torus);
    EXPECT_EQ(std::filesystem::file_size("torus.3do"), 4u + 12u * 65536 + 16u * 65536);
    Object3D loaded;
    LoadObject("torus.3do", loaded);
    EXPECT_EQ(loaded.lastPoint, 65535);
    EXPECT_EQ(loaded.lastFace, 65535);
    EXPECT_EQ(loaded.x, torus.x);
    EXPECT_EQ(loaded.faces, torus.faces);

    // Every face is on the frame's list; the half ring covers a fair part of the view.
    const auto context = MakeTestContext(380, 384);
    EditorView view;
    view.distance = 200;
    DrawEditorFrame(*context, loaded, view);
    EXPECT_EQ(context->triangleCount, 65535);
    std::size_t drawn = 0;
    for (std::uint8_t pixel : context->screen.pixels)
        drawn += pixel != 0;
    EXPECT_GT(drawn, context->screen.pixels.size() / 20);

    // A click on the ring finds one of its faces.
    int row = 0;
    while (row < 384 && ScreenPixel(*context, 190, row) == 0)
        ++row;
    const PickedFace picked = PickFace(*context, 190, row);
    EXPECT_GE(picked.faceIndex, 0);
    std::uint8_t highlight = 0;
    EXPECT_TRUE(OutlineFace(*context, picked.faceIndex, HighlightColours{255, 1}, highlight));
}

TEST(LargeObject, TheLargestObjectMergesItsDoubledPointsAndSavesTheResult)
{
    // Every point of the torus twice over (32,768 places); the faces use either copy.
    const Object3D torus = largeTorus();
    Object3D doubled = torus;
    for (int p = 0; p < Side * Side; ++p) {
        const int place = p / 2 * 2 % (Side * Side);
        doubled.x[p] = torus.x[place], doubled.y[p] = torus.y[place], doubled.z[p] = torus.z[place];
    }
    const auto corner = [](const Object3D& object, std::uint16_t p) {
        return std::array<std::int32_t, 3>{object.x[p], object.y[p], object.z[p]};
    };
    Object3D merged = doubled;
    EXPECT_EQ(MergeCoincidentPoints(merged), 32768u);
    EXPECT_EQ(merged.lastPoint, 32767);
    EXPECT_EQ(merged.lastFace, 65535);
    for (std::size_t f = 0; f < 65536; ++f) {
        const Face &before = doubled.faces[f], &after = merged.faces[f];
        ASSERT_TRUE(after.p1 < 32768 && after.p2 < 32768 && after.p3 < 32768) << f;
        ASSERT_EQ(corner(merged, after.p1), corner(doubled, before.p1)) << f;
        ASSERT_EQ(corner(merged, after.p3), corner(doubled, before.p3)) << f;
    }
    EXPECT_EQ(MergeCoincidentPoints(merged), 0u);

    const TempFolder folder;
    SaveObject("merged.3do", merged);
    Object3D loaded;
    LoadObject("merged.3do", loaded);
    EXPECT_EQ(std::filesystem::file_size("merged.3do"), 4u + 12u * 32768 + 16u * 65536);
    EXPECT_EQ(loaded.faces, merged.faces);
}

TEST(LargeObject, ADxfMeshBeyond65536FacesIsRefusedWithAMessage)
{
    // 65,537 triangles, each of three points of its own.
    std::string text;
    text.reserve(65537 * 80);
    for (int f = 0; f < 65537; ++f) {
        const std::string x = std::to_string(f % 1000), z = std::to_string(f / 1000);
        text += "0\n3DFACE\n10\n" + x + "\n20\n" + z + "\n30\n0\n11\n" + x + "\n21\n" + z + "\n31\n1\n12\n" + x +
                "\n22\n" + z + "\n32\n2\n13\n" + x + "\n23\n" + z + "\n33\n2\n";
    }
    Object3D object;
    AllocateObject(object, 2, 0);
    try {
        ImportDxfText(text, "huge.dxf", object);
        FAIL() << "no error";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), testing::HasSubstr("huge.dxf"));
        EXPECT_THAT(error.what(), testing::HasSubstr("65536"));
    }
    EXPECT_EQ(object.lastPoint, 2);
}
