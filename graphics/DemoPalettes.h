#pragma once
// The demo game's flat face colours (its bank's second image): a row of 16 greys, then 15 hues
// round the colour wheel, each in 16 steps from dark to pale. Meshes imported without a bank take
// their colours from it.
#include "Palette.h"

PalettePlanes DemoFlatColourPalette();
