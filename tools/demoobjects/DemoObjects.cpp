#include "DemoObjects.h"

#include <array>
#include <cmath>
#include <numbers>
#include <sstream>

namespace {

struct Point {
    double x, y, z;
};

// Collects points and faces, then makes the object.
class MeshBuilder {
public:
    std::uint16_t point(Point p)
    {
        x_.push_back(static_cast<std::int32_t>(std::lround(p.x)));
        y_.push_back(static_cast<std::int32_t>(std::lround(p.y)));
        z_.push_back(static_cast<std::int32_t>(std::lround(p.z)));
        return static_cast<std::uint16_t>(x_.size() - 1);
    }

    // A four-cornered face a, b, c, d given as seen from its front, a at the texture's top left,
    // b top right, c bottom right: two faces (a, b, c) and (c, d, a), the second turned half a
    // turn so that the texture lies whole across both.
    void quad(Point a, Point b, Point c, Point d, Face skin)
    {
        const std::uint16_t pa = point(a), pb = point(b), pc = point(c), pd = point(d);
        triangle(pa, pb, pc, skin, 0);
        triangle(pc, pd, pa, skin, 1);
    }

    void triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c, Face skin, std::int16_t mapping)
    {
        skin.p1 = a, skin.p2 = b, skin.p3 = c;
        skin.mapping = static_cast<std::int16_t>(skin.mapping ^ mapping);
        faces_.push_back(skin);
    }

    // A rectangle width x height that always faces the eye, standing at p.
    void sign(Point p, std::uint16_t width, std::uint16_t height, Face skin)
    {
        skin.faceType = FaceVirtual;
        skin.p1 = point(p), skin.p2 = width, skin.p3 = height;
        faces_.push_back(skin);
    }

    Object3D object() const
    {
        Object3D object;
        AllocateObject(object, static_cast<std::int32_t>(x_.size()) - 1, static_cast<std::int32_t>(faces_.size()) - 1);
        object.x = x_;
        object.y = y_;
        object.z = z_;
        object.faces = faces_;
        return object;
    }

private:
    std::vector<std::int32_t> x_, y_, z_;
    std::vector<Face> faces_;
};

Face textured(std::uint16_t texture, std::uint16_t type = FaceTextured)
{
    Face face;
    face.texture = texture;
    face.faceType = type;
    return face;
}

Face plain(std::uint16_t colour) { return textured(colour, FacePlain); }

// A box's four sides and top, seen from outside; x0 < x1, y0 < y1, z0 < z1 (z0 nearest the eye).
void box(MeshBuilder& mesh, double x0, double y0, double z0, double x1, double y1, double z1, Face skin)
{
    mesh.quad({x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}, {x0, y0, z0}, skin); // front
    mesh.quad({x1, y1, z1}, {x0, y1, z1}, {x0, y0, z1}, {x1, y0, z1}, skin); // back
    mesh.quad({x0, y1, z1}, {x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, skin); // left
    mesh.quad({x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {x1, y0, z0}, skin); // right
    mesh.quad({x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}, skin); // top
}

// A wall of square cells seen from outside: `topLeft` its top left corner, `across` one cell to
// the right, cells downwards 40 units each; skinOf(column, row) gives each cell's skin.
template <typename SkinOf>
void wall(MeshBuilder& mesh, Point topLeft, Point across, int columns, int rows, SkinOf skinOf)
{
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const Point a{topLeft.x + across.x * column, topLeft.y - 40.0 * row, topLeft.z + across.z * column};
            const Point b{a.x + across.x, a.y, a.z + across.z};
            mesh.quad(a, b, {b.x, b.y - 40, b.z}, {a.x, a.y - 40, a.z}, skinOf(column, row));
        }
    }
}

} // namespace

