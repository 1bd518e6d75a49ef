// A preset bank read back with UnserializePresets: names stay inside their
// field, every preset holds a state the plug-in can restore, and a bank the
// plug-in serializes afterwards reads into a fresh plug-in as the same bank.
#include <cmath>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "tests/framework/test_plug.h"

namespace {

// Two presets made by the plug-in, two left uninitialised, as a plug-in's
// constructor leaves them.
void MakeFactoryPresets(PresetPlug* plug) {
  plug->MakePreset("Warm", 3.0, 1, 8, 2);
  plug->MakePreset("Cold", -12.5, 0, 1, 0);
}

void CheckPresets(const PresetPlug& plug) {
  for (int i = 0; i < plug.NPresets(); ++i) {
    const IPreset* preset = plug.GetPreset(i);
    FUZZ_CHECK(memchr(preset->mName, 0, sizeof preset->mName) != nullptr);
    if (!preset->mInitialized) continue;
    FUZZ_CHECK(preset->mChunk.Size() == 8 * plug.NParams());
    for (int p = 0; p < plug.NParams(); ++p) {
      double value = 0.0;
      preset->mChunk.Get(&value, 8 * p);
      const IParam* param = plug.GetParam(p);
      FUZZ_CHECK(std::isfinite(value) && value >= param->GetMin() && value <= param->GetMax());
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteChunk bank;
  bank.PutBytes(data, static_cast<int>(size));
  PresetPlug plug;
  MakeFactoryPresets(&plug);
  const int pos = plug.UnserializePresets(&bank, 0);
  FUZZ_CHECK(pos <= bank.Size());
  CheckPresets(plug);

  ByteChunk saved;
  FUZZ_CHECK(plug.SerializePresets(&saved));
  PresetPlug fresh;
  FUZZ_CHECK(fresh.UnserializePresets(&saved, 0) == saved.Size());
  ByteChunk again;
  FUZZ_CHECK(fresh.SerializePresets(&again) && again.IsEqual(saved));
  return 0;
}
