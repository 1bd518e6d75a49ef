#pragma once
// "GRITTLEBOX" in the accent colour, top left, its print a little worn.
#include "tools/art/Painter.h"

namespace art {

// On the supersampled canvas, so that the wear is finer than a pixel.
void DrawLogotype(Painter& fine);

} // namespace art
