#pragma once
// Cooling vents left of Distort: the box's hardware look, and a counterweight
// to the badge on the right.
#include "tools/art/Painter.h"

namespace art {

// On the supersampled canvas.
void DrawVents(Painter& fine);

} // namespace art