Object3D BuildHouse(const DemoSkins& skins)
{
    MeshBuilder mesh;
    // The garden: grass, seen from above.
    mesh.quad({-170, -100, 150}, {170, -100, 150}, {170, -100, -150}, {-170, -100, -150}, textured(skins.grass));

    // Brick walls of 40-unit cells, each cell one whole texture, so that the bricks keep one
    // size everywhere; the door and the windows take the place of cells rather than lying over
    // them (the painter's order cannot tell apart faces that lie one on another).
    const double left = -100, right = 100, front = -60, back = 60, eaves = 20;
    const Face bricks = textured(skins.bricks);
    wall(mesh, {left, eaves, front}, {40, 0, 0}, 5, 3, [&](int column, int row) {
        if (column == 2 && row == 2)
            return plain(70); // the door
        if ((column == 1 || column == 3) && row == 1)
            return textured(skins.tiles); // windows
        return bricks;
    });
    wall(mesh, {right, eaves, back}, {-40, 0, 0}, 5, 3, [&](int, int) { return bricks; });
    wall(mesh, {left, eaves, back}, {0, 0, -40}, 3, 3, [&](int, int) { return bricks; });
    wall(mesh, {right, eaves, front}, {0, 0, 40}, 3, 3, [&](int, int) { return bricks; });

    // Gable ends under the ridge, and the two roof slopes overhanging the walls.
    const double ridge = 95;
    const std::uint16_t a = mesh.point({left, eaves, front}), b = mesh.point({left, ridge, 0}),
                        c = mesh.point({left, eaves, back});
    mesh.triangle(c, b, a, bricks, 0);
    const std::uint16_t d = mesh.point({right, eaves, back}), e = mesh.point({right, ridge, 0}),
                        f = mesh.point({right, eaves, front});
    mesh.triangle(f, e, d, bricks, 0);
    mesh.quad({-112, ridge, 0}, {112, ridge, 0}, {112, eaves - 8, front - 18}, {-112, eaves - 8, front - 18},
              textured(skins.roof));
    mesh.quad({112, ridge, 0}, {-112, ridge, 0}, {-112, eaves - 8, back + 18}, {112, eaves - 8, back + 18},
              textured(skins.roof));
    // The roof seen from below, so that the eaves are closed when looking up.
    const Face under = plain(20);
    mesh.quad({-112, eaves - 8, front - 18}, {112, eaves - 8, front - 18}, {112, ridge, 0}, {-112, ridge, 0}, under);
    mesh.quad({112, eaves - 8, back + 18}, {-112, eaves - 8, back + 18}, {-112, ridge, 0}, {112, ridge, 0}, under);

    // A plain red chimney.
    box(mesh, 40, 40, 6, 64, 110, 30, plain(52));

    // A see-through pond in front of the house: half the ground shows through the water.
    Face pond = textured(skins.water);
    pond.transparency = 50;
    mesh.quad({-150, -99, -90}, {-40, -99, -90}, {-40, -99, -140}, {-150, -99, -140}, pond);

    // A grating fence on the right: keyed (its holes show what is behind) and double-sided.
    Face fence = textured(skins.grate, FaceTexturedKeyed);
    fence.doubleSided = 1;
    mesh.quad({150, -40, -140}, {150, -40, 0}, {150, -100, 0}, {150, -100, -140}, fence);
    mesh.quad({150, -40, 0}, {150, -40, 140}, {150, -100, 140}, {150, -100, 0}, fence);

    // A flag on a metal pole: one double-sided face, seen from both sides.
    box(mesh, -160, -100, 100, -154, 60, 106, textured(skins.metal));
    Face flag = textured(skins.marble);
    flag.doubleSided = 1;
    mesh.quad({-154, 60, 103}, {-94, 60, 103}, {-94, 20, 103}, {-154, 20, 103}, flag);

    // Two signs that always face the eye; which frame of the conveyor they show depends on the
    // direction they are seen from.
    Face sign = textured(skins.conveyor);
    mesh.sign({110, -70, -110}, 40, 60, sign);
    mesh.sign({-150, -70, -30}, 40, 60, sign);
    return mesh.object();
}

Object3D BuildTorus(int rings, int sides, std::int32_t outer, const std::vector<std::uint16_t>& textures)
{
    MeshBuilder mesh;
    const double tube = outer * 0.3, radius = outer - tube;
    // A grid of rings x sides points shared by the faces round them.
    std::vector<std::uint16_t> grid;
    for (int ring = 0; ring < rings; ++ring) {
        for (int side = 0; side < sides; ++side) {
            const double u = 2 * std::numbers::pi * ring / rings, v = 2 * std::numbers::pi * side / sides;
            const double r = radius + tube * std::cos(v);
            grid.push_back(mesh.point({r * std::cos(u), tube * std::sin(v), r * std::sin(u)}));
        }
    }
    auto at = [&](int ring, int side) { return grid[static_cast<std::size_t>((ring % rings) * sides + side % sides)]; };
    for (int ring = 0; ring < rings; ++ring) {
        const std::uint16_t texture = textures[static_cast<std::size_t>(ring * 8 / rings) % textures.size()];
        for (int side = 0; side < sides; ++side) {
            // Seen from outside the tube, the ring runs right and the side upwards: a at the
            // texture's top left is (ring, side + 1), clockwise from there.
            const std::uint16_t a = at(ring, side + 1), b = at(ring + 1, side + 1), c = at(ring + 1, side),
                                d = at(ring, side);
            mesh.triangle(a, b, c, textured(texture), 0);
            mesh.triangle(c, d, a, textured(texture), 1);
        }
    }
    return mesh.object();
}

