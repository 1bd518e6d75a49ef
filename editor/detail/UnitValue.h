#pragma once
// A value held in 0..1 for drawing, NaN as 0: a first value from the plug-in
// arrives unclamped, and a knob or handle must stay on its sweep or track.
inline double HeldInUnit(double value) {
  return value != value || value < 0.0 ? 0.0 : value > 1.0 ? 1.0 : value;
}
