// grittlebox-art: draws the editor's four PNG files into a folder and, on
// request, pictures of the editor composed from them.
#include <cstdio>
#include <cstring>
#include <string>

#include "lice/lice_png.h"
#include "tools/art/ArtSet.h"
#include "tools/art/Preview.h"

namespace {

struct Options {
  std::string outDir;
  std::string preview;
  std::string preview2x;
  std::string sheet;
};

void PrintUsage() {
  fprintf(stderr, "usage: grittlebox-art OUTDIR [--preview FILE.png] [--preview-2x FILE.png]\n"
                  "                      [--sheet FILE.png]\n"
                  "  Draws Grittlebox_Background.png and the three knob strips into OUTDIR;\n"
                  "  --preview writes the editor as a host shows it, --preview-2x the same at\n"
                  "  twice the size, --sheet each knob at five values.\n");
}

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (!strcmp(argv[i], "--preview") && hasValue) {
      o->preview = argv[++i];
    } else if (!strcmp(argv[i], "--preview-2x") && hasValue) {
      o->preview2x = argv[++i];
    } else if (!strcmp(argv[i], "--sheet") && hasValue) {
      o->sheet = argv[++i];
    } else if (argv[i][0] != '-' && o->outDir.empty()) {
      o->outDir = argv[i];
    } else {
      return false;
    }
  }
  return !o->outDir.empty();
}

bool WritePicture(LICE_MemBitmap* picture, const std::string& path) {
  if (LICE_WritePNG(path.c_str(), picture, false)) return true;
  fprintf(stderr, "grittlebox-art: cannot write %s\n", path.c_str());
  return false;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    PrintUsage();
    return 2;
  }
  art::ArtSet set;
  art::DrawArtSet(&set);
  std::string error;
  if (!art::WriteArtSet(&set, options.outDir, &error)) {
    fprintf(stderr, "grittlebox-art: %s\n", error.c_str());
    return 1;
  }
  const struct {
    const std::string& path;
    void (*compose)(art::ArtSet*, LICE_MemBitmap*);
  } pictures[] = {
      {options.preview, [](art::ArtSet* s, LICE_MemBitmap* out) { ComposePreview(s, 1, out); }},
      {options.preview2x, [](art::ArtSet* s, LICE_MemBitmap* out) { ComposePreview(s, 2, out); }},
      {options.sheet, art::ComposeKnobSheet}};
  for (const auto& p : pictures) {
    if (p.path.empty()) continue;
    LICE_MemBitmap picture;
    p.compose(&set, &picture);
    if (!WritePicture(&picture, p.path)) return 1;
  }
  return 0;
}
