// The view, the frame's camera and lights, lighting and ordering the frame, picking.
#include "Renderer.h"

#include "Angles.h"
#include "Arithmetic32.h"
#include "DepthSort.h"
#include "Errors.h"
#include "Rasteriser.h"
#include "RenderHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace {

constexpr int DefaultCapacity = 100000;

// Light level at an eye-space point: with no lights the ambient; else each light adds
// 255 - min((d + 1) x 255 div radius, 255), d its distance rounded; clamped to 0..255.
i32 lightLevel(const RenderContext& context, i32 ambient, i32 x, i32 y, i32 z)
{
    if (context.lastLight < 0)
        return ambient;
    i64 level = ambient;
    for (int l = 0; l <= context.lastLight; ++l) {
        const Light& light = context.lights[l];
        // The squares are whole numbers; in doubles they stay exact for every distance the
        // renderer handles and cannot overflow beyond it.
        const double dx = double(x) - light.x, dy = double(y) - light.y, dz = double(z) - light.z;
        const i64 d = std::llrint(std::sqrt(dx * dx + dy * dy + dz * dz));
        // A light of radius 0 reaches nothing.
        const i64 v = light.radius == 0 ? 255 : std::min<i64>((d + 1) * 255 / light.radius, 255);
        level += 255 - v;
    }
    return static_cast<i32>(std::clamp<i64>(level, 0, 255));
}

// Whether triangle `t` goes to the rasteriser, with the texture image it draws with (null for
// a plain one): a textured triangle whose slot is empty or whose number lies outside the bank
// has nothing to draw.
bool listed(const SkinnerBank& bank, const RenderTriangle& t, const std::uint8_t*& texture)
{
    texture = nullptr;
    if (t.faceType == FacePlain)
        return true;
    i32 image = t.texture;
    if (t.direct == 0)
        image = t.texture >= 0 && t.texture < SkinnerBank::Capacity ? bank.textures[t.texture].current : -1;
    texture = bank.image(image);
    return texture != nullptr;
}

// Hands each listed triangle, in drawing order, to visit(index, triangle, texture). Answers the
// last one listed, drawing or not (-1 when none).
template <typename Visit>
i32 forEachListed(const RenderContext& context, Visit visit)
{
    i32 lastListed = -1;
    for (i32 i = 0; i <= context.triangleCount; ++i) {
        const i32 index = context.sortKeys[static_cast<std::size_t>(i)].index;
        const RenderTriangle& t = context.triangles[static_cast<std::size_t>(index)];
        const std::uint8_t* texture = nullptr;
        if (!listed(context.bank, t, texture))
            continue;
        lastListed = index;
        visit(index, t, texture);
    }
    return lastListed;
}

// Sets up the triangles that draw anything, in drawing order, into the draw list, once for all
// the bands. Answers their count; `lastListed` becomes the last triangle handed to the
// rasteriser, drawing or not (-1 when none).
i32 listDrawing(RenderContext& context, i32& lastListed)
{
    i32 items = 0;
    lastListed = forEachListed(context, [&](i32 index, const RenderTriangle& t, const std::uint8_t* texture) {
        TriangleSetup& setup = context.drawList[static_cast<std::size_t>(items)];
        if (PrepareTriangle(context, t, texture, setup)) {
            setup.index = index;
            ++items;
        }
    });
    return items;
}

// The calling thread alone: each triangle set up where it is drawn, the draw list untouched (a
// helper that has not let go of an earlier frame may still read it). Answers the last triangle
// handed to the rasteriser, as forEachListed.
i32 drawAlone(RenderContext& context)
{
    TriangleSetup setup;
    return forEachListed(context, [&](i32, const RenderTriangle& t, const std::uint8_t* texture) {
        if (PrepareTriangle(context, t, texture, setup))
            DrawPreparedRows(context, setup, 0, context.maxY);
    });
}

// Each thread takes bands of rows in turn and draws in them every triangle that reaches them, in
// drawing order: a band's pixels come out as if the whole frame were drawn by one thread.
// Several pieces a thread (bands, or points and faces of an object) even out faces spread
// unevenly over the screen, or over the object's list.
constexpr int PiecesPerThread = 4;
// A helper tells how far it got, and looks whether its band was taken back, every so many
// triangles of the draw list.
constexpr std::size_t TrianglesBetweenLooks = 16;

// Rows top..bottom - 1 of band `band`, within the rows drawn (0..maxY - 1).
std::pair<i32, i32> bandRows(const RenderContext& context, int band)
{
    const i32 top = band * context.rowsPerBand;
    return {top, std::min<i32>(top + context.rowsPerBand, context.maxY)};
}

// The bytes of rows top..bottom - 1 in a block laid out as the screen's pixels (stored bottom
// up: row y at memory row maxY - y).
std::pair<std::size_t, std::size_t> bandBytes(const RenderContext& context, i32 top, i32 bottom)
{
    const auto width = static_cast<std::size_t>(context.screen.width);
    return {static_cast<std::size_t>(context.maxY - (bottom - 1)) * width, static_cast<std::size_t>(bottom - top) * width};
}

