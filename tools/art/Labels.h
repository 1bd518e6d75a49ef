#pragma once
// Everything printed on the panel: the logotype, the knob names and the
// scale ends.
#include "tools/art/Painter.h"

namespace art {

void DrawLabels(Painter& p);

} // namespace art
