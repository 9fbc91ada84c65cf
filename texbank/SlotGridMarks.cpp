#include "SlotGridMarks.h"

#include <algorithm>

std::optional<SlotSpan> TextureSpan(const AnimTexture& texture)
{
    if (texture.first < 0 || texture.first > LastSlot)
        return std::nullopt;
    return SlotSpan{std::clamp(std::min(texture.first, texture.last), 0, LastSlot),
                    std::clamp(std::max(texture.first, texture.last), 0, LastSlot)};
}

namespace {

// The pieces of one run, one per grid row, that meet the visible slots.
void markBand(GridMarks& marks, std::int32_t texture, SlotSpan run, SlotRange visible, const GridLayout& layout,
              int topRow, bool chosen)
{
    const std::int32_t from = std::max(run.first, visible.first), to = std::min(run.last, visible.last);
    for (std::int32_t start = from; start <= to;) {
        const std::int32_t rowEnd = (start / layout.columns + 1) * layout.columns - 1;
        const std::int32_t end = std::min(to, rowEnd);
        const CellPlace a = CellCorner(start, layout, topRow), b = CellCorner(end, layout, topRow);
        BandMark band;
        band.texture = texture;
        band.place = {a.x, a.y, b.x + layout.CellWidth() - a.x, layout.band};
        band.startsRun = start == run.first;
        band.endsRun = end == run.last;
        band.labelled = band.startsRun || start % layout.columns == 0 || start == visible.first;
        band.chosen = chosen;
        marks.bands.push_back(band);
        start = end + 1;
    }
}

} // namespace

GridMarks MarkSlotGrid(const EditorBank& bank, const GridLayout& layout, int viewWidth, int viewHeight,
                       const GridMarksState& state)
{
    GridMarks marks;
    marks.emptyBank = std::none_of(bank.slots.begin(), bank.slots.end(),
                                   [](const BankImageSlot& slot) { return !slot.name.empty(); });
    const SlotRange visible = VisibleSlots(layout, state.topRow, viewHeight);
    if (visible.first > visible.last || viewWidth <= 0)
        return marks;
    const std::optional<SlotSpan> chosenRun =
        state.chosenTexture >= 0 && state.chosenTexture < EditorBank::Capacity
            ? TextureSpan(bank.textures[static_cast<std::size_t>(state.chosenTexture)])
            : std::nullopt;
    const std::int32_t current =
        chosenRun ? bank.textures[static_cast<std::size_t>(state.chosenTexture)].current : -1;
    for (std::int32_t i = visible.first; i <= visible.last; ++i) {
        const CellPlace cell = CellCorner(i, layout, state.topRow);
        if (cell.x >= viewWidth)
            continue;
        const BankImageSlot& slot = bank.slots[static_cast<std::size_t>(i)];
        SlotMark mark;
        mark.slot = i;
        mark.thumbnail = {cell.x + layout.inset, cell.y + layout.band + layout.inset, layout.thumbnail,
                          layout.thumbnail};
        mark.role = i == 0 ? SlotRole::Palette : i == 1 ? SlotRole::ColourGrid : SlotRole::Image;
        mark.named = !slot.name.empty();
        mark.missing = mark.named && !slot.image;
        mark.selected = state.selection && state.selection->Holds(i);
        mark.cursor = i == state.cursor;
        mark.current = i == current;
        marks.slots.push_back(mark);
    }
    for (std::int32_t t = 0; t < EditorBank::Capacity; ++t)
        if (t != state.chosenTexture)
            if (const std::optional<SlotSpan> run = TextureSpan(bank.textures[static_cast<std::size_t>(t)]))
                markBand(marks, t, *run, visible, layout, state.topRow, false);
    if (chosenRun)
        markBand(marks, state.chosenTexture, *chosenRun, visible, layout, state.topRow, true);
    return marks;
}

std::vector<std::int32_t> TexturesOver(const EditorBank& bank, std::int32_t slot)
{
    std::vector<std::int32_t> textures;
    for (std::int32_t t = 0; t < EditorBank::Capacity; ++t)
        if (const std::optional<SlotSpan> run = TextureSpan(bank.textures[static_cast<std::size_t>(t)]))
            if (run->Holds(slot))
                textures.push_back(t);
    return textures;
}
