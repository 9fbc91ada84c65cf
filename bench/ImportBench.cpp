// The imports at the sizes users bring: 100 pictures of 1024 x 1024 into texture PCX files (the
// target is under 3 s), against decoding each picture whole before scaling it; and a mesh of
// 100,000 triangles with shared corners into an object (the target, for the whole k3x process,
// is under 1 s). Pigmenta's File, Import images is measured whole: files read from disk on its
// worker threads, texture files written and read back into the bank's change.
#include "AssimpMesh.h"
#include "DemoPalettes.h"
#include "ImageImport.h"
#include "ImageWriters.h"
#include "MeshConvert.h"
#include "MeshImport.h"
#include "PictureImport.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr int Pictures = 100;

// A photo-like 1024 x 1024 picture: smooth colour waves with fine grain, in the given format.
std::vector<std::uint8_t> photo(const char* format, int seed)
{
    QImage image(1024, 1024, QImage::Format_RGB32);
    for (int y = 0; y < 1024; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < 1024; ++x) {
            const int grain = static_cast<int>((static_cast<unsigned>(x * 7919 + y * 104729 + seed) * 2654435761u) >> 28);
            row[x] = qRgb(static_cast<int>(127 + 100 * std::sin(x * 0.01 + seed)) + grain,
                          static_cast<int>(127 + 100 * std::sin(y * 0.013 + x * 0.004)) + grain,
                          static_cast<int>(127 + 100 * std::cos((x + y) * 0.007)));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return {bytes.begin(), bytes.end()};
}

void importPictures(benchmark::State& state, const char* format, bool onPalette)
{
    std::vector<std::vector<std::uint8_t>> files;
    for (int i = 0; i < Pictures; ++i)
        files.push_back(photo(format, i % 10));
    ImageImportOptions options;
    if (onPalette)
        options.palette = DemoFlatColourPalette();
    for (auto _ : state)
        for (const auto& file : files) {
            const ImportedTexture texture = ImportPicture(file, "photo", options);
            benchmark::DoNotOptimize(EncodePcx(TextureSide, TextureSide, texture.pixels, texture.palette));
        }
    state.counters["pictures"] = Pictures;
}

// The straightforward way: the whole picture decoded, then scaled down, then matched.
void importPicturesWhole(benchmark::State& state, const char* format)
{
    std::vector<std::vector<std::uint8_t>> files;
    for (int i = 0; i < Pictures; ++i)
        files.push_back(photo(format, i % 10));
    const PalettePlanes palette = DemoFlatColourPalette();
    for (auto _ : state)
        for (const auto& file : files) {
            QImage image = QImage::fromData(file.data(), static_cast<int>(file.size()));
            image = image.scaled(TextureSide, TextureSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_RGBA8888);
            RgbaTexture picture;
            std::memcpy(picture.data(), image.constBits(), picture.size());
            benchmark::DoNotOptimize(QuantiseTexture(picture, palette, 255, false));
        }
}

void BM_JpegsOntoAPalette(benchmark::State& state) { importPictures(state, "jpg", true); }
void BM_JpegsWithTheirOwnPalette(benchmark::State& state) { importPictures(state, "jpg", false); }
void BM_PngsOntoAPalette(benchmark::State& state) { importPictures(state, "png", true); }
void BM_JpegsDecodedWhole(benchmark::State& state) { importPicturesWhole(state, "jpg"); }
void BM_PngsDecodedWhole(benchmark::State& state) { importPicturesWhole(state, "png"); }
BENCHMARK(BM_JpegsOntoAPalette)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_JpegsWithTheirOwnPalette)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_JpegsDecodedWhole)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PngsOntoAPalette)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PngsDecodedWhole)->Unit(benchmark::kMillisecond)->Iterations(3);

// Into an empty bank from slot 0: one palette made from all the pictures (slot 0's image) and
// every picture matched to it. Wall-clock and processor time of all threads.
void BM_PigmentaImportsHundredJpegs(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / "ormel-bench-pigmenta-import";
    std::filesystem::create_directories(folder / "PICTURES");
    PictureImportRequest request{{}, folder, "TEXTURES", 0, true};
    for (int i = 0; i < Pictures; ++i) {
        const std::vector<std::uint8_t> bytes = photo("jpg", i % 10);
        const auto path = folder / "PICTURES" / ("photo" + std::to_string(i) + ".jpg");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        request.pictures.push_back(path.string());
    }
    const EditorBank bank;
    for (auto _ : state) {
        std::filesystem::remove_all(folder / "TEXTURES");
        PictureImport importing(bank, request);
        importing.Run();
        if (importing.Result().written.size() != Pictures + 1) // and the palette's picture
            state.SkipWithError("not every picture was imported");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PigmentaImportsHundredJpegs)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()->MeasureProcessCPUTime();

// A 224 x 224 grid of squares on a wavy sheet, closed by nothing: 100,352 triangles on 50,625
// shared corners (too many faces for an object, so it is refused after the sharing), and one of
// 160 x 160 squares (51,200 triangles) that is imported.
std::string gridObj(int side)
{
    const auto path = std::filesystem::temp_directory_path() / ("ormel-bench-grid-" + std::to_string(side) + ".obj");
    std::ofstream obj(path);
    for (int i = 0; i <= side; ++i)
        for (int j = 0; j <= side; ++j)
            obj << "v " << i << ' ' << std::sin(i * 0.1) * std::cos(j * 0.1) * 5 << ' ' << j << '\n';
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            const int a = i * (side + 1) + j + 1, b = a + side + 1;
            obj << "f " << a << ' ' << a + 1 << ' ' << b + 1 << "\nf " << a << ' ' << b + 1 << ' ' << b << '\n';
        }
    return path.string();
}

void importGrid(benchmark::State& state, int side)
{
    const std::string path = gridObj(side);
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(ConvertMesh(ReadAssimpMesh(path), {}, DemoMeshSkin(), path));
        } catch (const std::exception&) {
        }
    }
    std::filesystem::remove(path);
}

void BM_Obj100000TrianglesRefused(benchmark::State& state) { importGrid(state, 224); }
void BM_Obj51200TrianglesImported(benchmark::State& state) { importGrid(state, 160); }
// The same 100,352 triangles simplified to the 65,536 faces an object holds, and then to 20,000.
void simplifyGrid(benchmark::State& state, std::size_t most)
{
    const std::string path = gridObj(224);
    const MeshSoup soup = ReadAssimpMesh(path);
    MeshImportOptions options;
    options.maxFaces = most;
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportMeshSoup(soup, options, DemoMeshSkin(), path));
    std::filesystem::remove(path);
}
void BM_Obj100000TrianglesTo65536(benchmark::State& state) { simplifyGrid(state, 65536); }
void BM_Obj100000TrianglesTo20000(benchmark::State& state) { simplifyGrid(state, 20000); }
BENCHMARK(BM_Obj100000TrianglesTo65536)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Obj100000TrianglesTo20000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Obj100000TrianglesRefused)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Obj51200TrianglesImported)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
