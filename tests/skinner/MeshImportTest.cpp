// Meshes of other formats into objects: shared corners, size and placement, axes, faces facing
// out, skins from colours and bank textures, refusals; and the files Assimp reads.
#include "AssimpMesh.h"
#include "ColladaPlacements.h"
#include "Errors.h"
#include "MeshImport.h"
#include "MeshOrientation.h"
#include "MeshSimplify.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

using ::testing::HasSubstr;

namespace {

const std::string Data = std::string(ORMEL_TEST_DATA) + "/mesh/";

using Corners = std::array<MeshPoint, 3>;

MeshSoup soupOf(const std::vector<Corners>& triangles, int material = -1)
{
    MeshSoup soup;
    for (const Corners& corners : triangles)
        soup.triangles.push_back({corners, material, std::nullopt, std::nullopt});
    return soup;
}

// An axis-aligned box from `low` to `high`, faces counter-clockwise seen from outside (the usual
// winding of right-handed files); with `inward`, every face the other way.
std::vector<Corners> box(MeshPoint low, MeshPoint high, bool inward = false)
{
    std::vector<Corners> out;
    auto p = [&](int i) { return MeshPoint{i & 1 ? high[0] : low[0], i & 2 ? high[1] : low[1], i & 4 ? high[2] : low[2]}; };
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}};
    for (const auto& q : quads) {
        Corners a{p(q[0]), p(q[1]), p(q[2])}, b{p(q[0]), p(q[2]), p(q[3])};
        if (inward)
            std::swap(a[0], a[2]), std::swap(b[0], b[2]);
        out.push_back(a);
        out.push_back(b);
    }
    return out;
}

ImportedMesh convert(const MeshSoup& soup, UpAxis up = UpAxis::Y, int size = 1000)
{
    return ConvertMesh(soup, {size, up}, DemoMeshSkin(), "test.obj");
}

// Every face's front, (p2 - p1) x (p3 - p1), points away from the centre of the faces' corners.
void expectFacingOut(const Object3D& o)
{
    double cx = 0, cy = 0, cz = 0;
    for (std::size_t f = 0; f < o.faceCount(); ++f)
        for (std::uint16_t p : {o.faces[f].p1, o.faces[f].p2, o.faces[f].p3})
            cx += o.x[p], cy += o.y[p], cz += o.z[p];
    const double corners = 3.0 * o.faceCount();
    cx /= corners, cy /= corners, cz /= corners;
    for (std::size_t f = 0; f < o.faceCount(); ++f) {
        const Face& face = o.faces[f];
        const double ux = o.x[face.p2] - o.x[face.p1], uy = o.y[face.p2] - o.y[face.p1], uz = o.z[face.p2] - o.z[face.p1];
        const double vx = o.x[face.p3] - o.x[face.p1], vy = o.y[face.p3] - o.y[face.p1], vz = o.z[face.p3] - o.z[face.p1];
        const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const double gx = (o.x[face.p1] + o.x[face.p2] + o.x[face.p3]) / 3.0 - cx;
        const double gy = (o.y[face.p1] + o.y[face.p2] + o.y[face.p3]) / 3.0 - cy;
        const double gz = (o.z[face.p1] + o.z[face.p2] + o.z[face.p3]) / 3.0 - cz;
        EXPECT_GT(nx * gx + ny * gy + nz * gz, 0) << "face " << f;
    }
}

struct Bounds {
    std::int32_t low[3], high[3];
};
Bounds boundsOf(const Object3D& o)
{
    Bounds b{{o.x[0], o.y[0], o.z[0]}, {o.x[0], o.y[0], o.z[0]}};
    for (std::size_t i = 0; i < o.pointCount(); ++i) {
        const std::int32_t p[3] = {o.x[i], o.y[i], o.z[i]};
        for (int a = 0; a < 3; ++a)
            b.low[a] = std::min(b.low[a], p[a]), b.high[a] = std::max(b.high[a], p[a]);
    }
    return b;
}

