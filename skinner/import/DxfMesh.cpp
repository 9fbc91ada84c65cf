#include "DxfMesh.h"

#include "DxfColours.h"
#include "DxfPairs.h"
#include "Errors.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <vector>

namespace {

struct Field {
    int code;
    std::string_view value;
    std::int64_t line;
};

// One entity, table entry or marker: what a group code 0 starts, with its fields.
struct Record {
    std::string type;
    std::int64_t line = 0;
    std::vector<Field> fields;

    const Field* find(int code) const
    {
        for (const Field& f : fields)
            if (f.code == code)
                return &f;
        return nullptr;
    }
};

std::string upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

// An affine transform: out = m * (x, y, z, 1).
struct Transform {
    std::array<std::array<double, 4>, 3> m{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};

    MeshPoint apply(const MeshPoint& p) const
    {
        MeshPoint out;
        for (int r = 0; r < 3; ++r)
            out[r] = m[r][0] * p[0] + m[r][1] * p[1] + m[r][2] * p[2] + m[r][3];
        return out;
    }
    Transform then(const Transform& inner) const // this after inner
    {
        Transform out;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                out.m[r][c] = m[r][0] * inner.m[0][c] + m[r][1] * inner.m[1][c] + m[r][2] * inner.m[2][c] +
                              (c == 3 ? m[r][3] : 0);
        return out;
    }
};

// What an entity's colour says before it is resolved.
struct ColourSpec {
    enum Kind { ByLayer, ByBlock, Given } kind = ByLayer;
    MeshColour colour{};
};

struct Layer {
    MeshColour colour{255, 255, 255};
};

// Where entities are being read: the placement, and what BYBLOCK and layer 0 stand for.
struct Context {
    Transform transform;
    MeshColour blockColour{255, 255, 255};
    std::string blockLayer; // empty at the top level
    int depth = 0;
};

constexpr int DeepestBlock = 32; // blocks placing blocks deeper than this are a loop
// Far more than an object can hold (65,536 faces), yet few enough to hold in memory: blocks
// placing blocks can multiply a small file's triangles without end.
constexpr std::size_t MostTriangles = 1000000;
// The same for placements: blocks that place nothing but each other would otherwise be walked
// without end (31 blocks each placing the next three times: 3^31 placements in a 4 KB file).
constexpr std::size_t MostPlacements = 100000;

class DxfMeshReader {
public:
    DxfMeshReader(std::string_view text, const std::string& name)
        : name_(name)
    {
        split(text);
    }

    MeshSoup read()
    {
        for (const Record& r : tables_)
            if (r.type == "LAYER")
                if (const Field* layerName = r.find(2))
                    layers_[upper(layerName->value)] = Layer{colourOf(r, {255, 255, 255})};
        collectBlocks();
        readEntities(entities_, Context{});
        if (soup_.triangles.empty())
            throw FormatError(name_ + " holds no 3D face, polyface mesh, polygon mesh, MESH or placed block to import");
        return std::move(soup_);
    }

private:
    [[noreturn]] void fail(std::int64_t line, const std::string& why) const
    {
        throw FormatError(name_ + ", line " + std::to_string(line) + ": " + why);
    }

    double number(const Field& f) const
    {
        const std::optional<double> value = DxfReal(f.value);
        if (!value || !std::isfinite(*value))
            fail(f.line, "\"" + std::string(f.value.substr(0, 40)) + "\" is not a number");
        return *value;
    }
    double number(const Record& r, int code, double fallback) const
    {
        const Field* f = r.find(code);
        return f ? number(*f) : fallback;
    }
    long long whole(const Field& f) const
    {
        const double value = number(f);
        if (value != std::floor(value) || std::fabs(value) > 1e15)
            fail(f.line, "\"" + std::string(f.value.substr(0, 40)) + "\" is not a whole number");
        return static_cast<long long>(value);
    }
    long long whole(const Record& r, int code, long long fallback) const
    {
        const Field* f = r.find(code);
        return f ? whole(*f) : fallback;
    }
    MeshPoint point(const Record& r, int first) const
    {
        return {number(r, 10 + first, 0), number(r, 20 + first, 0), number(r, 30 + first, 0)};
    }

    // Pairs into records, sorted by section: table entries, blocks, entities.
    void split(std::string_view text)
    {
        DxfPairs pairs(text);
        DxfPair pair;
        std::vector<Record>* section = nullptr;
        bool sectionNameNext = false;
        Record* current = nullptr;
        while (pairs.next(pair)) {
            if (pair.code == 0) {
                current = nullptr;
                sectionNameNext = pair.value == "SECTION";
                if (pair.value == "ENDSEC" || pair.value == "SECTION" || pair.value == "EOF") {
                    section = nullptr;
                    continue;
                }
                if (section) {
                    section->push_back({upper(pair.value), pair.valueLine, {}});
                    current = &section->back();
                }
                continue;
            }
            if (sectionNameNext && pair.code == 2) {
                sectionNameNext = false;
                const std::string sectionName = upper(pair.value);
                section = sectionName == "ENTITIES" ? &entities_
                          : sectionName == "BLOCKS" ? &blocks_
                          : sectionName == "TABLES" ? &tables_
                                                    : nullptr;
                continue;
            }
            if (current)
                current->fields.push_back({pair.code, pair.value, pair.valueLine});
        }
    }

