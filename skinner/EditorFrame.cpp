#include "EditorFrame.h"

#include "Angles.h"
#include "ColourTables.h"
#include "Palette.h"
#include "Renderer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

void MakeStartObject(Object3D& object)
{
    AllocateObject(object, 150000, 50000);
    object.lastPoint = 2;
    object.lastFace = 0;
    const std::int32_t points[3][3] = {{0, 0, 0}, {1, 1, 1}, {2, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        object.x[i] = points[i][0];
        object.y[i] = points[i][1];
        object.z[i] = points[i][2];
    }
    object.faces[0] = Face{};
    object.faces[0].p1 = 0;
    object.faces[0].p2 = 1;
    object.faces[0].p3 = 2;
    object.faces[0].faceType = FacePlain;
}

void SetBankPlaceholders(SkinnerBank& bank)
{
    bank.lastTexture = 0;
    bank.images[0] = std::make_unique<TextureImage>();
    bank.textures[0] = {0, 0, 0};
}

RenderBankLoaded LoadRenderBank(const std::string& bankPath, RenderContext& context)
{
    SkinnerBank& bank = context.bank;
    SettleRenderThreads(context); // helpers still drawing an earlier frame read the images and tables
    const SkinnerBankLoad load = LoadSkinnerBank(bankPath, bank);
    BuildShadeTable(bank.bankPalette, 0, 0, 0, *bank.shadeTable);
    // Shown purple from now on; the tables were made from the palette as loaded.
    bank.bankPalette.red[0] = 128;
    bank.bankPalette.green[0] = 0;
    bank.bankPalette.blue[0] = 128;
    SetColourTable(context.screen, bank.bankPalette);
    return {{NearestColour(bank.bankPalette, 255, 255, 255, 0, 255), NearestColour(bank.bankPalette, 0, 0, 0, 0, 255)},
            load.cache.writeError, load.imageCount, load.textureCount};
}

TexturesBeyondBank FindTexturesBeyondBank(const Object3D& object, std::int32_t lastTexture)
{
    TexturesBeyondBank beyond;
    for (std::size_t f = 0; f < object.faceCount(); ++f) {
        const Face& face = object.faces[f];
        if (face.faceType > FaceVirtual || face.texture <= lastTexture) // plain faces name colours
            continue;
        ++beyond.faces;
        beyond.highest = std::max<std::int32_t>(beyond.highest, face.texture);
    }
    return beyond;
}

namespace {

constexpr std::int32_t NearestDistance = 20;

std::int32_t clampToView(double value) { return static_cast<std::int32_t>(std::clamp(std::lround(value), -1000000000L, 1000000000L)); }

} // namespace

ObjectFit FitObjectInView(const Object3D& object, const RenderContext& context)
{
    constexpr std::int32_t HeightBarEnd = 512;
    constexpr double ViewShare = 0.9;
    const std::size_t points = object.pointCount();
    const auto [lowest, highest] = std::minmax_element(object.y.begin(), object.y.begin() + static_cast<std::ptrdiff_t>(points));
    const double middle = (double(*lowest) + double(*highest)) / 2;
    ObjectFit fit;
    fit.height = static_cast<std::int32_t>(std::clamp(std::lround(-middle), long{-HeightBarEnd}, long{HeightBarEnd}));
    double radius = 0;
    for (std::size_t i = 0; i < points; ++i) {
        const double dy = object.y[i] - middle;
        radius = std::max(radius, std::sqrt(double(object.x[i]) * object.x[i] + dy * dy + double(object.z[i]) * object.z[i]));
    }
    radius += std::abs(middle + fit.height); // what the height bar could not bring to the eye
    // How far off the axis a point may be, per unit of depth, and still show.
    const double slope = ViewShare * std::min(context.screen.width / 2.0 / std::max<int>(context.focalX, 1),
                                              context.screen.height / 2.0 / std::max<int>(context.focalY, 1));
    const double distance = radius + radius / std::max(slope, 0.01);
    fit.distance = static_cast<std::int32_t>(std::clamp(std::ceil(distance), 1.0, 1e9));
    return fit;
}

EditorView FrameInView(const Object3D& object, const FaceFlags* faces, const EditorView& view,
                       const RenderContext& context)
{
    // The points the faces use (virtual faces stand at their first point).
    const std::size_t points = object.pointCount();
    std::vector<std::uint8_t> used(points, faces == nullptr ? 1 : 0);
    if (faces != nullptr)
        for (std::size_t f = 0; f < std::min(faces->size(), object.faceCount()); ++f) {
            const Face& face = object.faces[f];
            if ((*faces)[f] == 0)
                continue;
            for (const std::uint16_t p : {face.p1, face.p2, face.p3})
                if (p < points && (p == face.p1 || face.faceType != FaceVirtual))
                    used[p] = 1;
        }
    const RotationMatrix turn = MakeRotation(view.yaw, view.pitch, view.roll);
    std::vector<IntPoint> turned;
    double low[3] = {1e18, 1e18, 1e18}, high[3] = {-1e18, -1e18, -1e18};
    for (std::size_t p = 0; p < points; ++p) {
        if (used[p] == 0)
            continue;
        const IntPoint t = Rotate(turn, object.x[p], object.y[p], object.z[p]);
        turned.push_back(t);
        const double c[3] = {double(t.x), double(t.y), double(t.z)};
        for (int k = 0; k < 3; ++k)
            low[k] = std::min(low[k], c[k]), high[k] = std::max(high[k], c[k]);
    }
    if (turned.empty())
        return view;
    const double middle[2] = {(low[0] + high[0]) / 2, (low[1] + high[1]) / 2};
    // Near enough that the farthest-out point, across or up, shows at nine tenths of the view's edge.
    const double slopeX = 0.9 * context.screen.width / 2.0 / std::max<int>(context.focalX, 1);
    const double slopeY = 0.9 * context.screen.height / 2.0 / std::max<int>(context.focalY, 1);
    double distance = NearestDistance - low[2];
    for (const IntPoint& t : turned)
        distance = std::max(distance, std::max(std::abs(t.x - middle[0]) / std::max(slopeX, 0.01),
                                               std::abs(t.y - middle[1]) / std::max(slopeY, 0.01)) - t.z);
    EditorView framed = view;
    framed.across = clampToView(-middle[0]);
    framed.height = clampToView(-middle[1]);
    framed.distance = std::max(NearestDistance, clampToView(std::ceil(distance)));
    return framed;
}

EditorView ZoomToward(const EditorView& view, double factor, int x, int y, const RenderContext& context)
{
    EditorView zoomed = view;
    zoomed.distance = std::max(NearestDistance, clampToView(view.distance * factor));
    const double moved = double(zoomed.distance) - view.distance;
    zoomed.across = clampToView(view.across + double(x - context.centreX) * moved / std::max<int>(context.focalX, 1));
    zoomed.height = clampToView(view.height + double(context.centreY - y) * moved / std::max<int>(context.focalY, 1));
    return zoomed;
}

void DrawEditorFrame(RenderContext& context, const Object3D& object, const EditorView& view, TriangleDrawer draw)
{
    ClearScreen(context, 0);
    SetCamera(context, 0, 0, 0, 0, 0, 0);
    AddLight(context, 0, 0, view.distance, 100000);
    DrawObject(context, object, view.across, view.height, view.distance, view.yaw, view.pitch, view.roll, 1, 0, 0);
    RenderScene(context, draw);
}

bool OutlineFace(RenderContext& context, std::int32_t face, const HighlightColours& colours,
                 std::uint8_t& highlightColour)
{
    if (face < 0)
        return false;
    const RenderTriangle* found = nullptr;
    const std::int64_t last = std::min<std::int64_t>(context.triangleCount, std::int64_t(context.triangles.size()) - 1);
    for (std::int64_t i = 0; i <= last; ++i)
        if (context.triangles[static_cast<std::size_t>(i)].faceIndex == face)
            found = &context.triangles[static_cast<std::size_t>(i)];
    if (found == nullptr)
        return false;
    highlightColour = highlightColour == colours.white ? colours.black : colours.white;
    const RenderTriangle& t = *found;
    // Screen points of faces cut at the near distance can lie far outside the view; beyond
    // 2^24 pixels (far past any object the renderer handles) an edge would take seconds to walk
    // and overflow the line's arithmetic, so it is left out.
    constexpr std::int32_t reach = 1 << 24;
    auto near = [&](std::int32_t v) { return v > -reach && v < reach; };
    if (!near(t.sx1) || !near(t.sy1) || !near(t.sx2) || !near(t.sy2) || !near(t.sx3) || !near(t.sy3))
        return true;
    DisplayImage& screen = context.screen;
    // Three times the three edges: as they are, one column to the left, then also one row up.
    for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{-1, 0}, std::pair{-1, -1}}) {
        DrawLine(screen, t.sx1 + dx, t.sy1 + dy, t.sx2 + dx, t.sy2 + dy, highlightColour);
        DrawLine(screen, t.sx3 + dx, t.sy3 + dy, t.sx2 + dx, t.sy2 + dy, highlightColour);
        DrawLine(screen, t.sx1 + dx, t.sy1 + dy, t.sx3 + dx, t.sy3 + dy, highlightColour);
    }
    return true;
}
