#include "tools/art/ArtSet.h"

#include "lice/lice_png.h"
#include "tools/art/Background.h"
#include "tools/art/Knob.h"
#include "tools/art/Palette.h"

namespace art {

void DrawArtSet(ArtSet* art) {
  DrawBackground(&art->background);
  DrawKnobStrip(kInKnob, &art->inKnob);
  DrawKnobStrip(kOutKnob, &art->outKnob);
  DrawKnobStrip(kDistortKnob, &art->distortKnob);
}

bool WriteArtSet(ArtSet* art, const std::string& dir, std::string* error) {
  const struct {
    const char* name;
    LICE_IBitmap* bitmap;
  } files[] = {{"Grittlebox_Background.png", &art->background},
               {kInKnob.fileName, &art->inKnob},
               {kOutKnob.fileName, &art->outKnob},
               {kDistortKnob.fileName, &art->distortKnob}};
  for (const auto& f : files) {
    const std::string path = dir + "/" + f.name;
    // The background replaces the editor's canvas, so it needs no alpha.
    if (!LICE_WritePNG(path.c_str(), f.bitmap, f.bitmap != &art->background)) {
      *error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

} // namespace art
