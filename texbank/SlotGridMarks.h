#pragma once
// What the window draws over the slot grid's thumbnails, in full colour so that it stands out on
// any picture: each visible slot's number and what it gives (slot 0 the palette, slot 1 the
// colour grid), empty and unreadable slots, the selection, the slot under the mouse and the image
// the chosen texture shows now; and a band over every texture's run of slots with the texture's
// number, one piece per grid row. Places are in view pixels.
#include "EditorBank.h"
#include "SlotGrid.h"

#include <cstdint>
#include <optional>
#include <vector>

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// A run of slots from `first` to `last` (first <= last).
struct SlotSpan {
    std::int32_t first = 0;
    std::int32_t last = 0;
    bool Holds(std::int32_t slot) const { return slot >= first && slot <= last; }
    bool operator==(const SlotSpan&) const = default;
};

// The slots a texture's run covers in the editor's grid; nothing for an undefined texture. A run
// going down covers the same slots; a last image of -1 (no slot) ends the run at slot 0.
std::optional<SlotSpan> TextureSpan(const AnimTexture& texture);

enum class SlotRole { Image, Palette, ColourGrid };

struct SlotMark {
    std::int32_t slot = 0;
    PixelRect thumbnail; // clipped by the view only when drawn
    SlotRole role = SlotRole::Image;
    bool named = false;   // the bank names an image for it
    bool missing = false; // named, but its image could not be read
    bool selected = false;
    bool cursor = false;
    bool current = false; // the image the chosen texture shows now
};

struct BandMark {
    std::int32_t texture = 0;
    PixelRect place;
    bool labelled = false;      // the run starts here, or goes on from the row above: the number shows
    bool startsRun = false;     // the run's first slot is in this piece
    bool endsRun = false;       // the run's last slot is in this piece
    bool chosen = false;        // the texture chosen in the editor
};

struct GridMarksState {
    int topRow = 0;
    std::int32_t cursor = -1;
    std::int32_t chosenTexture = -1;
    std::optional<SlotSpan> selection;
};

struct GridMarks {
    std::vector<SlotMark> slots;
    std::vector<BandMark> bands; // in drawing order: by texture number, the chosen texture last
    bool emptyBank = false;      // no slot names an image: the window shows how to start
};

GridMarks MarkSlotGrid(const EditorBank& bank, const GridLayout& layout, int viewWidth, int viewHeight,
                       const GridMarksState& state);

// The textures whose runs cover `slot`, by number.
std::vector<std::int32_t> TexturesOver(const EditorBank& bank, std::int32_t slot);
