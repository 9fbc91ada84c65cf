// A large object drawn with the helper threads: its points, then its faces, each in pieces
// (SharedGeometry lays out the blocks the pieces go to), the pieces' triangles joining the
// frame's list in order, so that the list is the same whatever the number of threads.
#include "DrawShared.h"

#include "Arithmetic32.h"
#include "ObjectTriangles.h"
#include "RenderHelpers.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

TransformedPoints pointsIn(std::uint8_t* block, std::size_t room)
{
    auto* const base = reinterpret_cast<i32*>(block);
    return {base, base + room, base + 2 * room, base + 3 * room, base + 4 * room};
}

RenderTriangle* roomIn(std::uint8_t* block) { return reinterpret_cast<RenderTriangle*>(block); }

i32* countsIn(std::uint8_t* block, std::size_t faces)
{
    return reinterpret_cast<i32*>(block + 2 * faces * sizeof(RenderTriangle));
}

void transformPiece(void* data, int piece, std::uint8_t* copy, BandWatch* watch)
{
    SharedGeometry& shared = static_cast<RenderContext*>(data)->shared;
    const ObjectGeometry& g = shared.object;
    const TransformedPoints out = pointsIn(copy != nullptr ? copy : shared.points.data(), shared.pointRoom);
    const auto [first, last] = PieceItems(g.points, shared.pieces, piece);
    TransformPoints(g, first, last, watch, out);
}

void copyPoints(void* data, int piece, const std::uint8_t* from)
{
    if (from == nullptr)
        return; // transformed in place
    SharedGeometry& shared = static_cast<RenderContext*>(data)->shared;
    const auto [first, last] = PieceItems(shared.object.points, shared.pieces, piece);
    const std::size_t room = shared.pointRoom * sizeof(i32);
    for (std::size_t array = 0; array < 5; ++array) {
        const std::size_t at = array * room + first * sizeof(i32);
        std::memcpy(shared.points.data() + at, from + at, (last - first) * sizeof(i32));
    }
}

void facesPiece(void* data, int piece, std::uint8_t* copy, BandWatch* watch)
{
    SharedGeometry& shared = static_cast<RenderContext*>(data)->shared;
    const ObjectGeometry& g = shared.object;
    const TransformedPoints points = pointsIn(shared.points.data(), shared.pointRoom);
    std::uint8_t* const block = copy != nullptr ? copy : shared.triangles.data();
    const auto [first, last] = PieceItems(g.faceCount, shared.pieces, piece);
    i32 count = 0;
    if (AppendFaces(g, points, first, last, watch, roomIn(block) + 2 * first, count))
        countsIn(block, g.faceCount)[piece] = count;
}

// Appends the piece's triangles to the frame's list, in turn. The list may grow here without
// waiting for helpers: no helper reads it while it draws an object's pieces, and none holds an
// earlier frame's draw list (the object is shared only when they are all ready).
void appendPiece(void* data, int piece, const std::uint8_t* from)
{
    RenderContext& context = *static_cast<RenderContext*>(data);
    const SharedGeometry& shared = context.shared;
    std::uint8_t* const block = from != nullptr ? const_cast<std::uint8_t*>(from) : context.shared.triangles.data();
    const std::size_t faces = shared.object.faceCount;
    const auto first = PieceItems(faces, shared.pieces, piece).first;
    const auto count = static_cast<std::size_t>(countsIn(block, faces)[piece]);
    if (count == 0)
        return;
    context.triangleCount = std::max(context.triangleCount, 0);
    const auto at = static_cast<std::size_t>(context.triangleCount);
    while (at + count > context.triangles.size())
        GrowTriangleList(context);
    std::memcpy(context.triangles.data() + at, roomIn(block) + 2 * first, count * sizeof(RenderTriangle));
    context.triangleCount += static_cast<i32>(count);
}

template <typename T>
void copyInto(std::vector<T>& to, const std::vector<T>& from, std::size_t count)
{
    if (to.size() < count)
        to.resize(count);
    std::copy(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(count), to.begin());
}

} // namespace

void DrawShared(RenderContext& context, RenderThreads& threads, ObjectGeometry g, const Object3D& object)
{
    SharedGeometry& shared = context.shared;
    copyInto(shared.x, object.x, g.points);
    copyInto(shared.y, object.y, g.points);
    copyInto(shared.z, object.z, g.points);
    copyInto(shared.faces, object.faces, g.faceCount);
    g.x = shared.x.data(), g.y = shared.y.data(), g.z = shared.z.data();
    g.faces = shared.faces.data();
    shared.object = g;
    shared.pointRoom = g.points;
    const std::size_t pointBytes = 5 * g.points * sizeof(i32);
    if (shared.points.size() < pointBytes)
        shared.points.resize(pointBytes);
    shared.pieces = PiecesFor(threads, g.points, ItemsBetweenLooks);
    threads.run(shared.pieces, pointBytes, {transformPiece, copyPoints, &context});

    const TransformedPoints points = pointsIn(shared.points.data(), shared.pointRoom);
    if (!threads.ready()) {
        // A helper kept a piece of the points: the calling thread works through the faces alone,
        // leaving everything that helper reads as it was.
        AppendFaces(g, points, context);
        return;
    }
    shared.pieces = PiecesFor(threads, g.faceCount, ItemsBetweenLooks);
    const std::size_t faceBytes = 2 * g.faceCount * sizeof(RenderTriangle) + std::size_t(shared.pieces) * sizeof(i32);
    if (shared.triangles.size() < faceBytes)
        shared.triangles.resize(faceBytes);
    threads.run(shared.pieces, faceBytes, {facesPiece, appendPiece, &context});
}