    struct Block {
        MeshPoint base{};
        std::vector<Record> records;
    };

    void collectBlocks()
    {
        Block* open = nullptr;
        for (Record& r : blocks_) {
            if (r.type == "BLOCK") {
                const Field* blockName = r.find(2);
                open = blockName ? &blockDefinitions_[upper(blockName->value)] : nullptr;
                if (open)
                    *open = Block{point(r, 0), {}};
            } else if (r.type == "ENDBLK") {
                open = nullptr;
            } else if (open) {
                open->records.push_back(std::move(r));
            }
        }
    }

    ColourSpec specOf(const Record& r) const
    {
        if (const Field* t = r.find(420)) {
            const long long rgb = whole(*t);
            return {ColourSpec::Given, {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)}};
        }
        const Field* c = r.find(62);
        if (!c)
            return {};
        const long long n = std::llabs(whole(*c)); // negative: a layer switched off, same colour
        if (n == 0)
            return {ColourSpec::ByBlock, {}};
        if (n >= 256)
            return {};
        return {ColourSpec::Given, DxfIndexColour(static_cast<int>(n))};
    }
    MeshColour colourOf(const Record& r, MeshColour fallback) const
    {
        const ColourSpec spec = specOf(r);
        return spec.kind == ColourSpec::Given ? spec.colour : fallback;
    }

    std::string layerOf(const Record& r, const Context& context) const
    {
        const Field* f = r.find(8);
        std::string layer = f ? upper(f->value) : "0";
        return layer == "0" && !context.blockLayer.empty() ? context.blockLayer : layer;
    }

    MeshColour resolve(const ColourSpec& spec, const Record& r, const Context& context) const
    {
        switch (spec.kind) {
        case ColourSpec::Given: return spec.colour;
        case ColourSpec::ByBlock: return context.blockColour;
        default: {
            const auto layer = layers_.find(layerOf(r, context));
            return layer == layers_.end() ? MeshColour{255, 255, 255} : layer->second.colour;
        }
        }
    }

    void addPolygon(const std::vector<MeshPoint>& corners, MeshColour colour, const Context& context)
    {
        if (soup_.triangles.size() + corners.size() > MostTriangles)
            throw FormatError(name_ + " makes more than " + std::to_string(MostTriangles) +
                              " triangles (blocks placed within blocks multiply them)");
        for (std::size_t i = 2; i < corners.size(); ++i) {
            MeshTriangle t;
            t.corners = {context.transform.apply(corners[0]), context.transform.apply(corners[i - 1]),
                         context.transform.apply(corners[i])};
            t.vertexColour = colour;
            soup_.triangles.push_back(t);
        }
    }

    void read3dFace(const Record& r, const Context& context)
    {
        std::vector<MeshPoint> corners{point(r, 0), point(r, 1), point(r, 2)};
        const MeshPoint fourth = r.find(13) ? point(r, 3) : corners[2];
        if (fourth != corners[2])
            corners.push_back(fourth);
        addPolygon(corners, resolve(specOf(r), r, context), context);
    }

    // A POLYLINE and the VERTEX records after it, up to SEQEND; answers the index past them.
    std::size_t readPolyline(const std::vector<Record>& records, std::size_t at, const Context& context)
    {
        const Record& line = records[at];
        std::size_t end = at + 1;
        while (end < records.size() && records[end].type == "VERTEX")
            ++end;
        const long long flags = whole(line, 70, 0);
        const MeshColour colour = resolve(specOf(line), line, context);
        if (flags & 64) {
            std::vector<MeshPoint> points;
            for (std::size_t v = at + 1; v < end; ++v) {
                const Record& vertex = records[v];
                const long long kind = whole(vertex, 70, 0);
                if ((kind & 128) && (kind & 64)) {
                    points.push_back(point(vertex, 0));
                } else if (kind & 128) {
                    std::vector<MeshPoint> corners;
                    for (int code = 71; code <= 74; ++code) {
                        const Field* f = vertex.find(code);
                        const long long n = f ? std::llabs(whole(*f)) : 0;
                        if (n == 0)
                            continue;
                        if (n > static_cast<long long>(points.size()))
                            fail(f->line, "a polyface face names point " + std::to_string(n) + " of " +
                                              std::to_string(points.size()));
                        corners.push_back(points[n - 1]);
                    }
                    const ColourSpec spec = specOf(vertex);
                    addPolygon(corners, spec.kind == ColourSpec::ByLayer ? colour : resolve(spec, vertex, context), context);
                }
            }
        } else if (flags & 16) {
            const long long m = whole(line, 71, 0), n = whole(line, 72, 0);
            const long long count = static_cast<long long>(end - at - 1);
            if (m < 1 || n < 1 || m > count || n > count || m * n != count)
                fail(line.line, "a polygon mesh of " + std::to_string(m) + " x " + std::to_string(n) + " has " +
                                    std::to_string(end - at - 1) + " points");
            auto p = [&](long long i, long long j) { return point(records[at + 1 + (i % m) * n + (j % n)], 0); };
            for (long long i = 0; i + 1 < m + ((flags & 1) ? 1 : 0); ++i)
                for (long long j = 0; j + 1 < n + ((flags & 32) ? 1 : 0); ++j)
                    addPolygon({p(i, j), p(i, j + 1), p(i + 1, j + 1), p(i + 1, j)}, colour, context);
        }
        return end < records.size() && records[end].type == "SEQEND" ? end + 1 : end;
    }

