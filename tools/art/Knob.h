#pragma once
// Film-strip knobs: every frame drawn four times finer, over black and over
// white, and unmatted into a frame with a transparent surround.
#include "tools/art/Palette.h"

namespace art {

// Fills strip (resized to one frame wide, frameCount frames high) with the
// knob at evenly spaced values from minimum (first frame) to maximum.
void DrawKnobStrip(const KnobSpec& spec, LICE_MemBitmap* strip);

} // namespace art
