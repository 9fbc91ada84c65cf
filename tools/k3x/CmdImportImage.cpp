// k3x import-image IN OUT.PCX [--palette BANK.def|IMAGE.pcx] [--fit crop|pad|stretch] [--dither]:
// a picture of any common format becomes a 128 x 128 texture PCX.
#include "K3xCommand.h"

#include "ImageImport.h"
#include "FileResolver.h"

#include <cstdio>

namespace {

TextureFit parseFit(const std::string& text)
{
    if (text == "crop")
        return TextureFit::Crop;
    if (text == "pad")
        return TextureFit::Pad;
    if (text == "stretch")
        return TextureFit::Stretch;
    throw UsageError("--fit takes crop, pad or stretch, not " + text);
}

} // namespace

int RunImportImage(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"palette", "fit"}, {"dither"});
    args.expectPositional(2);
    const std::string& in = args.positional[0];
    const std::string& out = args.positional[1];
    if (!HasExtension(out, ".pcx"))
        throw UsageError("the output must be a .pcx file, not " + out);
    ImageImportOptions options;
    options.fit = parseFit(args.option("fit", "crop"));
    options.dither = args.has("dither");
    if (args.has("palette"))
        options.palette = LoadTargetPalette(args.option("palette"));
    SaveTexturePcx(out, ImportPictureFile(in, options));
    std::printf("%s: 128 x 128 texture written to %s\n", in.c_str(), out.c_str());
    return 0;
}
