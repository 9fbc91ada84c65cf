// k3x info FILE: a short description of a .3do object, .dxf mesh, .def texture bank, .pcx image
// or .wav sound: sizes, counts, format, faces by type, textures and their runs.
#include "K3xCommand.h"

#include "BankFile.h"
#include "DxfImport.h"
#include "Errors.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "ObjectFile.h"
#include "ObjectSummary.h"
#include "Pcx.h"
#include "PcxFormat.h"
#include "SkinnerBank.h"
#include "WavUtil.h"

#include <algorithm>
#include <bitset>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace {

std::string lowerExtension(const std::filesystem::path& file)
{
    std::string extension = file.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

const char* plural(std::size_t count) { return count == 1 ? "" : "s"; }

// "3 (12 faces), 7 (1 face)" for the first `shown` numbers, then how many more.
std::string countedList(const std::map<std::uint16_t, std::size_t>& counts, std::size_t shown = 12)
{
    std::string text;
    std::size_t listed = 0;
    for (const auto& [number, faces] : counts) {
        if (listed++ == shown) {
            text += ", and " + std::to_string(counts.size() - shown) + " more";
            break;
        }
        text += (text.empty() ? "" : ", ") + std::to_string(number) + " (" + std::to_string(faces) + " face" +
                plural(faces) + ")";
    }
    return text;
}

void describeObject(const Object3D& object)
{
    const ObjectSummary s = SummariseObject(object);
    std::printf("  %zu point%s, x %d to %d, y %d to %d, z %d to %d\n", s.points, plural(s.points), s.lowest[0],
                s.highest[0], s.lowest[1], s.highest[1], s.lowest[2], s.highest[2]);
    std::printf("  %zu face%s: %zu textured, %zu textured with see-through colour 0, %zu virtual, %zu plain", s.faces,
                plural(s.faces), s.byType[FaceTextured], s.byType[FaceTexturedKeyed], s.byType[FaceVirtual],
                s.byType[FacePlain]);
    if (s.otherTypes > 0)
        std::printf(", %zu of unknown types", s.otherTypes);
    std::printf("; %zu double-sided, %zu see-through\n", s.doubleSided, s.transparent);
    if (!s.textures.empty())
        std::printf("  textures: %s\n", countedList(s.textures).c_str());
    if (!s.colours.empty())
        std::printf("  colours: %s\n", countedList(s.colours).c_str());
    if (s.brokenFaces > 0)
        std::printf("  %zu face%s with points the object does not have (the first is face %zu)\n", s.brokenFaces,
                    plural(s.brokenFaces), s.firstBrokenFace);
}

void describe3do(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    Object3D object;
    DecodeObject(bytes, name, object);
    const std::size_t used = EncodeObject(object).size();
    std::printf("%s: 3D object, %zu bytes", name.c_str(), bytes.size());
    if (bytes.size() > used)
        std::printf(" (%zu after the object, ignored)", bytes.size() - used);
    std::printf("\n");
    describeObject(object);
}

void describeDxf(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    Object3D object;
    ImportDxfText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), name, object);
    std::printf("%s: DXF mesh, %zu bytes; its 3D faces import as:\n", name.c_str(), bytes.size());
    describeObject(object);
}

void describePcx(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const PcxInfo info = ReadPcxInfo(bytes, name);
    const PcxHeader header = ReadPcxHeader(bytes.data());
    const PcxImage image = DecodePcx(bytes, name);
    std::bitset<256> used;
    for (const std::uint8_t colour : image.pixels)
        used.set(colour);
    std::printf("%s: PCX image %d x %d, version %u, 8 bits per pixel in one plane, %d bytes per line, run-length "
                "encoded, 256-colour palette; %zu bytes\n",
                name.c_str(), info.width, info.height, header.version, info.bytesPerLine, bytes.size());
    std::printf("  %zu colours used%s%s\n", used.count(), used.test(0) ? ", colour 0 (see-through) among them" : "",
                info.width == 128 && info.height == 128 ? "; fits a texture bank" : "; a texture bank takes only 128 x 128");
}

