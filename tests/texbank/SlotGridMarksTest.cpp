// What the window marks over the slot grid: texture bands cut at grid rows, the slots' roles,
// the selection, the cursor and the image the chosen texture shows.
#include "SlotGridMarks.h"

#include <gtest/gtest.h>

namespace {

struct Band {
    std::int32_t texture;
    PixelRect place;
    bool labelled, startsRun, endsRun, chosen;
};

} // namespace

TEST(SlotGridMarks, BandsCoverEachRunRowByRowTheChosenOneLast)
{
    EditorBank bank;
    bank.textures[3] = {2, 2, 2};    // still
    bank.textures[5] = {6, 9, 7};    // over two rows, chosen
    bank.textures[7] = {12, 10, 12}; // going down, past the view's last slot
    bank.textures[9] = {4, -1, 4};   // down to no slot: from slot 0
    const GridLayout layout{64, 2, 14, 4}; // cells of 68 x 82
    GridMarksState state;
    state.chosenTexture = 5;
    const GridMarks marks = MarkSlotGrid(bank, layout, 272, 246, state); // three rows: slots 0 to 11
    const Band expected[] = {
        {3, {136, 0, 68, 14}, true, true, true, false},
        {7, {136, 164, 136, 14}, true, true, false, false},
        {9, {0, 0, 272, 14}, true, true, false, false},
        {9, {0, 82, 68, 14}, true, false, true, false},  // labelled again at the row's start
        {5, {136, 82, 136, 14}, true, true, false, true},
        {5, {0, 164, 136, 14}, true, false, true, true},
    };
    ASSERT_EQ(marks.bands.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const BandMark& band = marks.bands[i];
        const Band& e = expected[i];
        EXPECT_EQ(band.texture, e.texture) << i;
        EXPECT_EQ(band.place, e.place) << i;
        EXPECT_EQ(band.labelled, e.labelled) << i;
        EXPECT_EQ(band.startsRun, e.startsRun) << i;
        EXPECT_EQ(band.endsRun, e.endsRun) << i;
        EXPECT_EQ(band.chosen, e.chosen) << i;
    }
    // Scrolled by a row, the run going on from above is labelled where the view starts.
    state.topRow = 1;
    const GridMarks scrolled = MarkSlotGrid(bank, layout, 272, 82, state); // slots 4 to 7
    ASSERT_EQ(scrolled.bands.size(), 2u);
    EXPECT_EQ(scrolled.bands[0].place, (PixelRect{0, 0, 68, 14}));
    EXPECT_TRUE(scrolled.bands[0].labelled);
    EXPECT_FALSE(scrolled.bands[0].startsRun);

    EXPECT_EQ(TexturesOver(bank, 2), (std::vector<std::int32_t>{3, 9}));
    EXPECT_EQ(TexturesOver(bank, 8), (std::vector<std::int32_t>{5}));
    EXPECT_TRUE(TexturesOver(bank, 13).empty());
}

TEST(SlotGridMarks, SlotsSayTheirRoleContentAndState)
{
    EditorBank bank;
    EXPECT_TRUE(MarkSlotGrid(bank, {64, 2, 14, 4}, 272, 82, {}).emptyBank);
    bank.slots[1].name = "COLOURS.PCX"; // named, its image unreadable
    bank.slots[2].name = "A.PCX";
    bank.slots[2].image = std::make_unique<DisplayImage>();
    bank.textures[0] = {1, 3, 3};
    GridMarksState state;
    state.cursor = 2;
    state.chosenTexture = 0;
    state.selection = SlotSpan{2, 3};
    const GridMarks marks = MarkSlotGrid(bank, {64, 2, 14, 4}, 272, 82, state);
    EXPECT_FALSE(marks.emptyBank);
    ASSERT_EQ(marks.slots.size(), 4u);
    const struct {
        SlotRole role;
        bool named, missing, selected, cursor, current;
    } expected[] = {{SlotRole::Palette, false, false, false, false, false},
                    {SlotRole::ColourGrid, true, true, false, false, false},
                    {SlotRole::Image, true, false, true, true, false},
                    {SlotRole::Image, false, false, true, false, true}};
    for (int i = 0; i < 4; ++i) {
        const SlotMark& slot = marks.slots[static_cast<std::size_t>(i)];
        EXPECT_EQ(slot.slot, i);
        EXPECT_EQ(slot.thumbnail, (PixelRect{68 * i + 2, 16, 64, 64})) << i;
        EXPECT_EQ(slot.role, expected[i].role) << i;
        EXPECT_EQ(slot.named, expected[i].named) << i;
        EXPECT_EQ(slot.missing, expected[i].missing) << i;
        EXPECT_EQ(slot.selected, expected[i].selected) << i;
        EXPECT_EQ(slot.cursor, expected[i].cursor) << i;
        EXPECT_EQ(slot.current, expected[i].current) << i;
    }
}
