#include "MeshSkin.h"

#include "BankFile.h"
#include "DemoPalettes.h"
#include "Pcx.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

// "TEXTURES\BRICKS.PCX", "maps/bricks.png" -> "BRICKS".
std::string imageKey(const std::string& file)
{
    const std::size_t slash = file.find_last_of("/\\");
    std::string stem = slash == std::string::npos ? file : file.substr(slash + 1);
    const std::size_t dot = stem.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        stem.resize(dot);
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return stem;
}

} // namespace

MeshSkin DemoMeshSkin() { return {DemoFlatColourPalette(), {}}; }

MeshSkin LoadMeshSkin(const std::string& bankPath)
{
    const BankFile bank = ReadTextureBank(bankPath);
    MeshSkin skin = DemoMeshSkin();
    // The second entry of the file, whatever its index, as the skinning editor takes it.
    if (bank.colourImage)
        skin.flatColours = LoadBankPcx(bank.colourImage->name, bankPath).palette;

    // A later line of the same index wins, as in the readers.
    std::map<int, std::string> imageBySlot;
    for (const BankImageEntry& image : bank.images)
        imageBySlot[image.index] = image.name;
    std::map<int, BankTextureEntry> textures;
    for (const BankTextureEntry& texture : bank.textures)
        textures[texture.index] = texture;
    std::set<std::string> still; // images already given their still texture
    for (const auto& [index, texture] : textures) {
        const auto image = imageBySlot.find(texture.first);
        if (image == imageBySlot.end())
            continue;
        const std::string key = imageKey(image->second);
        const bool isStill = texture.first == texture.last;
        if (still.count(key) || (!isStill && skin.textureByImage.count(key)))
            continue;
        skin.textureByImage[key] = index;
        if (isStill)
            still.insert(key);
    }
    return skin;
}

std::optional<int> TextureFor(const MeshSkin& skin, const std::string& textureFile)
{
    if (textureFile.empty())
        return std::nullopt;
    const auto it = skin.textureByImage.find(imageKey(textureFile));
    return it == skin.textureByImage.end() ? std::nullopt : std::optional<int>(it->second);
}

void SetTextureFor(MeshSkin& skin, const std::string& textureFile, int texture)
{
    skin.textureByImage[imageKey(textureFile)] = texture;
}

int FlatColourFor(const MeshSkin& skin, MeshColour colour)
{
    return NearestColour(skin.flatColours, colour.red, colour.green, colour.blue, 1, 255);
}
