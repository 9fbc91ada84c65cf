#pragma once
// The renderer's stages share their work with the context's helper threads (RendererThreads.h)
// through these.
#include "RenderContext.h"

#include <algorithm>
#include <cstddef>
#include <utility>

// The helpers for the next job, started on first use; null when the calling thread works alone:
// one thread asked for, or a helper still holding a piece of an earlier job.
RenderThreads* ReadyHelpers(RenderContext& context);

// How many pieces the helpers and the calling thread share a job of `items` in: a few a thread,
// so that pieces of uneven cost even out, none smaller than `smallest` items.
int PiecesFor(const RenderThreads& threads, std::size_t items, std::size_t smallest);

// Items first..last - 1 of piece `piece` of `pieces`.
inline std::pair<std::size_t, std::size_t> PieceItems(std::size_t items, int pieces, int piece)
{
    return {items * static_cast<std::size_t>(piece) / static_cast<std::size_t>(pieces),
            items * static_cast<std::size_t>(piece + 1) / static_cast<std::size_t>(pieces)};
}

// Runs item(i) for i = first..last - 1, on a helper telling its progress and looking whether
// the piece was taken back every `every` items; false when it was (the rest is left undone).
template <typename Item>
bool WorkThrough(std::size_t first, std::size_t last, BandWatch* watch, std::size_t every, Item item)
{
    for (std::size_t i = first; i < last;) {
        const std::size_t end = std::min(i + every, last);
        for (; i < end; ++i)
            item(i);
        if (watch != nullptr) {
            if (watch->takenBack())
                return false;
            watch->reached(static_cast<std::uint32_t>((i - first) * BandWatch::Whole / (last - first)));
        }
    }
    return true;
}
