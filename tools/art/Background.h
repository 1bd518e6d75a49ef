#pragma once
// The editor's background: panel, scales, readout slots, the badge over the
// link area and every printed label.
#include "lice/lice.h"

namespace art {

// Resizes bg to the editor and draws the whole background into it.
void DrawBackground(LICE_MemBitmap* bg);

} // namespace art
