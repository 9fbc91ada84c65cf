#!/usr/bin/python3
# Writes the DXF drawings of the import tests with python3-ezdxf, as a CAD program's DXF library
# writes them: python3 make-drawings.py FOLDER (the files are kept beside this script).
import math
import sys

import ezdxf

CUBE = [(0, 0, 0), (10, 0, 0), (10, 10, 0), (0, 10, 0), (0, 0, 10), (10, 0, 10), (10, 10, 10), (0, 10, 10)]
QUADS = [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]


def cube_triangles(space):
    """Twelve three-cornered 3DFACEs (the fourth corner repeats the third), colour 1 to 6."""
    for side, (a, b, c, d) in enumerate(QUADS):
        for corners in ((a, b, c), (c, d, a)):
            points = [CUBE[i] for i in corners]
            space.add_3dface(points + [points[2]], dxfattribs={"color": side + 1})


def cube_then_others(version, name, folder):
    doc = ezdxf.new(version)
    space = doc.modelspace()
    cube_triangles(space)
    space.add_line((0, 0, 0), (50, 60, 70))
    space.add_text("cube", dxfattribs={"height": 3}).set_placement((5, 5))
    if version != "R12":
        space.add_ellipse((0, 0), major_axis=(20, 0), ratio=0.5)
    dimension = space.add_linear_dim(base=(0, -5), p1=(0, 0), p2=(10, 0))
    dimension.render()
    doc.saveas(f"{folder}/{name}")


def sphere_and_axis(folder):
    """A sphere of 8 x 6 four-cornered faces, radius 100, then its axis as a LINE."""
    doc = ezdxf.new("R2018")
    space = doc.modelspace()

    def point(i, j):
        a, b = 2 * math.pi * i / 8, math.pi * j / 6 - math.pi / 2
        return (100 * math.cos(b) * math.cos(a), 100 * math.cos(b) * math.sin(a), 100 * math.sin(b))

    for j in range(6):
        for i in range(8):
            space.add_3dface([point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1)])
    space.add_line((0, 0, -150), (0, 0, 150))
    doc.saveas(f"{folder}/sphere-axis-r2018.dxf")


def lines_only(folder):
    doc = ezdxf.new("R2018")
    space = doc.modelspace()
    for i in range(4):
        space.add_line((i, 0, 0), (i, 10, 5))
    doc.saveas(f"{folder}/lines-r2018.dxf")


def meshes_only(folder):
    doc = ezdxf.new("R2018")
    space = doc.modelspace()
    for k in range(2):
        polyface = space.add_polyface()
        polyface.append_face([(k, 0, 0), (k + 1, 0, 0), (k + 1, 1, 0), (k, 1, 0)])
    mesh = space.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0)]
        data.faces = [(0, 1, 2)]
    doc.saveas(f"{folder}/meshes-r2018.dxf")


def binary(folder):
    doc = ezdxf.new("R2018")
    cube_triangles(doc.modelspace())
    doc.saveas(f"{folder}/binary-r2018.dxf", fmt="bin")


folder = sys.argv[1] if len(sys.argv) > 1 else "."
for version in ("R12", "R2000", "R2010", "R2018"):
    cube_then_others(version, f"cube-{version.lower()}.dxf", folder)
sphere_and_axis(folder)
lines_only(folder)
meshes_only(folder)
binary(folder)
