#include "TextureBatch.h"

#include "K3xFiles.h"
#include "Parallel.h"

#include <algorithm>
#include <system_error>

std::vector<BatchPicture> ReadBatch(const std::vector<PictureSource>& sources, TextureFit fit,
                                    const std::atomic<bool>& stop, std::atomic<int>* done)
{
    std::vector<BatchPicture> pictures(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i)
        pictures[i].file = sources[i].name;
    InParallel(sources.size(), stop, [&](std::size_t i) {
        BatchPicture& picture = pictures[i];
        try {
            const PictureSource& source = sources[i];
            picture.fitted = std::make_shared<const RgbaTexture>(
                source.bytes ? FitPicture(*source.bytes, source.name, fit)
                             : FitPicture(ReadWholeFile(source.name), source.name, fit));
        } catch (const std::exception& error) {
            picture.failure = error.what();
        }
        if (done)
            ++*done;
    });
    return pictures;
}

std::vector<BatchPicture> ReadBatch(const std::vector<std::string>& files, TextureFit fit,
                                    const std::atomic<bool>& stop, std::atomic<int>* done)
{
    std::vector<PictureSource> sources;
    for (const std::string& file : files)
        sources.push_back({file, std::nullopt});
    return ReadBatch(sources, fit, stop, done);
}

BatchPalette PaletteForBatch(const std::vector<BatchPicture>& pictures, const std::optional<PalettePlanes>& given)
{
    if (given)
        return {*given, 255, false};
    std::vector<const RgbaTexture*> all;
    for (const BatchPicture& picture : pictures)
        all.push_back(picture.fitted.get());
    const MadePalette made = MakeSharedPalette(all);
    return {made.palette, made.last, true};
}

void MatchBatch(std::vector<BatchPicture>& pictures, const BatchPalette& palette, bool dither)
{
    const std::atomic<bool> never = false;
    InParallel(pictures.size(), never, [&](std::size_t i) {
        if (pictures[i].fitted)
            pictures[i].pixels = QuantiseTexture(*pictures[i].fitted, palette.palette, palette.last, dither);
    });
}

std::string BankCapitals(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

std::vector<std::string> TakenTextureNames(const std::string& folder, const std::filesystem::path& onDisk,
                                           const std::vector<std::string>& bankNames)
{
    std::vector<std::string> taken;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(onDisk, ec))
        taken.push_back(BankCapitals((folder.empty() ? "" : folder + "\\") + entry.path().filename().string()));
    for (const std::string& name : bankNames)
        if (!name.empty())
            taken.push_back(BankCapitals(name));
    return taken;
}

std::string TextureNameFor(const std::string& folder, const std::filesystem::path& picture,
                           const std::vector<std::string>& taken)
{
    const std::string front = folder.empty() ? std::string() : folder + "\\";
    const std::string stem = BankCapitals(picture.stem().string());
    std::string name = front + stem + ".PCX";
    for (int n = 2; std::find(taken.begin(), taken.end(), BankCapitals(name)) != taken.end(); ++n)
        name = front + stem + "_" + std::to_string(n) + ".PCX";
    return name;
}
