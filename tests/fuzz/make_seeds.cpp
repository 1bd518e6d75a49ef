// Writes the seed corpus of every fuzz target from our own code: states the
// effect saves, texts its controller shows, chunks, banks, program and bank
// files the framework writes, PNGs from the PNG writer and the PNG test
// files' builder, and a few texts for the text targets.
// Usage: fuzz_make_seeds <corpus folder>.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzedEffect.h"
#include "lice/lice.h"
#include "lice/lice_png.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "tests/framework/test_plug.h"
#include "tests/lice/png_test_files.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using Bytes = std::vector<uint8_t>;
std::string gRoot;

bool Write(const std::string& target, const std::string& name, const Bytes& bytes) {
  const std::string folder = gRoot + "/" + target;
  mkdir(folder.c_str(), 0755);
  FILE* file = fopen((folder + "/" + name).c_str(), "wb");
  if (!file) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

template <class T> void Append(Bytes* bytes, const T& value) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(&value);
  bytes->insert(bytes->end(), p, p + sizeof value);
}
void AppendText(Bytes* bytes, const char* text) {
  bytes->insert(bytes->end(), text, text + strlen(text));
}
Bytes ChunkBytes(const ByteChunk& chunk) {
  return Bytes(chunk.GetBytes(), chunk.GetBytes() + chunk.Size());
}

bool StateSeeds() {
  struct Setting {
    const char* name;
    double in, out, distort, bypass;
  };
  const Setting settings[] = {{"default", 0.5, 0.5, 0.5, 0.0},
                              {"hot-bypassed", 0.9, 0.2, 1.0, 1.0},
                              {"quiet", 0.0, 1.0, 0.0, 0.0}};
  bool ok = true;
  for (const Setting& s : settings) {
    FuzzedEffect effect;
    IEditController* controller = effect.Controller();
    controller->setParamNormalized(0, s.in);
    controller->setParamNormalized(1, s.out);
    controller->setParamNormalized(2, s.distort);
    controller->setParamNormalized(0x62706173, s.bypass);
    Bytes state = effect.Save();
    ok &= Write("vst3_state", s.name, state);
    // Older saves end after the chunk; damaged ones end inside it.
    if (state.size() > 4)
      ok &= Write("vst3_state", std::string(s.name) + "-no-bypass",
                  Bytes(state.begin(), state.end() - 4));
    if (state.size() > 12)
      ok &=
          Write("vst3_state", std::string(s.name) + "-cut", Bytes(state.begin(), state.end() - 12));
  }
  return ok;
}

Bytes ParamTextSeed(uint8_t idChoice, double value, const char16* text) {
  Bytes bytes{idChoice};
  Append(&bytes, value);
  for (; *text; ++text) Append(&bytes, *text);
  return bytes;
}

// The controller's own display texts, and a few a user might type.
bool ParamTextSeeds() {
  FuzzedEffect effect;
  IEditController* controller = effect.Controller();
  const ParamID ids[] = {0, 1, 2, 0x62706173};
  bool ok = true;
  for (uint8_t choice = 0; choice < 4; ++choice) {
    for (double value : {0.0, 0.25, 1.0}) {
      String128 text = {};
      controller->getParamStringByValue(ids[choice], value, text);
      ok &= Write("vst3_param_text",
                  "shown-" + std::to_string(choice) + "-" + std::to_string(int(value * 100)),
                  ParamTextSeed(choice, value, text));
    }
  }
  const char16* typed[] = {u" -3.5", u"1e3", u"abc", u"on", u"12,5 dB"};
  for (size_t i = 0; i < sizeof typed / sizeof typed[0]; ++i)
    ok &= Write("vst3_param_text", "typed-" + std::to_string(i),
                ParamTextSeed(static_cast<uint8_t>(i % 4), 0.5, typed[i]));
  return ok;
}

