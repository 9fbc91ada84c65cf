// Draws a fixed number of frames of one of the renderer benchmarks' scenes and prints a checksum
// of the last one: a repeatable workload for instruction counts, which the machine's other load
// does not change as it changes times, and a quick check that a change left the frames alone.
//     valgrind --tool=callgrind build/bin/renderer_frames sphere20k 20
//     build/bin/renderer_frames all 1        (every scene's checksum)
// --times prints how long the frames took (median, 90th percentile, longest): run it while other
// programs keep every processor busy to see what a helper thread the system does not schedule
// costs, with --threads 1 (the calling thread alone) against --threads 0 (one per processor),
// and, with helpers, the longest the calling thread waited for them in a frame and how many
// pieces (bands, points, faces) it took back from helpers that did not run. Every frame of a
// scene is the same: one that differs from the first is reported, and the exit status is 1.
#include "BenchContext.h"
#include "DemoObjects.h"
#include "EditorFrame.h"
#include "Renderer.h"
#include "RendererThreads.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct SceneInfo {
    const char* name;
    int width, height;
};

// "whole" scenes show the object as the editor frames it whole (FrameInView), turned as
// peer_bench turns it; "filling" is the 20,000-face sphere from close by, covering the view.
constexpr SceneInfo Scenes[] = {
    {"sphere2k", 640, 480},   {"sphere20k", 640, 480}, {"sphere2k-1280", 1280, 960}, {"sphere20k-1280", 1280, 960},
    {"torus", 640, 480},      {"torus20k", 640, 480},  {"house", 640, 480},          {"sphere16", 640, 480},
    {"sphere16-1920", 1920, 1080}, {"torus-1920", 1920, 1080}, {"slivers", 640, 480},
    {"torus-whole", 640, 480}, {"torus-whole-1920", 1920, 1080}, {"house-whole", 640, 480},
    {"filling", 640, 480}};

const Object3D& sceneObject(const std::string& name)
{
    if (name == "slivers")
        return BenchSphereOfTextures(200, 50, 1);
    if (name.rfind("sphere16", 0) == 0)
        return BenchSphereOfTextures(200, 50, 16);
    if (name.rfind("sphere20k", 0) == 0 || name == "filling")
        return BenchSphere(100, 101);
    if (name.rfind("sphere2k", 0) == 0)
        return BenchSphere(50, 21);
    if (name.rfind("torus", 0) == 0 && name != "torus20k")
        return BenchTorus(96, 28);
    if (name == "torus20k")
        return BenchTorus(200, 50);
    static const Object3D house = BuildHouse(DemoSkins{0, 1, 2, 3, 4, 5, 6, 7, 1, 2, 3});
    return house;
}

EditorView sceneView(const std::string& name, const Object3D& object, const RenderContext& context)
{
    EditorView view;
    if (name.rfind("sphere", 0) == 0 || name == "slivers" || name == "filling") {
        view = BenchSphereView();
        if (name == "filling")
            view.distance = 1100; // the sphere's front a tenth of its radius away
        return view;
    }
    if (name.rfind("torus-whole", 0) == 0) {
        view.yaw = 1200;
        view.pitch = -3000;
        return FrameInView(object, nullptr, view, context);
    }
    if (name.rfind("torus", 0) == 0)
        return BenchTorusView();
    view.yaw = 3000;
    view.pitch = -1500;
    if (name == "house-whole")
        return FrameInView(object, nullptr, view, context);
    view.distance = 600;
    return view;
}

std::uint64_t checksum(const RenderContext& context)
{
    std::uint64_t hash = 1469598103934665603u; // FNV-1a
    for (const std::uint8_t pixel : context.screen.pixels)
        hash = (hash ^ pixel) * 1099511628211u;
    return hash;
}

// False when a frame differed from the first.
bool drawScene(const SceneInfo& scene, int frames, int threads, bool times)
{
    auto context = MakeBenchContext(scene.width, scene.height);
    SetRenderThreads(*context, threads);
    const Object3D& object = sceneObject(scene.name);
    const EditorView view = sceneView(scene.name, object, *context);
    std::vector<double> ms, waited;
    int takenBack = 0, differing = 0;
    std::uint64_t first = 0;
    for (int i = 0; i < frames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        DrawEditorFrame(*context, object, view);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        const std::uint64_t sum = frames > 1 ? checksum(*context) : 0;
        if (i == 0)
            first = sum;
        else if (sum != first)
            ++differing;
        if (context->threads) {
            const RenderThreads::Waiting waiting = context->threads->takeWaiting();
            waited.push_back(std::chrono::duration<double, std::milli>(waiting.waited).count());
            takenBack += waiting.takenBack;
        }
    }
    std::printf("%-15s %6d triangles  %016llx", scene.name, context->triangleCount + 1,
                static_cast<unsigned long long>(checksum(*context)));
    if (times) {
        std::sort(ms.begin(), ms.end());
        std::printf("  ms a frame: median %.2f, 90%% %.2f, longest %.2f", ms[ms.size() / 2], ms[ms.size() * 9 / 10],
                    ms.back());
        if (!waited.empty())
            std::printf("; waiting for helpers: longest %.3f ms, %d pieces taken back",
                        *std::max_element(waited.begin(), waited.end()), takenBack);
    }
    std::printf("\n");
    if (differing > 0)
        std::printf("%s: %d frames differ from the first\n", scene.name, differing);
    return differing == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: renderer_frames SCENE|all [FRAMES] [--threads N] [--times]\nscenes:");
        for (const SceneInfo& scene : Scenes)
            std::fprintf(stderr, " %s", scene.name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    const std::string name = argv[1];
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    int threads = 1;
    bool times = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
            threads = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--times") == 0)
            times = true;
    }
    bool found = false, same = true;
    for (const SceneInfo& scene : Scenes)
        if (name == "all" || name == scene.name) {
            same = drawScene(scene, frames, threads, times) && same;
            found = true;
        }
    if (!found) {
        std::fprintf(stderr, "renderer_frames: no scene %s\n", name.c_str());
        return 2;
    }
    return same ? 0 : 1;
}