TEST(MeshConvert, SharesCornersScalesAndStandsOnTheOrigin)
{
    const ImportedMesh mesh = convert(soupOf(box({-3, 5, 2}, {-1, 9, 3})));
    const Object3D& o = mesh.object;
    EXPECT_EQ(o.pointCount(), 8u);
    EXPECT_EQ(o.faceCount(), 12u);
    const Bounds b = boundsOf(o);
    EXPECT_EQ(b.low[1], 0);
    EXPECT_EQ(b.high[1], 1000); // 4 high: the largest extent
    EXPECT_EQ(b.low[0], -250);
    EXPECT_EQ(b.high[0], 250);
    EXPECT_EQ(b.low[2], -125);
    EXPECT_EQ(b.high[2], 125);
    for (std::size_t f = 0; f < o.faceCount(); ++f)
        EXPECT_EQ(o.faces[f].doubleSided, 0); // closed: seen from outside only
    expectFacingOut(o);
}

TEST(MeshConvert, TurnsClosedPiecesOutwardWhateverTheirWinding)
{
    std::vector<Corners> mixed = box({0, 0, 0}, {1, 1, 1});
    const std::vector<Corners> inward = box({0, 0, 0}, {1, 1, 1}, true);
    for (std::size_t i = 0; i < mixed.size(); i += 3)
        mixed[i] = inward[i];
    for (const auto& triangles : {box({0, 0, 0}, {1, 1, 1}), inward, mixed})
        for (UpAxis up : {UpAxis::Y, UpAxis::Z})
            expectFacingOut(convert(soupOf(triangles), up).object);
}

TEST(MeshConvert, TurnsUprightKeepingTheShapeUnmirrored)
{
    // A point to the right stays right; the file's front (+Z for Y-up files, -Y for Z-up ones)
    // comes towards the eye (-Z); up is up.
    struct Case {
        UpAxis up;
        MeshPoint tip; // a far corner marking the right, up and front side
    };
    for (const Case& c : {Case{UpAxis::Y, {1, 1, 1}}, Case{UpAxis::Z, {1, -1, 1}}}) {
        std::vector<Corners> triangles = box({0, 0, 0}, {c.tip[0], c.tip[1], c.tip[2]});
        // A spike on the tip corner makes it the point farthest right, up and front.
        const MeshPoint t = c.tip;
        triangles.push_back({MeshPoint{t[0], t[1], t[2]},
                             MeshPoint{t[0] * 2, t[1] * 2, t[2] * 2},
                             MeshPoint{t[0] * 2, t[1] * 2 + 0.1, t[2] * 2}});
        const Object3D o = convert(soupOf(triangles), c.up).object;
        const Bounds b = boundsOf(o);
        bool found = false;
        for (std::size_t i = 0; i < o.pointCount(); ++i)
            found = found || (o.x[i] == b.high[0] && o.y[i] >= b.high[1] - 50 && o.z[i] == b.low[2]);
        EXPECT_TRUE(found) << (c.up == UpAxis::Y ? "y up" : "z up");
    }
}

TEST(MeshConvert, OpenPiecesShowBothSides)
{
    std::vector<Corners> lidless = box({0, 0, 0}, {1, 1, 1});
    lidless.pop_back(); // one triangle of the top gone
    const Object3D o = convert(soupOf(lidless)).object;
    for (std::size_t f = 0; f < o.faceCount(); ++f)
        EXPECT_EQ(o.faces[f].doubleSided, 1);
}

TEST(MeshConvert, DropsAndCountsTrianglesWithoutArea)
{
    std::vector<Corners> triangles = box({0, 0, 0}, {1, 1, 1});
    triangles.push_back({MeshPoint{0, 0, 0}, {1, 0, 0}, {0.5, 0.0001, 0}}); // flat after rounding
    triangles.push_back({MeshPoint{0, 0, 0}, {0, 0, 0}, {1, 1, 1}});        // two corners the same
    const ImportedMesh mesh = convert(soupOf(triangles));
    EXPECT_EQ(mesh.droppedTriangles, 2u);
    EXPECT_EQ(mesh.object.faceCount(), 12u);
    EXPECT_EQ(mesh.object.pointCount(), 8u);
}

