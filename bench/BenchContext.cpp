#include "BenchContext.h"

#include "DemoObjects.h"
#include "Renderer.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <tuple>
#include <random>
#include <utility>
#include <vector>

std::unique_ptr<RenderContext> MakeBenchContext(int width, int height)
{
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, width, height);
    std::mt19937 random(7);
    for (int n = 0; n < BenchTextureCount; ++n) {
        context->bank.images[n] = std::make_unique<TextureImage>();
        for (int v = 0; v < 128; ++v)
            for (int u = 0; u < 128; ++u)
                (*context->bank.images[n])[v * 128 + u] =
                    static_cast<std::uint8_t>(((u / 16 + v / 16) % 2 ? 40 : 160) + n * 4 + random() % 8);
        context->bank.textures[n] = {n, n, n};
    }
    for (int level = 0; level < 256; ++level)
        for (int c = 0; c < 256; ++c)
            context->bank.shadeTable->entries[level * 256 + c] = static_cast<std::uint8_t>(c * level / 256);
    for (std::size_t i = 0; i < BlendTables::Size; ++i)
        context->bank.blendTables->entries[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    return context;
}

const Object3D& BenchSphere(int slices, int stacks)
{
    static std::map<std::pair<int, int>, Object3D> made;
    auto [at, added] = made.try_emplace({slices, stacks});
    if (added)
        at->second = BuildSphere(slices, stacks, 1000, 0);
    return at->second;
}

const Object3D& BenchSphereOfTextures(int slices, int stacks, int textures)
{
    static std::map<std::tuple<int, int, int>, Object3D> made;
    auto [at, added] = made.try_emplace({slices, stacks, textures});
    if (added) {
        at->second = BuildSphere(slices, stacks, 1000, 0);
        for (std::size_t f = 0; f < at->second.faceCount(); ++f)
            at->second.faces[f].texture = static_cast<std::uint16_t>(f % static_cast<std::size_t>(textures));
    }
    return at->second;
}

EditorView BenchSphereView()
{
    EditorView view;
    view.pitch = 1500;
    view.distance = 1310;
    return view;
}

const Object3D& BenchTorus(int rings, int sides)
{
    static std::map<std::pair<int, int>, Object3D> made;
    auto [at, added] = made.try_emplace({rings, sides});
    if (added) {
        std::vector<std::uint16_t> textures;
        for (int n = 0; n < BenchTorusTextures; ++n)
            textures.push_back(static_cast<std::uint16_t>(n));
        at->second = BuildTorus(rings, sides, 1520, textures);
    }
    return at->second;
}

EditorView BenchTorusView()
{
    EditorView view;
    view.yaw = 1200;
    view.pitch = -6500;
    view.distance = 1400;
    return view;
}

double CoveredShare(const RenderContext& context)
{
    // The spare rows past the view's last one are not counted.
    const auto first = context.screen.pixels.begin();
    const auto pixels = static_cast<std::ptrdiff_t>(context.screen.width) * context.screen.height;
    return double(std::count_if(first, first + pixels, [](std::uint8_t p) { return p != 0; })) / double(pixels);
}
