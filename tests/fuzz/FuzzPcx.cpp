// PCX images: any bytes either decode to an image of the sizes the header gives or are refused
// with a FormatError; a decoded image translates onto another palette and survives a rewrite.
#include "Errors.h"
#include "FuzzSupport.h"
#include "ImageWriters.h"
#include "Pcx.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    PcxImage image;
    try {
        image = DecodePcx(file, "fuzz.pcx");
    } catch (const FormatError&) {
        return 0;
    }
    FuzzCheck(image.width >= 1 && image.height >= 1 &&
              image.pixels.size() == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));

    const std::vector<std::uint8_t> rewritten = EncodePcx(image.width, image.height, image.pixels, image.palette);
    const PcxImage again = DecodePcx(rewritten, "rewritten.pcx");
    FuzzCheck(again.pixels == image.pixels && again.palette == image.palette);

    PalettePlanes grey;
    for (int i = 0; i < 256; ++i)
        grey.red[i] = grey.green[i] = grey.blue[i] = static_cast<std::uint8_t>(i);
    Translate(image.pixels, BuildTranslation(image.palette, grey, 1, 254));
    return 0;
}