bool ChunkSeeds() {
  PresetPlug plug;
  bool ok = true;
  const double settings[][4] = {{0.0, 1, 4, 0}, {-24.0, 0, 16, 2}, {7.3, 1, 1, 1}};
  for (size_t i = 0; i < 3; ++i) {
    const double* v = settings[i];
    plug.SetValues(v[0], v[1] != 0, static_cast<int>(v[2]), static_cast<int>(v[3]));
    ByteChunk chunk;
    plug.SerializeParams(&chunk);
    Bytes seed{1}; // start position 0
    const Bytes values = ChunkBytes(chunk);
    seed.insert(seed.end(), values.begin(), values.end());
    ok &= Write("state_chunk", "values-" + std::to_string(i), seed);
  }
  // A chunk behind an 8-byte header, as plug-ins with their own chunks store it.
  ByteChunk headed;
  plug.InitChunkWithIPlugVer(&headed);
  plug.SerializeParams(&headed);
  Bytes seed{9};
  const Bytes values = ChunkBytes(headed);
  seed.insert(seed.end(), values.begin(), values.end());
  ok &= Write("state_chunk", "after-header", seed);

  PresetPlug bankPlug;
  bankPlug.MakePreset("Bright", 12.0, 1, 2, 1);
  bankPlug.MakePresetFromNamedParams("Dark", 1, PresetPlug::kGain, -18.0);
  ByteChunk bank;
  bankPlug.SerializePresets(&bank);
  ok &= Write("preset_bank", "two-made-two-empty", ChunkBytes(bank));
  bankPlug.MakeDefaultPreset("Init", 2);
  ByteChunk full;
  bankPlug.SerializePresets(&full);
  ok &= Write("preset_bank", "four-made", ChunkBytes(full));

  // ByteChunk reads: a chunk of each kind of value, then reads of each kind.
  ByteChunk mixed;
  const int32_t count = 42;
  const double gain = -6.5;
  mixed.Put(&count);
  mixed.PutStr("Grittlebox");
  mixed.PutBool(true);
  mixed.Put(&gain);
  Bytes reads;
  Append(&reads, static_cast<uint16_t>(mixed.Size()));
  const Bytes mixedBytes = ChunkBytes(mixed);
  reads.insert(reads.end(), mixedBytes.begin(), mixedBytes.end());
  const uint8_t kinds[] = {1, 0x84, 0x85, 0x82, 3, 4};
  for (uint8_t kind : kinds) {
    reads.push_back(kind);
    Append(&reads, static_cast<int32_t>(0));
  }
  ok &= Write("byte_chunk", "mixed-values", reads);
  return ok;
}

// Programs and banks our own writer makes, of both plug-in kinds, behind the
// byte that picks the plug-in and the file kind.
bool ProgramFileSeeds() {
  bool ok = true;
  for (uint8_t choice = 0; choice < 4; ++choice) {
    const bool chunks = choice & 1, bank = choice & 2;
    auto plug = MakeProgramFilePlug(chunks, true);
    ByteChunk file;
    ok &= bank ? plug->MakeBankFile(&file) : plug->MakeProgramFile(&file);
    Bytes seed{choice};
    const Bytes bytes = ChunkBytes(file);
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    ok &= Write("program_files",
                std::string(chunks ? "chunk-" : "params-") + (bank ? "bank" : "program"), seed);
  }
  return ok;
}

