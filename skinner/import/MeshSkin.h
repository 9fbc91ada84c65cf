#pragma once
// How an imported mesh's colours and textures become face skins: colours take the nearest of a
// bank's flat face colours (its second image's palette), and a material whose texture file has
// the name of a bank image becomes a textured face showing that image.
#include "MeshSoup.h"
#include "Palette.h"

#include <map>
#include <optional>
#include <string>

struct MeshSkin {
    PalettePlanes flatColours;
    // Bank image file name without folder and extension, in capitals -> the texture showing it.
    std::map<std::string, int> textureByImage;
};

// The demo game's flat colours and no textures: what a mesh gets without a bank.
MeshSkin DemoMeshSkin();
// The bank's flat colours (its second image's palette, the demo's when it holds fewer than two
// images) and, for each image,
// the texture that shows it alone (first = last), else the first texture that starts on it.
// Image files are read against the current folder, as the editors read them.
MeshSkin LoadMeshSkin(const std::string& bankPath);

// The texture for a material's texture file, when the bank holds an image of that name.
std::optional<int> TextureFor(const MeshSkin& skin, const std::string& textureFile);
// From now on, `texture` for that texture file (a picture just brought into the bank).
void SetTextureFor(MeshSkin& skin, const std::string& textureFile, int texture);
// The flat colour number nearest to `colour` (colours 1..255).
int FlatColourFor(const MeshSkin& skin, MeshColour colour);