TEST(MeshConvert, RefusesWhatAnObjectCannotHoldSayingHowMany)
{
    // A sheet of 200 x 200 squares: 40,401 points but 80,000 faces.
    std::vector<Corners> sheet;
    for (int i = 0; i < 200; ++i)
        for (int j = 0; j < 200; ++j) {
            sheet.push_back({MeshPoint{double(i), 0, double(j)}, {i + 1.0, 0, double(j)}, {i + 1.0, 0, j + 1.0}});
            sheet.push_back({MeshPoint{double(i), 0, double(j)}, {i + 1.0, 0, j + 1.0}, {double(i), 0, j + 1.0}});
        }
    try {
        convert(soupOf(sheet), UpAxis::Y, 10000);
        ADD_FAILURE() << "imported";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("40401 points and 80000 faces"));
        EXPECT_THAT(error.what(), HasSubstr("test.obj"));
    }
    EXPECT_THROW(convert(soupOf({{MeshPoint{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}})), FormatError);
}

// Coordinates near the largest double: a box far from the origin still comes in whole; points
// further apart than a double holds are named as an overflow, not as a mesh without extent.
TEST(MeshConvert, HugeCoordinatesComeInOrAreNamedAsAnOverflow)
{
    const Bounds b = boundsOf(convert(soupOf(box({1e308, 1e308, 1e308}, {1.5e308, 1.25e308, 1.25e308}))).object);
    EXPECT_EQ(b.low[0], -500);
    EXPECT_EQ(b.high[0], 500);
    EXPECT_EQ(b.high[1], 500);
    const struct {
        MeshPoint far;
        const char* reason;
    } cases[] = {{{-1e308, 0, 0}, "test.obj: the mesh is too large: the distance between its points overflows "
                                  "(coordinates from -1e+308 to 1e+308)"},
                 {{HUGE_VAL, 0, 0}, "test.obj: a point has a coordinate too large for a number (an overflow)"},
                 {{NAN, 0, 0}, "test.obj: a point has a coordinate that is not a number"}};
    for (const auto& c : cases)
        EXPECT_THAT([&] { convert(soupOf({{MeshPoint{1e308, 0, 0}, {0, 1, 0}, c.far}})); },
                    ::testing::ThrowsMessage<FormatError>(::testing::StrEq(c.reason)));
}

TEST(MeshConvert, SkinsFromColoursAndBankTextures)
{
    MeshSoup soup = soupOf(box({0, 0, 0}, {1, 1, 1}));
    soup.materials = {{"red", MeshColour{250, 0, 0}, "", {}, 0.83},
                      {"bricks", MeshColour{255, 255, 255}, "maps\\Bricks.png", {}, 1},
                      {"none", std::nullopt, "none.png", {}, 1}};
    soup.triangles[0].material = 0;
    soup.triangles[1].material = 1;
    soup.triangles[2].material = 2;
    soup.triangles[3].material = 0;
    soup.triangles[3].vertexColour = MeshColour{0, 0, 250}; // the corners' own colours come first
    MeshSkin skin = DemoMeshSkin();
    skin.textureByImage["BRICKS"] = 7;
    const Object3D o = ConvertMesh(soup, {}, skin, "test.obj").object;
    const auto flat = [&](MeshColour c) { return static_cast<std::uint16_t>(FlatColourFor(skin, c)); };
    EXPECT_EQ(o.faces[0].faceType, FacePlain);
    EXPECT_EQ(o.faces[0].texture, flat({250, 0, 0}));
    EXPECT_EQ(o.faces[1].faceType, FaceTextured);
    EXPECT_EQ(o.faces[1].texture, 7);
    EXPECT_EQ(o.faces[2].texture, flat({200, 200, 200})); // no colour, no matching image: grey
    EXPECT_EQ(o.faces[3].texture, flat({0, 0, 250}));
    EXPECT_EQ(o.faces[0].transparency, 17); // 0.83 opaque
    EXPECT_EQ(o.faces[1].transparency, 0);
    const PalettePlanes& p = skin.flatColours;
    const int red = o.faces[0].texture;
    EXPECT_GT(p.red[red], 150);
    EXPECT_LT(p.green[red], 60);
}

