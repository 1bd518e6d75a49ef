#pragma once
// The small print on the panel: the subtitle, the maker's name, the knob
// names and the scale ends.
#include "tools/art/Painter.h"

namespace art {

void DrawLabels(Painter& p);

} // namespace art
