#pragma once
// The demo bank's pictures, drawn in true colour; MakeDemoBank quantises them onto the palette.
#include "Procedural.h"

Canvas DrawBricks();
Canvas DrawWood();
Canvas DrawStone();
Canvas DrawMetal();
Canvas DrawGrass();
Canvas DrawSky();
Canvas DrawSand();
Canvas DrawTiles();
Canvas DrawMarble();
Canvas DrawRoof();
Canvas DrawLava();
Canvas DrawCrate();
Canvas DrawRust();
// A metal grating: `hole` marks the pixels left see-through (colour 0).
Canvas DrawGrate(std::vector<bool>& hole);
// Frame `frame` of 8 of a water surface that loops seamlessly.
Canvas DrawWater(int frame);
// Frame `frame` of 4 of a conveyor belt whose chevrons move up by 8 pixels a frame.
Canvas DrawConveyor(int frame);