TEST(MeshConvert, TheTextureIsLaidTheWayClosestToTheModelsCoordinates)
{
    // The renderer lays the picture's top left on p1, top right on p2, bottom right on p3, then
    // turns it half a turn (mapping bit 0) and mirrors it across the diagonal (bit 1). Texture
    // coordinates grow up the picture; a whole picture's shift changes nothing.
    const struct {
        std::array<MeshUv, 3> uv;
        int turn, mapping;
    } cases[] = {
        {{{{0, 1}, {1, 1}, {1, 0}}}, 0, 0}, // top left, top right, bottom right
        {{{{1, 0}, {0, 1}, {1, 1}}}, 1, 0}, // the same corners, starting elsewhere
        {{{{1, 0}, {0, 0}, {0, 1}}}, 0, 1}, // half a turn
        {{{{0, 1}, {0, 0}, {1, 0}}}, 0, 2}, // across the diagonal
        {{{{1, 0}, {1, 1}, {0, 1}}}, 0, 3}, // both
        {{{{3, -1}, {4, -1}, {4, -2}}}, 0, 0}, // three pictures right, two down
        {{{{0.1, 0.9}, {0.9, 0.95}, {0.85, 0.1}}}, 0, 0}, // near enough
    };
    for (const auto& c : cases) {
        const TextureLay lay = ClosestTextureLay(c.uv);
        EXPECT_EQ(lay.turn, c.turn) << c.uv[0][0] << "," << c.uv[0][1];
        EXPECT_EQ(lay.mapping, c.mapping) << c.uv[0][0] << "," << c.uv[0][1];
    }
}

TEST(MeshConvert, AFlatQuadIsCutAlongItsPicturesDiagonal)
{
    // A square picture on a square, cut by the file from its bottom left to its top right: no lay
    // of the renderer shows a picture's half on that side of that diagonal. Cut from the bottom
    // right to the top left, both halves lie exactly.
    const MeshPoint a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0}, d{0, 1, 0};
    MeshSoup soup;
    soup.materials = {{"picture", std::nullopt, "pic.png", {}, 1}};
    soup.triangles.push_back({{a, b, c}, 0, std::nullopt, std::array<MeshUv, 3>{{{0, 0}, {1, 0}, {1, 1}}}});
    soup.triangles.push_back({{a, c, d}, 0, std::nullopt, std::array<MeshUv, 3>{{{0, 0}, {1, 1}, {0, 1}}}});
    MeshSkin skin = DemoMeshSkin();
    skin.textureByImage["PIC"] = 3;
    const Object3D o = ConvertMesh(soup, {}, skin, "quad.obj").object;
    ASSERT_EQ(o.faceCount(), 2u);
    std::set<std::pair<int, int>> shared;
    for (const std::uint16_t p : {o.faces[0].p1, o.faces[0].p2, o.faces[0].p3})
        for (const std::uint16_t q : {o.faces[1].p1, o.faces[1].p2, o.faces[1].p3})
            if (p == q)
                shared.insert({o.x[p], o.y[p]});
    EXPECT_EQ(shared, (std::set<std::pair<int, int>>{{500, 0}, {-500, 1000}})); // b and d
}

TEST(MeshConvert, CollapsedTrianglesAreCountedWithTheSizeThatKeepsThem)
{
    // A box 1,000 long with a sliver 0.01 high: at size 100 it is 0.001 high and collapses; from
    // size 100,000 on it is a unit high and keeps its area whatever the rounding.
    std::vector<Corners> triangles = box({0, 0, 0}, {1000, 1000, 1000});
    triangles.push_back({MeshPoint{0, 500, 500}, MeshPoint{1000, 500, 500}, MeshPoint{500, 500.01, 500}});
    const ImportedMesh mesh = convert(soupOf(triangles), UpAxis::Y, 100);
    EXPECT_EQ(mesh.collapsedTriangles, 1u);
    EXPECT_GT(mesh.keepingSize, 100);
    EXPECT_LE(mesh.keepingSize, 102400);
    EXPECT_EQ(convert(soupOf(triangles), UpAxis::Y, mesh.keepingSize).collapsedTriangles, 0u);
}

