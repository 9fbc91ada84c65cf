// PCX images: any bytes either decode to the pixels a plain byte-by-byte decoder finds, or are
// refused with a FormatError exactly when the header is refused or the plain decoder runs out
// of data. A decoded image translates onto another palette.
#include "Errors.h"
#include "FuzzSupport.h"
#include "PlainPcx.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    PcxInfo info;
    try {
        info = ReadPcxInfo(file, "fuzz.pcx");
    } catch (const FormatError&) {
        FuzzCheck(![&] {
            try {
                DecodePcx(file, "fuzz.pcx");
                return true;
            } catch (const FormatError&) {
                return false;
            }
        }());
        return 0;
    }
    const std::optional<std::vector<std::uint8_t>> plain = PlainPcxPixels(file, info);
    PcxImage image;
    try {
        image = DecodePcx(file, "fuzz.pcx");
    } catch (const FormatError&) {
        FuzzCheck(!plain); // the data ends early for both
        return 0;
    }
    FuzzCheck(plain && image.pixels == *plain);
    FuzzCheck(image.width == info.width && image.height == info.height);
    for (int i = 0; i < 256; ++i)
        FuzzCheck(image.palette.red[i] == data[size - 768 + 3 * i] && image.palette.blue[i] == data[size - 766 + 3 * i]);

    PalettePlanes grey;
    for (int i = 0; i < 256; ++i)
        grey.red[i] = grey.green[i] = grey.blue[i] = static_cast<std::uint8_t>(i);
    Translate(image.pixels, BuildTranslation(image.palette, grey, 1, 254));
    return 0;
}
