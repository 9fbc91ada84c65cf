#include "ImageImport.h"

#include "BankFile.h"
#include "Errors.h"
#include "FileResolver.h"
#include "ImageWriters.h"
#include "K3xFiles.h"
#include "Pcx.h"
#include "SafeWrite.h"

ImportedTexture MatchPicture(const RgbaTexture& picture, const ImageImportOptions& options)
{
    ImportedTexture texture;
    int last = 255;
    if (options.palette) {
        texture.palette = *options.palette;
    } else {
        const MadePalette made = MakeTexturePalette(picture);
        texture.palette = made.palette;
        last = made.last;
    }
    texture.pixels = QuantiseTexture(picture, texture.palette, last, options.dither);
    return texture;
}

ImportedTexture ImportPicture(std::span<const std::uint8_t> file, const std::string& name,
                              const ImageImportOptions& options)
{
    return MatchPicture(FitPicture(file, name, options.fit), options);
}

ImportedTexture ImportPictureFile(const std::string& path, const ImageImportOptions& options)
{
    return ImportPicture(ReadWholeFile(path), path, options);
}

PalettePlanes LoadTargetPalette(const std::string& path)
{
    if (!HasExtension(path, ".def"))
        return LoadPcx(path).palette;
    const BankFile bank = ReadTextureBank(path);
    if (!bank.paletteImage)
        throw FormatError(path + ": the bank lists no image, so it has no palette");
    return LoadBankPcx(bank.paletteImage->name, path).palette;
}

void SaveTexturePcx(const std::string& path, const ImportedTexture& texture)
{
    WriteFileAtomically(path, EncodePcx(TextureSide, TextureSide, texture.pixels, texture.palette));
}