void drawBand(void* data, int band, std::uint8_t* pixels, BandWatch* watch)
{
    RenderContext& context = *static_cast<RenderContext*>(data);
    const auto [top, bottom] = bandRows(context, band);
    if (top >= bottom)
        return;
    if (pixels != nullptr) {
        // A helper's copy: the band starts as the frame's screen did, cleared.
        const auto [first, size] = bandBytes(context, top, bottom);
        std::memset(pixels + first, context.bandBackground, size);
    }
    const TriangleSetup* const list = context.drawList.data();
    WorkThrough(0, static_cast<std::size_t>(context.drawItems), watch, TrianglesBetweenLooks, [&](std::size_t i) {
        const TriangleSetup& setup = list[i];
        if (setup.bottom > top && setup.top < bottom)
            DrawPreparedRows(context, setup, top, bottom, pixels);
    });
}

void copyBand(void* data, int band, const std::uint8_t* from)
{
    if (from == nullptr)
        return; // drawn into the frame's screen
    RenderContext& context = *static_cast<RenderContext*>(data);
    const auto [top, bottom] = bandRows(context, band);
    if (top >= bottom)
        return;
    const auto [first, size] = bandBytes(context, top, bottom);
    std::memcpy(context.screen.pixels.data() + first, from + first, size);
}

int threadCount(const RenderContext& context)
{
    if (context.renderThreads > 0)
        return context.renderThreads;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 64u));
}

// The helpers for this frame's bands, or null when the calling thread draws it alone: besides
// ReadyHelpers' reasons, a view of one row or a screen not just cleared (a helper's band starts
// from the clear colour).
RenderThreads* helpersFor(RenderContext& context)
{
    if (context.maxY < 2 || context.clearedTo < 0)
        return nullptr;
    return ReadyHelpers(context);
}

void drawBands(RenderContext& context, RenderThreads& threads, i32 items)
{
    const i32 rows = context.maxY; // rows 0..maxY - 1 are drawn
    const int bands = PiecesFor(threads, static_cast<std::size_t>(rows), 1);
    context.rowsPerBand = (rows + bands - 1) / bands;
    context.drawItems = items;
    context.bandBackground = static_cast<std::uint8_t>(context.clearedTo);
    threads.run((rows + context.rowsPerBand - 1) / context.rowsPerBand, context.screen.pixels.size(),
                {drawBand, copyBand, &context});
}

} // namespace

RenderThreads* ReadyHelpers(RenderContext& context)
{
    int threads = threadCount(context);
    if (threads > 1 && (!context.threads || context.threads->helpers() != threads - 1)) {
        context.threads.reset();
        try {
            context.threads = std::make_unique<RenderThreads>(threads - 1);
        } catch (const std::system_error&) {
            threads = 1; // the system gives no more threads: the calling thread works alone
        }
    }
    if (threads == 1 || !context.threads->ready())
        return nullptr;
    return context.threads.get();
}

int PiecesFor(const RenderThreads& threads, std::size_t items, std::size_t smallest)
{
    const std::size_t wanted = static_cast<std::size_t>(threads.helpers() + 1) * PiecesPerThread;
    return static_cast<int>(std::clamp<std::size_t>(std::min(wanted, items / std::max<std::size_t>(smallest, 1)), 1,
                                                    RenderThreads::MaxBands));
}