Object3D BuildSphere(int slices, int stacks, std::int32_t radius, std::uint16_t texture)
{
    MeshBuilder mesh;
    // Point (stack, slice) at latitude stack / stacks of half a turn from the top pole; the poles
    // are one point each.
    const std::uint16_t top = mesh.point({0, double(radius), 0});
    std::vector<std::uint16_t> grid;
    for (int stack = 1; stack < stacks; ++stack) {
        for (int slice = 0; slice < slices; ++slice) {
            const double theta = std::numbers::pi * stack / stacks, phi = 2 * std::numbers::pi * slice / slices;
            grid.push_back(mesh.point({radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                                       radius * std::sin(theta) * std::sin(phi)}));
        }
    }
    const std::uint16_t bottom = mesh.point({0, -double(radius), 0});
    auto at = [&](int stack, int slice) {
        if (stack == 0)
            return top;
        if (stack == stacks)
            return bottom;
        return grid[static_cast<std::size_t>((stack - 1) * slices + slice % slices)];
    };
    for (int stack = 0; stack < stacks; ++stack) {
        for (int slice = 0; slice < slices; ++slice) {
            // Seen from outside, the slices run right and the stacks down: a at the top left,
            // clockwise from there. The pole cells keep the one triangle that is not a point.
            const std::uint16_t a = at(stack, slice), b = at(stack, slice + 1), c = at(stack + 1, slice + 1),
                                d = at(stack + 1, slice);
            if (stack + 1 < stacks)
                mesh.triangle(a, b, c, textured(texture), 0);
            if (stack > 0)
                mesh.triangle(c, d, a, textured(texture), 1);
        }
    }
    return mesh.object();
}

std::string BuildVaseDxf()
{
    // The profile: (radius, height) from the foot up.
    const std::array<std::array<double, 2>, 9> profile{{{40, -110}, {62, -96}, {74, -60}, {78, -20}, {70, 20},
                                                        {48, 60}, {34, 86}, {42, 104}, {50, 112}}};
    constexpr int segments = 24;
    std::ostringstream dxf;
    dxf << "  0\nSECTION\n  2\nHEADER\n  9\n$EXTMIN\n 10\n-1.0E+20\n 20\n-1.0E+20\n 30\n-1.0E+20\n  0\nENDSEC\n";
    dxf << "  0\nSECTION\n  2\nENTITIES\n";
    auto corner = [&](int index, double x, double y, double z) {
        dxf << " 1" << index << "\n" << x << "\n 2" << index << "\n" << y << "\n 3" << index << "\n" << z << "\n";
    };
    // DXF coordinates: X across, Y in depth, Z up.
    auto ringPoint = [&](int level, int segment) {
        const double angle = 2 * std::numbers::pi * segment / segments;
        return std::array<double, 3>{std::round(profile[level][0] * std::cos(angle) * 2) / 2,
                                     std::round(profile[level][0] * std::sin(angle) * 2) / 2, profile[level][1]};
    };
    auto face = [&](int colour, const std::array<std::array<double, 3>, 4>& corners) {
        dxf << "  0\n3DFACE\n  8\nVASE\n 62\n" << colour << "\n";
        for (int i = 0; i < 4; ++i)
            corner(i, corners[i][0], corners[i][1], corners[i][2]);
    };
    for (int level = 0; level + 1 < static_cast<int>(profile.size()); ++level) {
        const int colour = 16 * (1 + level % 15) + 8; // a band of one hue per level
        for (int s = 0; s < segments; ++s) {
            face(colour, {ringPoint(level, s), ringPoint(level, s + 1), ringPoint(level + 1, s + 1),
                          ringPoint(level + 1, s)});
        }
    }
    // The foot: triangles whose fourth corner repeats the third.
    for (int s = 0; s < segments; ++s) {
        const std::array<double, 3> centre{0, 0, profile[0][1]};
        face(7, {ringPoint(0, s + 1), ringPoint(0, s), centre, centre});
    }
    dxf << "  0\nENDSEC\n  0\nEOF\n";
    return dxf.str();
}
