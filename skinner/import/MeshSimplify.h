#pragma once
// Fewer triangles for a model with more than an object holds (65,536 faces): meshoptimizer's
// simplifier on each part of one skin (material and colour) apart, with that part's border kept
// where it is, so that where one material meets another does not move and no hole opens there.
#include "MeshSoup.h"

#include <cstddef>
#include <string>

// The soup with at most `most` triangles (at least 1); each triangle keeps its material, colour
// and texture coordinates. FormatError naming `name` when the model cannot be brought that low.
MeshSoup SimplifyMesh(const MeshSoup& soup, std::size_t most, const std::string& name);