void ResizeView(RenderContext& context, int width, int height)
{
    if (width < 12 || height < 2)
        throw OrmelError("A view must be at least 12 x 2 pixels, not " + std::to_string(width) + " x " +
                         std::to_string(height));
    SettleRenderThreads(context); // helpers still drawing an earlier frame read the screen's size
    DisplayImage screen;
    if (!CreateImage(screen, width, height))
        throw OrmelError("Cannot make a view of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    SetColourTable(screen, context.bank.bankPalette);
    context.screen = std::move(screen);
    SetView(context, width / 2, height / 2, width * 128 / 320, height * 128 / 240, width / 10, 10, DefaultCapacity);
}

void SetView(RenderContext& context, int centreX, int centreY, int focalX, int focalY, int spanStep, int nearZ,
             int capacity)
{
    if (centreX < 1 || centreY < 1 || centreX > 32767 || centreY > 32767 || focalX < 1 || focalY < 1 ||
        focalX > 65535 || focalY > 65535 || spanStep < 1 || capacity < 1)
        throw OrmelError("The view's settings are out of range");
    SettleRenderThreads(context);
    context.centreX = static_cast<std::uint16_t>(centreX);
    context.centreY = static_cast<std::uint16_t>(centreY);
    context.focalX = static_cast<std::uint16_t>(focalX);
    context.focalY = static_cast<std::uint16_t>(focalY);
    context.spanStep = spanStep;
    context.nearZ = nearZ;
    context.maxX = static_cast<std::uint16_t>(2 * centreX - 1);
    context.maxY = static_cast<std::uint16_t>(2 * centreY - 1);
    context.triangles.assign(static_cast<std::size_t>(capacity), RenderTriangle{});
    context.sortKeys.assign(static_cast<std::size_t>(capacity), SortKey{});
    context.sortScratch.assign(2 * static_cast<std::size_t>(capacity), SortKey{});
    context.drawList.assign(static_cast<std::size_t>(capacity), TriangleSetup{});
    context.triangleCount = 0;
    PrepareRasteriser(context);
}

void ClearScreen(RenderContext& context, std::uint8_t colour)
{
    std::memset(context.screen.pixels.data(), colour, context.screen.pixels.size());
    context.clearedTo = colour;
}

void SetCamera(RenderContext& context, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw,
               std::int32_t pitch, std::int32_t roll)
{
    context.cameraX = x;
    context.cameraY = y;
    context.cameraZ = z;
    context.cameraMatrix = MakeRotation(yaw, pitch, roll);
    context.rollCos = AngleCos(roll);
    context.rollSin = AngleSin(roll);
    context.lastLight = -1;
    context.triangleCount = 0;
}

void AddLight(RenderContext& context, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t radius)
{
    if (context.lastLight >= RenderContext::MaxLights - 1)
        return;
    context.lights[++context.lastLight] = {x, y, z, radius};
}

void RenderScene(RenderContext& context, TriangleDrawer draw)
{
    context.triangleCount = std::max(context.triangleCount, 0) - 1;
    const i32 last = context.triangleCount;
    if (last < 0)
        return;

    for (int l = 0; l <= context.lastLight; ++l) {
        Light& light = context.lights[l];
        const IntPoint eye = Rotate(context.cameraMatrix, Wrap(i64(light.x) - context.cameraX),
                                    Wrap(i64(light.y) - context.cameraY), Wrap(i64(light.z) - context.cameraZ));
        light.x = eye.x;
        light.y = eye.y;
        light.z = eye.z;
    }

    for (i32 i = 0; i <= last; ++i) {
        RenderTriangle& t = context.triangles[i];
        const i32 ambient = t.light1;
        t.light1 = lightLevel(context, ambient, t.x1, t.y1, t.z1);
        t.light2 = lightLevel(context, ambient, t.x2, t.y2, t.z2);
        t.light3 = lightLevel(context, ambient, t.x3, t.y3, t.z3);
        context.sortKeys[i] = {i, t.depthKey};
    }
    SortFrameByDepth(std::span(context.sortKeys).first(static_cast<std::size_t>(last) + 1), context.sortScratch,
                     context.triangles);

    if (draw != nullptr && draw != DrawTriangle) {
        forEachListed(context, [&](i32 index, const RenderTriangle&, const std::uint8_t* texture) {
            draw(context, index, texture);
        });
    } else {
        EnsureRasteriserTables(context);
        i32 lastListed = -1;
        if (RenderThreads* threads = helpersFor(context)) {
            const i32 items = listDrawing(context, lastListed);
            if (items > 0)
                drawBands(context, *threads, items);
        } else {
            lastListed = drawAlone(context);
        }
        // The precision factor of the last triangle handed to the rasteriser, as DrawTriangle
        // leaves it.
        if (lastListed >= 0)
            context.subdivision = TriangleSubdivision(context.triangles[static_cast<std::size_t>(lastListed)]);
    }
    context.clearedTo = -1;
    context.lastLight = -1;
}

PickedFace PickFace(const RenderContext& context, int x, int y)
{
    PickedFace answer;
    // Every covering triangle counts, however far: no depth key is too large to be picked.
    i64 best = std::numeric_limits<i64>::max();
    const i64 last = std::min<i64>(context.triangleCount, static_cast<i64>(context.triangles.size()) - 1);
    for (i64 i = 0; i <= last; ++i) {
        const RenderTriangle& t = context.triangles[static_cast<std::size_t>(i)];
        const i64 key = Abs64(t.depthKey);
        if (t.objectId < 0 || key > best)
            continue;
        const double e1x = double(t.sx2) - t.sx1, e1y = double(t.sy2) - t.sy1;
        const double e2x = double(t.sx3) - t.sx1, e2y = double(t.sy3) - t.sy1;
        const double wx = double(x) - t.sx1, wy = double(y) - t.sy1;
        const double denominator = e1x * e2y - e1y * e2x;
        if (!(std::fabs(denominator) > 0.001))
            continue;
        const double s = (wx * e2y - wy * e2x) / denominator;
        const double u = (e1x * wy - e1y * wx) / denominator;
        if (s >= 0 && u >= 0 && s + u <= 1) {
            answer = {t.objectId, t.faceIndex};
            best = key;
        }
    }
    return answer;
}

void SetRenderThreads(RenderContext& context, int threads)
{
    context.renderThreads = std::max(threads, 0);
}

void SettleRenderThreads(RenderContext& context)
{
    if (context.threads)
        context.threads->settle();
}

void AnimateTextures(RenderContext& context)
{
    AnimateTextures(context.bank);
}