TEST(MeshSimplify, FewerTrianglesWithEveryMaterialWhereItWas)
{
    // A flat sheet 100 x 100 of two materials, left and right of x = 50, as 20,000 triangles. The
    // simplified sheet covers the same ground, each material exactly its own half: the border
    // between them and the sheet's edge stay where they were.
    MeshSoup soup;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const MeshPoint a{double(x), double(y), 0}, b{x + 1.0, double(y), 0}, c{x + 1.0, y + 1.0, 0},
                d{double(x), y + 1.0, 0};
            const int material = x < 50 ? 0 : 1;
            soup.triangles.push_back({{a, b, c}, material, std::nullopt, std::nullopt});
            soup.triangles.push_back({{a, c, d}, material, std::nullopt, std::nullopt});
        }
    soup.materials.resize(2);
    const MeshSoup simple = SimplifyMesh(soup, 2000, "sheet.obj");
    EXPECT_LE(simple.triangles.size(), 2000u);
    double area[2] = {0, 0};
    for (const MeshTriangle& t : simple.triangles) {
        const MeshPoint& p = t.corners[0];
        const MeshPoint& q = t.corners[1];
        const MeshPoint& r = t.corners[2];
        area[t.material] += std::abs((q[0] - p[0]) * (r[1] - p[1]) - (r[0] - p[0]) * (q[1] - p[1])) / 2;
        for (const MeshPoint& corner : t.corners)
            EXPECT_EQ(corner[0] <= 50, t.material == 0 || corner[0] == 50);
    }
    EXPECT_DOUBLE_EQ(area[0], 5000);
    EXPECT_DOUBLE_EQ(area[1], 5000);
}

TEST(MeshConvert, UpAxisByFileName)
{
    // Assimp turns 3DS and Collada files to Y up as it reads them; STL and DXF stay as drawn.
    const std::pair<const char*, UpAxis> cases[] = {{"part.STL", UpAxis::Z}, {"plan.dxf", UpAxis::Z},
                                                    {"ship.3ds", UpAxis::Y}, {"tree.dae", UpAxis::Y},
                                                    {"cup.obj", UpAxis::Y},  {"model", UpAxis::Y}};
    for (const auto& [name, up] : cases)
        EXPECT_EQ(UsualUpAxis(name), up) << name;
}

TEST(MeshOrientation, OrientsEachPieceOnItsOwn)
{
    // Two separate boxes, one wound inward: each ends facing out.
    std::vector<Corners> both = box({0, 0, 0}, {1, 1, 1});
    const std::vector<Corners> second = box({3, 0, 0}, {4, 1, 1}, true);
    both.insert(both.end(), second.begin(), second.end());
    const Object3D o = convert(soupOf(both)).object;
    EXPECT_EQ(o.faceCount(), 24u);
    Object3D left = o, right = o;
    left.faces.resize(12);
    left.lastFace = 11;
    right.faces.erase(right.faces.begin(), right.faces.begin() + 12);
    right.lastFace = 11;
    expectFacingOut(left);
    expectFacingOut(right);
}

// The same box through each format Assimp reads: 8 shared points, 12 faces facing out, upright.
TEST(AssimpMesh, ReadsEachFormat)
{
    struct Case {
        const char* file;
        UpAxis up;
    };
    for (const Case& c : {Case{"cube.obj", UpAxis::Y}, Case{"cube.stl", UpAxis::Y}, Case{"cube-binary.stl", UpAxis::Y},
                          Case{"cube.ply", UpAxis::Y}, Case{"cube.glb", UpAxis::Y}, Case{"cube.dae", UpAxis::Y}}) {
        SCOPED_TRACE(c.file);
        const Object3D o = ImportMeshFile(Data + c.file, {1000, c.up}, DemoMeshSkin()).object;
        EXPECT_EQ(o.pointCount(), 8u);
        EXPECT_EQ(o.faceCount(), 12u);
        const Bounds b = boundsOf(o);
        EXPECT_EQ(b.high[1] - b.low[1], 1000);
        EXPECT_EQ(b.high[0] - b.low[0], 500);
        expectFacingOut(o);
    }
}

