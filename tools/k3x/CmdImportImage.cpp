// k3x import-image IN OUT.pcx | IN... FOLDER [--palette BANK.def|IMAGE.pcx] [--fit crop|pad|stretch]
// [--dither]: pictures of any common format become 128 x 128 texture PCX files, one picture into
// the file named, or many in one run into a folder (each NAME.PCX), read side by side.
#include "K3xCommand.h"

#include "FileResolver.h"
#include "ImageImport.h"
#include "TextureBatch.h"

#include <cstdio>
#include <filesystem>

int RunImportImage(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"palette", "fit"}, {"dither"});
    if (args.positional.size() < 2)
        throw UsageError("expected the pictures and where they go");
    const std::vector<std::string> pictures(args.positional.begin(), args.positional.end() - 1);
    const std::string& out = args.positional.back();
    const bool oneFile = pictures.size() == 1 && HasExtension(out, ".pcx");
    if (!oneFile && HasExtension(out, ".pcx"))
        throw UsageError("many pictures go into a folder, not into " + out);
    if (pictures.size() == 1 && !oneFile && !std::filesystem::is_directory(out))
        throw UsageError("the output must be a .pcx file or a folder, not " + out);
    ImageImportOptions options;
    options.fit = ParseFit(args.option("fit", "crop"));
    options.dither = args.has("dither");
    if (args.has("palette"))
        options.palette = LoadTargetPalette(args.option("palette"));
    if (oneFile) {
        SaveTexturePcx(out, ImportPictureFile(pictures.front(), options));
        std::printf("%s: 128 x 128 texture written to %s\n", pictures.front().c_str(), out.c_str());
        return 0;
    }

    std::filesystem::create_directories(out);
    const std::atomic<bool> never = false;
    std::vector<BatchPicture> read = ReadBatch(pictures, options.fit, never);
    std::vector<std::string> taken; // two pictures of one name (a.png, a.jpg) get A.PCX and A_2.PCX
    int failed = 0;
    for (const BatchPicture& picture : read) {
        if (!picture.fitted) {
            std::fprintf(stderr, "k3x import-image: %s\n", picture.failure.c_str());
            ++failed;
            continue;
        }
        const std::string name = TextureNameFor({}, picture.file, taken);
        taken.push_back(name);
        const std::string path = (std::filesystem::path(out) / name).string();
        SaveTexturePcx(path, MatchPicture(*picture.fitted, options));
        std::printf("%s: 128 x 128 texture written to %s\n", picture.file.c_str(), path.c_str());
    }
    return failed > 0 ? 1 : 0;
}
