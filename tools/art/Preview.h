#pragma once
// The editor as a host shows it, to judge the art as a whole.
#include "tools/art/ArtSet.h"

namespace art {

// Background, knobs at their default values blended by their alpha, and the
// readouts' first texts in the editor's readout style; scaled up by scale
// (1 or more) with bilinear filtering.
void ComposePreview(ArtSet* art, int scale, LICE_MemBitmap* out);

// Each knob at five values from minimum to maximum, over the background
// where it sits, one row per knob, at twice the size.
void ComposeKnobSheet(ArtSet* art, LICE_MemBitmap* out);

} // namespace art
