// Drawing a frame allocates nothing: every allocation of the process is counted here.
#include "DemoObjects.h"
#include "EditorFrame.h"
#include "Renderer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

// Kept out of line: GCC otherwise pairs the inlined free() with the library's operator new and
// warns of a mismatch that is not there.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(Frame, AllocatesNothing)
{
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, 640, 480);
    SetBankPlaceholders(context->bank);
    context->bank.images[1] = std::make_unique<TextureImage>();
    for (int t = 0; t < 16; ++t)
        context->bank.textures[t] = {t % 2, t % 2, t % 2};
    DemoSkins skins;
    skins.conveyor = 1;
    const Object3D house = BuildHouse(skins);
    const Object3D torus = BuildTorus(64, 24, 250, {0, 1});
    EditorView view;
    view.yaw = 2000;
    view.pitch = -1500;
    DrawEditorFrame(*context, torus, view); // the first frame may grow the working copy
    const long before = allocations.load();
    for (int i = 0; i < 3; ++i) {
        DrawEditorFrame(*context, house, view);
        DrawEditorFrame(*context, torus, view);
        view.yaw += 1000;
    }
    EXPECT_EQ(allocations.load(), before);
    EXPECT_GT(context->triangleCount, 1000);
}
