// k3x pcx IN.pcx OUT.(pcx|png) [--onto PALETTE.pcx]: reads a 256-colour PCX image, optionally
// translated onto another file's palette (colours 1..254), and writes it as PCX or PNG with the
// palette it now has.
#include "K3xCommand.h"

#include "ImageWriters.h"
#include "Pcx.h"
#include "SafeWrite.h"
#include "FileResolver.h"

#include <cstdio>

int RunPcx(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"onto"});
    args.expectPositional(2);
    const std::string& in = args.positional[0];
    const std::string& out = args.positional[1];
    const bool png = HasExtension(out, ".png");
    if (!png && !HasExtension(out, ".pcx"))
        throw UsageError("the output must be a .pcx or a .png file, not " + out);

    PcxImage image;
    PalettePlanes palette;
    if (args.has("onto")) {
        palette = LoadPcx(args.option("onto")).palette;
        image = LoadPcxRemapped(in, palette);
    } else {
        image = LoadPcx(in);
        palette = image.palette;
    }
    const auto bytes = png ? EncodePng(image.width, image.height, image.pixels, palette)
                           : EncodePcx(image.width, image.height, image.pixels, palette);
    WriteFileAtomically(out, bytes);
    std::printf("%s: %d x %d pixels written to %s\n", in.c_str(), image.width, image.height, out.c_str());
    return 0;
}
