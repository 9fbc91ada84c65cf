#pragma once
// The renderer's single state record, and the plain records that pass between its stages: the
// geometry stage (DrawObject) appends RenderTriangles, RenderScene lights and sorts them, and the
// rasteriser (DrawTriangle) draws them into `screen`.
#include "DisplayImage.h"
#include "ObjectGeometry.h"
#include "RasteriserSetup.h"
#include "RendererThreads.h"
#include "SkinnerBank.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// One triangle of a frame, 26 x i32 = 104 bytes.
struct RenderTriangle {
    // The face's three eye-space corners, always the whole face even when only a piece is drawn.
    std::int32_t x1, y1, z1, x2, y2, z2, x3, y3, z3;
    // The projected screen points of the piece drawn (y grows downwards).
    std::int32_t sx1, sy1, sx2, sy2, sx3, sy3;
    std::int32_t texture; // image number when `direct` is 1, else texture number
    std::int32_t mapping;
    std::int32_t depthKey; // sorted largest first: far triangles are drawn first
    std::int32_t faceType;
    std::int32_t direct;
    std::int32_t light1; // the ambient level until RenderScene lights the corners
    std::int32_t objectId;
    std::int32_t faceIndex;
    std::int32_t light2;
    std::int32_t light3;
    std::int32_t blendLevel; // 0 opaque .. 16 invisible, in sixteenths
};
static_assert(sizeof(RenderTriangle) == 104);

struct SortKey {
    std::int32_t index;
    std::int32_t key;
};
static_assert(sizeof(SortKey) == 8);

// A point light; RenderScene turns its position into eye space.
struct Light {
    std::int32_t x = 0, y = 0, z = 0;
    std::int32_t radius = 0;
};

// What a DrawObject that shares its work with helper threads works from: copies of the object's
// points and faces (the caller may change its object once DrawObject returns, while a helper
// whose piece was taken back may still read), the draw's record, and two blocks laid out as the
// helpers' copies are: the transformed points (five arrays of `pointRoom` entries: eye x, y, z,
// screen x, y), and each piece's triangles (room for two a face, from twice its first face on)
// followed by each piece's count. Changed only while no helper holds a piece.
struct SharedGeometry {
    std::vector<std::int32_t> x, y, z;
    std::vector<Face> faces;
    ObjectGeometry object{};
    std::vector<std::uint8_t> points;
    std::size_t pointRoom = 0;
    std::vector<std::uint8_t> triangles;
    int pieces = 1;
};

struct RenderContext {
    static constexpr int MaxLights = 256;

    DisplayImage screen; // 8 bits per pixel; row 0 is the bottom row on screen
    std::uint16_t centreX = 0, centreY = 0;
    std::uint16_t focalX = 0, focalY = 0; // screen x = x * focalX / z + centreX, y = centreY - y * focalY / z
    std::int32_t spanStep = 1;            // pixels between exact texture-coordinate evaluations
    std::int32_t nearZ = 10;              // eye-space depths at or below it are behind the viewer
    std::int32_t subdivision = 1;         // the rasteriser's precision factor of the last triangle

    // The texture bank and its colour tables (images, textures, lastTexture, bankPalette,
    // shadeTable, blendTables, colourPalette, colourRemap).
    SkinnerBank bank;

    std::uint16_t maxX = 0, maxY = 0; // last usable column and row: 2 x centre - 1
    std::int32_t cameraX = 0, cameraY = 0, cameraZ = 0;
    std::array<float, 9> cameraMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1}; // rows of the camera rotation
    float rollCos = 1, rollSin = 0;

    // The frame's triangles; the list grows when a frame holds more than the view's capacity.
    std::vector<RenderTriangle> triangles;
    std::vector<SortKey> sortKeys;
    std::vector<SortKey> sortScratch; // twice as long: room for the radix sort's passes
    // The triangles to draw, set up, in drawing order; as long as `triangles`.
    std::vector<TriangleSetup> drawList;
    // While a frame is built the number of triangles; RenderScene turns it into the last index
    // (-1 when empty), which PickFace and the editor's outline then use.
    std::int32_t triangleCount = 0;

    std::array<Light, MaxLights> lights{};
    std::int32_t lastLight = -1;

    // How many threads draw a frame, each taking bands of rows: 0 one per processor, 1 the
    // calling thread alone (SetRenderThreads). The helpers start with the first frame that
    // needs them. One per processor by default: on an idle two-processor machine the bands
    // draw a 2,000-face frame about a third faster and a 20,000-face one about a fifth (the
    // geometry, lighting and ordering stay on the calling thread); a busy machine gains little.
    int renderThreads = 0;
    // The colour ClearScreen filled the screen with, -1 once anything was drawn on it since.
    std::int32_t clearedTo = -1;
    // The frame the bands draw: the first drawItems entries of drawList, rowsPerBand rows a band,
    // over a screen cleared to bandBackground. Set only while no helper holds a band.
    std::int32_t drawItems = 0;
    std::int32_t rowsPerBand = 1;
    std::uint8_t bandBackground = 0;
    SharedGeometry shared;

    // The rasteriser's per-view tables, made by SetView: the eye ray through every column,
    // (X - centreX) x 256 div focalX, and through every row, (centreY - y) x 256 div focalY;
    // and floor(2^32 / n) + 1 for every segment length n up to spanStep (see RasteriserSpans.h).
    std::vector<std::int32_t> rayX, rayY;
    std::vector<std::int64_t> segmentReciprocal;
    // The view the tables were made for; the rasteriser makes them again when a field changed
    // (the editor sets its focal factors by hand after a resize).
    std::array<std::int32_t, 7> tablesMadeFor{};

    // Last, so that it goes first: a helper still drawing an earlier frame reads the fields above
    // until it ends.
    std::unique_ptr<RenderThreads> threads;
};