Bytes FileBytes(const std::string& path) {
  Bytes bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return bytes;
  for (int c; (c = fgetc(file)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
  fclose(file);
  return bytes;
}

TestPngImage Image(int w, int h, int depth, int type) {
  TestPngImage image;
  image.width = w;
  image.height = h;
  image.bitDepth = depth;
  image.colorType = type;
  const int channels = type == 0 || type == 3 ? 1 : type == 4 ? 2 : type == 2 ? 3 : 4;
  const int top = type == 3 ? 3 : (1 << depth) - 1;
  for (int i = 0; i < w * h * channels; ++i)
    image.samples.push_back(static_cast<uint16_t>((i * 37) % (top + 1)));
  return image;
}

bool PngSeeds() {
  bool ok = true;
  LICE_MemBitmap bm(5, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      LICE_PutPixel(&bm, x, y, LICE_RGBA(x * 50, y * 60, 200, 40 + x * 40), 1.0f, 0);
  const std::string path = gRoot + "/written.png";
  for (bool alpha : {true, false}) {
    ok &= LICE_WritePNG(path.c_str(), &bm, alpha);
    ok &= Write("png", alpha ? "written-rgba" : "written-rgb", FileBytes(path));
    remove(path.c_str());
  }
  TestPngImage palette = Image(4, 3, 2, 3);
  palette.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
  palette.paletteAlpha = {255, 128, 0};
  ok &= Write("png", "palette-2bit-trns", EncodeTestPng(palette));
  ok &= Write("png", "grey-1bit", EncodeTestPng(Image(9, 2, 1, 0)));
  TestPngImage keyed = Image(3, 3, 16, 2);
  keyed.hasColorKey = true;
  ok &= Write("png", "rgb-16bit-key", EncodeTestPng(keyed));
  TestPngImage interlaced = Image(6, 5, 8, 4);
  interlaced.interlaced = true;
  ok &= Write("png", "grey-alpha-interlaced", EncodeTestPng(interlaced));
  return ok;
}

// Rectangle, drawing flags, count choice and text, as TextFuzzCase reads them.
Bytes TextCase(RECT r, uint16_t flags, bool counted, const char* text) {
  Bytes bytes;
  Append(&bytes, r.left);
  Append(&bytes, r.top);
  Append(&bytes, r.right);
  Append(&bytes, r.bottom);
  Append(&bytes, flags);
  bytes.push_back(counted ? 1 : 0);
  AppendText(&bytes, text);
  return bytes;
}

bool TextSeeds() {
  struct Text {
    const char* name;
    RECT rect;
    uint16_t flags;
    const char* text;
  };
  const Text texts[] = {
      {"plain", {2, 2, 70, 30}, 0, "Grittlebox 3.50 dB"},
      {"prefix", {0, 0, 80, 40}, DT_CENTER | DT_VCENTER, "a&&b &x&"},
      {"lines", {5, -3, 60, 35}, DT_RIGHT | DT_BOTTOM, "one\r\ntwo\nthree"},
      {"utf8",
       {-10, 4, 50, 20},
       DT_SINGLELINE | DT_NOPREFIX,
       "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xC3\xC0 \xE2\x82"},
      {"unclipped", {60, 30, 90, 50}, DT_NOCLIP, "WWWW"},
  };
  bool ok = true;
  uint8_t choice = 0;
  for (const Text& t : texts) {
    Bytes gdi{choice};
    const Bytes tc = TextCase(t.rect, t.flags, choice & 1, t.text);
    gdi.insert(gdi.end(), tc.begin(), tc.end());
    ok &= Write("gdi_text", t.name, gdi);
    // Font flags, font choice (with bitmap kind and background mode), alpha, spacing.
    Bytes cached;
    Append(&cached, static_cast<uint16_t>(choice * 0x43));
    cached.push_back(static_cast<uint8_t>(choice * 0x29));
    cached.push_back(static_cast<uint8_t>(255 - choice * 40));
    cached.push_back(static_cast<uint8_t>(choice));
    cached.insert(cached.end(), tc.begin(), tc.end());
    ok &= Write("cached_font", t.name, cached);
    ++choice;
  }
  return ok;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  gRoot = argv[1];
  mkdir(gRoot.c_str(), 0755);
  const bool ok = StateSeeds() && ParamTextSeeds() && ChunkSeeds() && ProgramFileSeeds() &&
                  PngSeeds() && TextSeeds();
  if (!ok) fprintf(stderr, "could not write every seed into %s\n", gRoot.c_str());
  return ok ? 0 : 1;
}
