#include "tests/editor/golden.h"

#include <cstdlib>
#include <cstring>

#include "lice/lice.h"
#include "lice/lice_png.h"

std::string CompareWithGolden(LICE_IBitmap* drawn, const char* name) {
  const char* data = getenv("GRITTLEBOX_TEST_DATA");
  const std::string path = std::string(data ? data : "tests/editor") + "/golden/" + name;
  const char* update = getenv("GRITTLEBOX_UPDATE_GOLDEN");
  if (update && strcmp(update, "1") == 0)
    return LICE_WritePNG(path.c_str(), drawn, true) ? "" : "could not write " + path;
  LICE_IBitmap* golden = LICE_LoadPNG(path.c_str());
  if (!golden) return "no golden image at " + path;
  int where[4] = {};
  const int diff = LICE_BitmapCmp(drawn, golden, where);
  delete golden;
  if (!diff) return "";
  return "differs from " + path + " in " + std::to_string(where[2]) + " x " +
         std::to_string(where[3]) + " pixels from (" + std::to_string(where[0]) + ", " +
         std::to_string(where[1]) + ")";
}
