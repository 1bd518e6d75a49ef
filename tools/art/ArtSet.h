#pragma once
// The four bitmaps the editor loads, drawn together and written by name.
#include <string>

#include "lice/lice.h"

namespace art {

struct ArtSet {
  LICE_MemBitmap background;
  LICE_MemBitmap inKnob;
  LICE_MemBitmap outKnob;
  LICE_MemBitmap distortKnob;
};

void DrawArtSet(ArtSet* art);
// Writes the four PNG files into dir; the error names the file that failed.
bool WriteArtSet(ArtSet* art, const std::string& dir, std::string* error);

} // namespace art