// "12-15 (4 images)", "15-12 (4 images, backwards)", "3 (still)".
std::string runText(const BankTextureEntry& texture)
{
    const long long first = texture.first, last = texture.last;
    if (first == last)
        return std::to_string(first) + " (still)";
    const long long images = (first < last ? last - first : first - last) + 1;
    return std::to_string(first) + " to " + std::to_string(last) + " (" + std::to_string(images) + " images" +
           (first > last ? ", backwards)" : ")");
}

void describeDef(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const BankFile bank = DecodeBank(bytes, SkinnerBank::Capacity);
    std::printf("%s: texture bank, %zu bytes, %zu image%s, %zu texture%s\n", name.c_str(), bytes.size(),
                bank.images.size(), plural(bank.images.size()), bank.textures.size(), plural(bank.textures.size()));
    if (!bank.hasImagesHeader)
        std::printf("  no #images line: the bank is empty\n");
    else if (!bank.hasTexturesHeader)
        std::printf("  no #textures line: every line after #images is read as an image\n");
    if (bank.paletteImage)
        std::printf("  palette from image %d, %s\n", bank.paletteImage->index, bank.paletteImage->name.c_str());
    if (bank.colourImage)
        std::printf("  flat colours from image %d, %s\n", bank.colourImage->index, bank.colourImage->name.c_str());
    std::size_t still = 0;
    for (const BankTextureEntry& texture : bank.textures)
        still += texture.first == texture.last ? 1 : 0;
    std::printf("  %zu still texture%s, %zu animated\n", still, plural(still), bank.textures.size() - still);
    for (const BankTextureEntry& texture : bank.textures)
        if (texture.first != texture.last)
            std::printf("  texture %d: images %s\n", texture.index, runText(texture).c_str());
    const std::size_t unused = bank.kept.images.size() + bank.kept.textures.size();
    if (unused > 0)
        std::printf("  %zu line%s that the skinning editor does not use (numbers outside 0 to 32767, or not "
                    "understood); Pigmenta keeps them\n", unused, plural(unused));
}

void describeWav(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const TIWave wave(name, bytes);
    std::printf("%s: WAV sound, %zu bytes\n", name.c_str(), bytes.size());
    if (!wave.Format) {
        std::printf("  its samples cannot be read: %s\n", wave.DataError.c_str());
        return;
    }
    const TWaveFormatEx& f = *wave.Format;
    const std::string kind = f.wFormatTag == WAVE_FORMAT_PCM ? "PCM" : "format tag " + std::to_string(f.wFormatTag);
    std::printf("  %s, %u channel%s, %u Hz, %u bits per sample, %u bytes of samples", kind.c_str(), f.nChannels,
                plural(f.nChannels), f.nSamplesPerSec, f.wBitsPerSample, wave.DataSize);
    if (f.nAvgBytesPerSec > 0)
        std::printf(" (%.3f s)", static_cast<double>(wave.DataSize) / f.nAvgBytesPerSec);
    std::printf("\n");
}

} // namespace

int RunInfo(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {});
    args.expectPositional(1);
    const std::string& name = args.positional[0];
    const std::string extension = lowerExtension(name);
    const std::map<std::string, void (*)(const std::string&, const std::vector<std::uint8_t>&)> describers{
        {".3do", describe3do}, {".dxf", describeDxf}, {".pcx", describePcx}, {".def", describeDef}, {".wav", describeWav}};
    const auto describer = describers.find(extension);
    if (describer == describers.end())
        throw UsageError("k3x info describes .3do, .dxf, .pcx, .def and .wav files, not " + name);
    const std::filesystem::path file = ResolvePath(name);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw IoError("The file " + name + " does not exist");
    describer->second(name, ReadWholeFile(file));
    return 0;
}
