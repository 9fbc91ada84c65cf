// Builds the demo installation's 3D objects, skinned with the demo bank.
//     MakeDemoObjects FOLDER    reads FOLDER/DEMO.DEF, writes FOLDER/HOUSE.3DO, FOLDER/TORUS.3DO
//                               and FOLDER/VASE.DXF
#include "BankFile.h"
#include "DemoObjects.h"
#include "ObjectFile.h"
#include "SafeWrite.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

// The texture whose first image is the file TEXTURES\<NAME>.PCX of the bank.
std::uint16_t textureShowing(const BankFile& bank, const std::string& name)
{
    const std::string file = "TEXTURES\\" + name + ".PCX";
    for (const BankImageEntry& image : bank.images) {
        if (image.name != file)
            continue;
        for (const BankTextureEntry& texture : bank.textures)
            if (texture.first == image.index)
                return static_cast<std::uint16_t>(texture.index);
    }
    throw std::runtime_error("the demo bank has no texture showing " + file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDemoObjects FOLDER\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        const BankFile bank = ReadBankFile((folder / "DEMO.DEF").string());
        DemoSkins skins;
        skins.bricks = textureShowing(bank, "BRICKS");
        skins.roof = textureShowing(bank, "ROOF");
        skins.wood = textureShowing(bank, "WOOD");
        skins.stone = textureShowing(bank, "STONE");
        skins.grass = textureShowing(bank, "GRASS");
        skins.tiles = textureShowing(bank, "TILES");
        skins.metal = textureShowing(bank, "METAL");
        skins.marble = textureShowing(bank, "MARBLE");
        skins.grate = textureShowing(bank, "GRATE");
        skins.water = textureShowing(bank, "WATER0");
        skins.conveyor = textureShowing(bank, "BELT0");

        SaveObject((folder / "HOUSE.3DO").string(), BuildHouse(skins));
        SaveObject((folder / "TORUS.3DO").string(),
                   BuildTorus(96, 28, 1520, {skins.bricks, skins.wood, skins.stone, skins.metal, skins.tiles,
                                            skins.marble, skins.roof, skins.grass}));
        WriteFileAtomically(folder / "VASE.DXF", BuildVaseDxf());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "MakeDemoObjects: %s\n", error.what());
        return 1;
    }
    return 0;
}
