#pragma once
// Drawing the slot grid's thumbnails and the texture preview into 8-bit images, the window
// showing them as they are. The view image is a DisplayImage (rows bottom up); slot images hold
// their rows in file order, first row on top. The marks over the thumbnails (numbers, bands,
// frames) are drawn by the window in full colour, from SlotGridMarks.
#include "AnimTexture.h"
#include "DisplayImage.h"
#include "EditorBank.h"
#include "SlotGrid.h"

// Fills the view with colour 0, then draws the thumbnail of every slot whose cell meets the view:
// the image sampled at whole-pixel steps (every second pixel for 64, each pixel repeated for 256
// and up), colour 0 included.
void DrawSlotGrid(DisplayImage& view, const EditorBank& bank, const GridLayout& layout, int topRow);

// Copies the image the chosen texture shows now into `preview` (128 x 128); false, leaving the
// preview as it was, when that slot is out of range or holds no image.
bool DrawPreview(DisplayImage& preview, const EditorBank& bank, const AnimTexture& chosen);
