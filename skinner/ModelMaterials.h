#pragma once
// What an imported model's materials became, handed from the importer (k3x import-mesh
// --materials FILE, a child process) to the skinning editor, which lets the user choose again:
// each material's name, colour, texture file and face count, the texture it got (or its flat
// colour), and the material of every face of the object. UTF-8 text, one record a line, fields
// apart by tabs:
//
//   material <name> <RRGGBB or -> <texture file or -> <faces> <texture number or -> <colour number>
//   faces <material of face 0> <of face 1> ...      (-1: none)
#include "Object3D.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ModelMaterial {
    std::string name;
    std::optional<std::uint32_t> colour; // 0xRRGGBB
    std::string textureFile;
    std::size_t faces = 0;
    std::optional<int> texture; // the bank texture it got; none: its flat colour
    int flatColour = 0;         // the colour number its faces take when flat
};

struct ModelMaterials {
    std::vector<ModelMaterial> materials;
    std::vector<std::int32_t> faceMaterial; // for each face of the object, its material or -1
};

std::string FormatModelMaterials(const ModelMaterials& materials);
// FormatError when the text is not such a listing or names a material it does not list.
ModelMaterials ParseModelMaterials(std::string_view text);

// Each material's faces take the skin chosen for it: a bank texture (textured, keeping the corner
// order and mapping the importer laid from the model's texture coordinates) or, with none, the
// material's flat colour. `skins` has one entry per material; faces of no material are left.
void ApplyMaterialSkins(Object3D& object, const ModelMaterials& materials, const std::vector<std::optional<int>>& skins);
