#pragma once
// Small render contexts whose tables make every pixel tell how it was drawn: the shade table
// leaves colours as they are, and blending at level j always gives 100 + j.
#include "RenderContext.h"
#include "Renderer.h"

#include <cstdint>
#include <memory>

inline std::unique_ptr<RenderContext> MakeTestContext(int width, int height)
{
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, width, height);
    for (int level = 0; level < 256; ++level)
        for (int c = 0; c < 256; ++c)
            context->bank.shadeTable->entries[level * 256 + c] = static_cast<std::uint8_t>(c);
    for (int j = 0; j < 17; ++j)
        std::fill_n(context->bank.blendTables->entries.begin() + j * 65536, 65536, static_cast<std::uint8_t>(100 + j));
    for (int c = 0; c < 256; ++c)
        context->bank.colourRemap[c] = static_cast<std::uint8_t>(c);
    return context;
}

// The pixel at column x of screen row y (y grows downwards; the screen is stored bottom-up).
inline std::uint8_t ScreenPixel(const RenderContext& context, int x, int y)
{
    return context.screen.pixels[static_cast<std::size_t>(context.maxY - y) * context.screen.width + x];
}
