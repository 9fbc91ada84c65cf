#pragma once
// Reading DXF drawings as meshes, with what the plain DXF import leaves out:
//
//   3DFACE               three or four corners (10..13, 20..23, 30..33)
//   POLYLINE (70 bit 64) a polyface mesh: VERTEX records with 70 bits 64 + 128 are its points
//                        (10, 20, 30), those with bit 128 alone its faces (71..74: point numbers
//                        from 1, negative for a hidden edge), up to SEQEND
//   POLYLINE (70 bit 16) an M x N polygon mesh (71 = M, 72 = N; 70 bit 1 closes M, bit 32 N)
//   MESH                 92 points (10, 20, 30), then 93 the length of the face list, whose 90
//                        values give each face's corner count and its point numbers from 0
//   INSERT               a block (2) placed at 10/20/30, scaled by 41/42/43, turned by 50
//                        degrees about Z; blocks may place blocks. A block no INSERT places is not
//                        imported.
//
// Colours: 420 a true colour (0xRRGGBB); else 62 a colour number, 0 the colour of the block's
// INSERT, 256 (or none) the colour of the entity's layer (LAYER table, 62 and 420). Entities on
// layer 0 inside a block take the layer of the INSERT.
#include "MeshSoup.h"

#include <string>
#include <string_view>

// The drawing's triangles in its own axes (Z up), each with its colour as the vertex colour.
// FormatError naming the file and the line for a number that is not one, a face naming a point
// the mesh does not have, or a drawing without anything to import.
MeshSoup ReadDxfMesh(std::string_view text, const std::string& name);
