// Draws a fixed number of frames of one of the renderer benchmarks' scenes and prints a checksum
// of the last one: a repeatable workload for instruction counts, which the machine's other load
// does not change as it changes times, and a quick check that a change left the frames alone.
//     valgrind --tool=callgrind build/bin/renderer_frames sphere20k 20
//     build/bin/renderer_frames all 1        (every scene's checksum)
#include "BenchContext.h"
#include "DemoObjects.h"
#include "EditorFrame.h"
#include "Renderer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct SceneInfo {
    const char* name;
    int width;
};

constexpr SceneInfo Scenes[] = {{"sphere2k", 640},  {"sphere20k", 640}, {"sphere2k-1280", 1280}, {"sphere20k-1280", 1280},
                                {"torus", 640},     {"torus20k", 640},  {"house", 640}};

const Object3D& sceneObject(const std::string& name)
{
    if (name.rfind("sphere20k", 0) == 0)
        return BenchSphere(100, 101);
    if (name.rfind("sphere2k", 0) == 0)
        return BenchSphere(50, 21);
    if (name == "torus")
        return BenchTorus(96, 28);
    if (name == "torus20k")
        return BenchTorus(200, 50);
    static const Object3D house = BuildHouse(DemoSkins{0, 1, 2, 3, 4, 5, 6, 7, 1, 2, 3});
    return house;
}

EditorView sceneView(const std::string& name)
{
    if (name.rfind("sphere", 0) == 0)
        return BenchSphereView();
    if (name != "house")
        return BenchTorusView();
    EditorView view;
    view.yaw = 3000;
    view.pitch = -1500;
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

void drawScene(const SceneInfo& scene, int frames, int threads)
{
    auto context = MakeBenchContext(scene.width, scene.width * 3 / 4);
    SetRenderThreads(*context, threads);
    const Object3D& object = sceneObject(scene.name);
    const EditorView view = sceneView(scene.name);
    for (int i = 0; i < frames; ++i)
        DrawEditorFrame(*context, object, view);
    std::printf("%-15s %6d triangles  %016llx\n", scene.name, context->triangleCount + 1,
                static_cast<unsigned long long>(checksum(*context)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: renderer_frames SCENE|all [FRAMES] [--threads N]\nscenes:");
        for (const SceneInfo& scene : Scenes)
            std::fprintf(stderr, " %s", scene.name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    const std::string name = argv[1];
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    int threads = 1;
    for (int i = 3; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--threads") == 0)
            threads = std::atoi(argv[i + 1]);
    bool found = false;
    for (const SceneInfo& scene : Scenes)
        if (name == "all" || name == scene.name) {
            drawScene(scene, frames, threads);
            found = true;
        }
    if (!found) {
        std::fprintf(stderr, "renderer_frames: no scene %s\n", name.c_str());
        return 2;
    }
    return 0;
}
