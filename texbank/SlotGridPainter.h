#pragma once
// Drawing the slot grid and the texture preview into 8-bit images, the window showing them as
// they are. The view image is a DisplayImage (rows bottom up); slot images hold their rows in
// file order, first row on top.
#include "BankEditing.h"
#include "DisplayImage.h"
#include "EditorBank.h"

#include <cstdint>

struct GridPaint {
    int columns = 1;
    int topRow = 0;            // the grid row shown at the top of the view
    std::int32_t cursor = 0;   // the slot under the mouse
    AnimTexture chosen = EditorBank::Undefined;
    FrameColours frames;
    std::uint8_t paletteSlotFrame = 0; // the cursor frame's colour over slot 0, new at every repaint
};

// Fills the view with colour 0, then for every slot whose cell meets the view: its thumbnail
// (every second pixel of every second row, colour 0 included), a red frame when it is the first
// or last image of the chosen texture, a green one when it is the image shown now, and the white
// cursor frame (over slot 0 the flickering one). Later frames cover earlier ones.
void DrawSlotGrid(DisplayImage& view, const EditorBank& bank, const GridPaint& paint);

// Copies the image the chosen texture shows now into `preview` (128 x 128); false, leaving the
// preview as it was, when that slot is out of range or holds no image.
bool DrawPreview(DisplayImage& preview, const EditorBank& bank, const AnimTexture& chosen);