TEST(AssimpMesh, TakesMaterialColoursAndTextureNames)
{
    const MeshSoup soup = ReadAssimpMesh(Data + "cube.obj");
    std::set<std::string> textures;
    bool red = false;
    for (const MeshMaterial& m : soup.materials) {
        textures.insert(m.textureFile);
        red = red || (m.colour && m.colour->red > 200 && m.colour->green < 40);
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(textures.count("maps/Bricks.png"));
}

TEST(AssimpMesh, RefusesBrokenFilesNamingThem)
{
    struct Case {
        const char* file;
        const char* reason;
    };
    for (const Case& c : {Case{"bad-index.obj", ""}, Case{"empty.stl", ""}, Case{"missing-buffer.gltf", ""},
                          Case{"cut-short.ply", "a face names a point the model does not have (the file may be cut short)"}}) {
        try {
            ImportMeshFile(Data + c.file, {}, DemoMeshSkin());
            ADD_FAILURE() << c.file << " was read";
        } catch (const OrmelError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.file));
            EXPECT_THAT(error.what(), HasSubstr(c.reason));
        }
    }
    EXPECT_THROW(ImportMeshFile(Data + "missing.obj", {}, DemoMeshSkin()), IoError);
}

// Placements counted from a Collada text by hand: a node's own meshes, its children's and the
// nodes it names, each as often as it is named.
TEST(ColladaPlacements, CountsNodesPlacedWithinNodes)
{
    const std::string head = "<?xml version=\"1.0\"?>\n<!-- <node> -->\n<COLLADA version=\"1.4.1\">";
    const std::string one = "<node id='A'><instance_geometry url='#G'/></node>";
    // B places A three times and holds a child of two meshes; C places B twice and A once.
    const std::string nested = one +
                               "<node id=\"B\"><instance_node url=\"#A\"/><instance_node url=\"#A\"/>"
                               "<instance_node url=\"#A\"/><node><instance_geometry/><instance_controller/></node></node>"
                               "<node id=\"C\"><instance_node url=\"#B\"/><instance_node url=\"#B\"/>"
                               "<instance_node url=\"#A\"/></node>";
    struct Case {
        std::string body;
        std::uint64_t expected;
    };
    for (const Case& c : {Case{"", 0}, Case{one, 1}, Case{nested, 11}, Case{"<node/>" + one, 1},
                          Case{"<!-- <node><instance_geometry/></node> -->" + one, 1},
                          Case{"<node id='X'><instance_node url='#nowhere'/></node>", 0}}) {
        SCOPED_TRACE(c.body);
        const std::string text = head + c.body + "</COLLADA>";
        EXPECT_TRUE(LooksLikeCollada(text));
        EXPECT_EQ(ColladaPlacements(text, 1000), c.expected);
    }
    EXPECT_FALSE(LooksLikeCollada("<?xml version=\"1.0\"?><svg/>"));
    EXPECT_THROW(ColladaPlacements(head + "<node id='S'><node><instance_node url='#S'/></node></node>", 1000), FormatError);
}

// Thirty levels of three placements each would be 3^30 copies: refused from the text at once.
TEST(AssimpMesh, RefusesNodesPlacedMillionsOfTimesBeforeReading)
{
    std::string text = "<?xml version=\"1.0\"?><COLLADA version=\"1.4.1\"><library_nodes>"
                       "<node id=\"N0\"><instance_geometry url=\"#G\"/></node>";
    for (int level = 1; level <= 30; ++level) {
        text += "<node id=\"N" + std::to_string(level) + "\">";
        for (int k = 0; k < 3; ++k)
            text += "<instance_node url=\"#N" + std::to_string(level - 1) + "\"/>";
        text += "</node>";
    }
    text += "</library_nodes></COLLADA>";
    EXPECT_EQ(ColladaPlacements(text, 100000), 100001u);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    try {
        ReadAssimpMeshFromMemory({bytes, text.size()}, "dae", "bomb.dae");
        ADD_FAILURE() << "read";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("bomb.dae places its parts more than 100,000 times"));
    }
}

} // namespace
