// Pictures of any format: any bytes either fit into a texture or are refused with a FormatError;
// a fitted picture matches onto a palette and gets a palette of its own, with the key exactly
// where the picture is less than half opaque.
#include "Errors.h"
#include "FuzzSupport.h"
#include "PictureFit.h"
#include "TextureQuantise.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The file stays whole, so that seeds are real files; its size picks the fit, the dither, and
    // whether it is named as a TGA picture (which has no signature), and every seventh file has a
    // palette made, which takes far longer than the rest.
    const auto fit = static_cast<TextureFit>(size % 3);
    const bool dither = size % 2;
    const char* name = size % 4 == 0 ? "fuzz.tga" : "fuzz.img";
    RgbaTexture picture;
    try {
        picture = FitPicture(std::span<const std::uint8_t>(data, size), name, fit);
    } catch (const FormatError&) {
        return 0;
    }
    PalettePlanes grey;
    for (int i = 0; i < 256; ++i)
        grey.red[i] = grey.green[i] = grey.blue[i] = static_cast<std::uint8_t>(i);
    std::vector<std::pair<PalettePlanes, int>> palettes{{grey, 255}};
    if (size % 7 == 0) {
        const MadePalette made = MakeTexturePalette(picture);
        FuzzCheck(made.last >= 1 && made.last <= 255);
        palettes.emplace_back(made.palette, made.last);
    }
    for (const auto& [palette, last] : palettes) {
        const TextureImage pixels = QuantiseTexture(picture, palette, last, dither);
        for (std::size_t i = 0; i < TexturePixels; ++i)
            FuzzCheck((pixels[i] == 0) == (picture[i * 4 + 3] < HalfOpaque) && pixels[i] <= last);
    }
    return 0;
}
