#pragma once
// DXF colour numbers (the AutoCAD colour index) as red, green and blue: 1..9 the named colours,
// 10..249 24 hues in 15-degree steps, each in five brightnesses, full and half saturated, and
// 250..255 six greys.
#include "MeshSoup.h"

// `number` 1..255; any other number answers white.
MeshColour DxfIndexColour(int number);