    void readMesh(const Record& r, const Context& context)
    {
        std::vector<MeshPoint> points;
        std::vector<long long> faceList;
        enum { Before, Points, Faces, After } stage = Before;
        long long wanted = 0;
        for (std::size_t i = 0; i < r.fields.size(); ++i) {
            const Field& f = r.fields[i];
            if (f.code == 92 && stage == Before) {
                stage = Points;
            } else if (f.code == 10 && stage == Points) {
                MeshPoint p{number(f), 0, 0};
                if (i + 2 < r.fields.size() && r.fields[i + 1].code == 20 && r.fields[i + 2].code == 30)
                    p[1] = number(r.fields[i + 1]), p[2] = number(r.fields[i + 2]), i += 2;
                points.push_back(p);
            } else if (f.code == 93 && stage != After) {
                stage = Faces;
                wanted = whole(f);
            } else if (f.code == 90 && stage == Faces && static_cast<long long>(faceList.size()) < wanted) {
                faceList.push_back(whole(f));
            } else if (stage == Faces && f.code != 90) {
                stage = After;
            }
        }
        const MeshColour colour = resolve(specOf(r), r, context);
        for (std::size_t k = 0; k < faceList.size();) {
            const long long count = faceList[k++];
            if (count < 0 || count > static_cast<long long>(faceList.size() - k))
                fail(r.line, "a MESH face list is cut short");
            std::vector<MeshPoint> corners;
            for (long long c = 0; c < count; ++c) {
                const long long n = faceList[k++];
                if (n < 0 || n >= static_cast<long long>(points.size()))
                    fail(r.line, "a MESH face names point " + std::to_string(n) + " of " + std::to_string(points.size()));
                corners.push_back(points[n]);
            }
            addPolygon(corners, colour, context);
        }
    }

    void readInsert(const Record& r, const Context& context)
    {
        const Field* blockName = r.find(2);
        const auto block = blockName ? blockDefinitions_.find(upper(blockName->value)) : blockDefinitions_.end();
        if (block == blockDefinitions_.end())
            return;
        if (context.depth >= DeepestBlock)
            fail(r.line, "blocks place each other more than " + std::to_string(DeepestBlock) + " deep");
        if (++placements_ > MostPlacements)
            throw FormatError(name_ + " places blocks more than " + std::to_string(MostPlacements) +
                              " times (blocks placed within blocks multiply them)");
        const double sx = number(r, 41, 1), sy = number(r, 42, 1), sz = number(r, 43, 1);
        const double turn = number(r, 50, 0) * std::numbers::pi / 180;
        const double c = std::cos(turn), s = std::sin(turn);
        const MeshPoint at = point(r, 0), base = block->second.base;
        // Placed = at + turn(scale(p - base)).
        Transform place;
        place.m = {{{c * sx, -s * sy, 0, 0}, {s * sx, c * sy, 0, 0}, {0, 0, sz, 0}}};
        for (int row = 0; row < 3; ++row)
            place.m[row][3] = at[row] - (place.m[row][0] * base[0] + place.m[row][1] * base[1] + place.m[row][2] * base[2]);
        Context inner;
        inner.transform = context.transform.then(place);
        inner.blockColour = resolve(specOf(r), r, context);
        inner.blockLayer = layerOf(r, context);
        inner.depth = context.depth + 1;
        readEntities(block->second.records, inner);
    }

    void readEntities(const std::vector<Record>& records, const Context& context)
    {
        for (std::size_t i = 0; i < records.size();) {
            const Record& r = records[i];
            if (r.type == "POLYLINE") {
                i = readPolyline(records, i, context);
                continue;
            }
            if (r.type == "3DFACE")
                read3dFace(r, context);
            else if (r.type == "MESH")
                readMesh(r, context);
            else if (r.type == "INSERT")
                readInsert(r, context);
            ++i;
        }
    }

    std::string name_;
    std::size_t placements_ = 0;
    std::vector<Record> tables_, blocks_, entities_;
    std::map<std::string, Layer> layers_;
    std::map<std::string, Block> blockDefinitions_;
    MeshSoup soup_;
};

} // namespace

MeshSoup ReadDxfMesh(std::string_view text, const std::string& name)
{
    return DxfMeshReader(text, name).read();
}
