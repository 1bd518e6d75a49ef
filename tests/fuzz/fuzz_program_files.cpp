// Program and bank files read back by the plug-in base. The first byte picks
// the plug-in (state chunk or parameters only) and the file kind; the rest is
// the file. Whatever the bytes: a refused program changes nothing, every value
// stays in its range, and what is left saves to a program that loads into a
// fresh plug-in as the same state.
#include <vector>

#include "FuzzInput.h"
#include "tests/framework/test_plug.h"

namespace {

std::vector<unsigned char> Snapshot(IPlugBase* plug) {
  ByteChunk chunk;
  plug->SerializeState(&chunk);
  plug->SerializePresets(&chunk);
  return std::vector<unsigned char>(chunk.GetBytes(), chunk.GetBytes() + chunk.Size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t choice = input.Byte();
  const bool chunks = choice & 1, bank = choice & 2;
  const std::vector<uint8_t> file = input.Rest();
  const unsigned char* bytes =
      file.empty() ? reinterpret_cast<const unsigned char*>("") : file.data();
  const int length = static_cast<int>(file.size());

  auto plug = MakeProgramFilePlug(chunks, true);
  const std::vector<unsigned char> before = Snapshot(plug.get());
  const int current = plug->GetCurrentPresetIdx();
  if (bank) {
    plug->LoadBankFromBytes(bytes, length);
  } else if (!plug->LoadProgramFromBytes(bytes, length)) {
    FUZZ_CHECK(Snapshot(plug.get()) == before && plug->GetCurrentPresetIdx() == current);
    FUZZ_CHECK(plug->mProgramChanges == 0);
  }
  for (int i = 0; i < plug->NParams(); ++i) {
    const IParam* param = plug->GetParam(i);
    FUZZ_CHECK(param->Value() >= param->GetMin() && param->Value() <= param->GetMax());
  }
  for (int k = 0; k < plug->NPresets(); ++k)
    FUZZ_CHECK(memchr(plug->GetPreset(k)->mName, 0, IPreset::kNameLength) != nullptr);

  ByteChunk saved;
  FUZZ_CHECK(plug->MakeProgramFile(&saved));
  auto fresh = MakeProgramFilePlug(chunks, false);
  FUZZ_CHECK(fresh->LoadProgramFromBytes(saved.GetBytes(), saved.Size()));
  ByteChunk state, freshState;
  plug->SerializeState(&state);
  fresh->SerializeState(&freshState);
  FUZZ_CHECK(state.IsEqual(freshState));
  return 0;
}
