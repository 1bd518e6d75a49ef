// Program and bank files of the plug-in base: round trips of the four forms,
// every refusal (nothing changes), banks refused part-way, names, bounds,
// saving beside the target, the prompts, and mutated files.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/Trace.h"
#include "framework/detail/PresetFileIO.h"
#include "framework/detail/ProgramFileLayout.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "test_plug.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes BytesOf(const ByteChunk& chunk) {
  return Bytes(chunk.GetBytes(), chunk.GetBytes() + chunk.Size());
}
Bytes StateOf(IPlugBase* plug) {
  ByteChunk state;
  plug->SerializeState(&state);
  return BytesOf(state);
}
Bytes PresetsOf(IPlugBase* plug) {
  ByteChunk presets;
  plug->SerializePresets(&presets);
  return BytesOf(presets);
}
Bytes ProgramFile(IPlugBase* plug) {
  ByteChunk file;
  EXPECT_TRUE(plug->MakeProgramFile(&file));
  return BytesOf(file);
}
Bytes BankFile(IPlugBase* plug) {
  ByteChunk file;
  EXPECT_TRUE(plug->MakeBankFile(&file));
  return BytesOf(file);
}

void Put32(Bytes* file, size_t offset, uint32_t value) {
  for (int b = 0; b < 4; ++b)
    (*file)[offset + b] = static_cast<unsigned char>(value >> (24 - 8 * b));
}

class TempDir {
public:
  TempDir() {
    char pattern[] = "/tmp/program-files-test-XXXXXX";
    mPath = mkdtemp(pattern) ? pattern : "";
  }
  ~TempDir() {
    for (const std::string& name : Files()) remove(File(name).c_str());
    rmdir(mPath.c_str());
  }
  std::string File(const std::string& name) const { return mPath + "/" + name; }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(mPath.c_str())) {
      while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') names.push_back(e->d_name);
      closedir(d);
    }
    return names;
  }

private:
  std::string mPath;
};

TEST(ProgramFiles, EveryFormRoundTripsThroughAFile) {
  TempDir dir;
  for (bool chunks : {false, true}) {
    SCOPED_TRACE(chunks ? "chunk forms" : "parameter forms");
    auto saved = MakeProgramFilePlug(chunks, true);
    const std::string program = dir.File("p.fxp"), bank = dir.File("b.fxb");
    ASSERT_TRUE(saved->SaveProgramToFile(program.c_str()));
    ASSERT_TRUE(saved->SaveBankToFile(bank.c_str()));

    auto loaded = MakeProgramFilePlug(chunks, false);
    ASSERT_TRUE(loaded->LoadProgramFromFile(program.c_str()));
    EXPECT_EQ(StateOf(loaded.get()), StateOf(saved.get()));
    EXPECT_STREQ(loaded->GetPresetName(0), "Second") << "the current preset takes the file's name";
    EXPECT_EQ(ProgramFile(loaded.get()), ProgramFile(saved.get()));
    EXPECT_EQ(loaded->mProgramChanges, 1);

    auto banked = MakeProgramFilePlug(chunks, false);
    ASSERT_TRUE(banked->LoadBankFromFile(bank.c_str()));
    EXPECT_EQ(banked->mProgramChanges, 1);
    for (int k = 0; k < 2; ++k) {
      EXPECT_STREQ(banked->GetPresetName(k), saved->GetPresetName(k));
      EXPECT_TRUE(banked->GetPreset(k)->mChunk.IsEqual(saved->GetPreset(k)->mChunk)) << k;
    }
    if (chunks) {
      EXPECT_EQ(PresetsOf(banked.get()), PresetsOf(saved.get()));
    } else {
      // The bank's current program is restored, and the bank saves the same again.
      EXPECT_EQ(banked->GetCurrentPresetIdx(), 1);
      EXPECT_TRUE(saved->RestorePreset(1));
      EXPECT_EQ(StateOf(banked.get()), StateOf(saved.get()));
      EXPECT_EQ(BankFile(banked.get()), BankFile(saved.get()));
    }
  }
}

TEST(ProgramFiles, LayoutsHoldTheirFieldsWhereTheyBelong) {
  PresetPlug plug(3);
  plug.SetValues(24.0, false, 1, 2);
  plug.MakeDefaultPreset("A name that is longer than the field", 1);
  const Bytes program = ProgramFile(&plug);
  ASSERT_EQ(program.size(), 72u);
  const std::string name = std::string(plug.GetPresetName(0)).substr(0, 27) + '\0';
  EXPECT_EQ(std::string(program.begin() + 28, program.begin() + 56), name)
      << "27 characters and a NUL";
  EXPECT_EQ(Bytes(program.begin() + 56, program.begin() + 60), (Bytes{0x3f, 0x80, 0, 0}))
      << "1.0f, big-endian";

  const Bytes bank = BankFile(&plug);
  ASSERT_EQ(bank.size(), 156u + 3 * 72u);
  EXPECT_EQ(std::string(bank.begin() + 8, bank.begin() + 12), "FxBk");
  EXPECT_EQ(bank[15], 2) << "bank version";
  EXPECT_EQ(bank[27], 3) << "program count";
  EXPECT_EQ(Bytes(bank.begin() + 32, bank.begin() + 156), Bytes(124, 0));
  EXPECT_EQ(Bytes(bank.begin() + 156, bank.begin() + 228), program);
  // An empty preset's chunk holds no doubles: every value is the normalized 0.0.
  const Bytes empty(bank.begin() + 156 + 2 * 72 + 56, bank.end());
  EXPECT_EQ(Bytes(empty.begin(), empty.begin() + 4), (Bytes{0x3f, 0, 0, 0})) << "Gain 0 dB is 0.5";

  TextChunkPlug chunked;
  const Bytes chunkProgram = ProgramFile(&chunked);
  const Bytes header = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0};
  EXPECT_EQ(std::string(chunkProgram.begin() + 8, chunkProgram.begin() + 12), "FPCh");
  EXPECT_EQ(chunkProgram[7], chunkProgram.size()) << "byte size: chunk length + 60";
  EXPECT_EQ(chunkProgram[59], chunkProgram.size() - 60);
  EXPECT_EQ(Bytes(chunkProgram.begin() + 60, chunkProgram.begin() + 68), header);
  const Bytes chunkBank = BankFile(&chunked);
  EXPECT_EQ(std::string(chunkBank.begin() + 8, chunkBank.begin() + 12), "FBCh");
  EXPECT_EQ(chunkBank[7], chunkBank.size());
  EXPECT_EQ(Bytes(chunkBank.begin() + 160, chunkBank.begin() + 168), header);
}

struct Damage {
  const char* what;
  bool chunks;
  bool bank;
  std::function<void(Bytes*)> apply;
};

TEST(ProgramFiles, RefusedFilesChangeNothing) {
  const uint32_t nan = 0x7fc00000, inf = 0x7f800000;
  const std::vector<Damage> cases = {
      {"magic", false, false, [](Bytes* f) { Put32(f, 0, 0x43636e58); }},
      {"version 2", false, false, [](Bytes* f) { Put32(f, 12, 2); }},
      {"another plug-in", false, false, [](Bytes* f) { Put32(f, 16, 0x51); }},
      {"parameter count", false, false, [](Bytes* f) { Put32(f, 24, 3); }},
      {"parameter count 2^31-1", false, false, [](Bytes* f) { Put32(f, 24, INT32_MAX); }},
      {"unknown format", false, false, [](Bytes* f) { Put32(f, 8, 0x46785858); }},
      {"chunk program, no chunks", false, false, [](Bytes* f) { Put32(f, 8, 0x46504368); }},
      {"NaN", false, false, [nan](Bytes* f) { Put32(f, 64, nan); }},
      {"infinity", false, false, [inf](Bytes* f) { Put32(f, 56, inf | 0x80000000u); }},
      {"cut in the values", false, false, [](Bytes* f) { f->resize(71); }},
      {"cut in the header", false, false, [](Bytes* f) { f->resize(55); }},
      {"empty", false, false, [](Bytes* f) { f->clear(); }},
      {"chunk past the end", true, false, [](Bytes* f) { Put32(f, 56, f->size() - 59); }},
      {"negative chunk length", true, false, [](Bytes* f) { Put32(f, 56, 0xffffffffu); }},
      {"chunk length 2^31-1", true, false, [](Bytes* f) { Put32(f, 56, INT32_MAX); }},
      {"cut in the version header", true, false, [](Bytes* f) { f->resize(64), Put32(f, 56, 4); }},
      {"state the plug-in refuses", true, false,
       [](Bytes* f) { f->resize(f->size() - 2), Put32(f, 56, f->size() - 60); }},
      {"NaN in the chunk", true, false, [](Bytes* f) { (*f)[74] = 0xf8, (*f)[75] = 0x7f; }},
      {"bank magic", false, true, [](Bytes* f) { Put32(f, 0, 0); }},
      {"bank of another plug-in", false, true, [](Bytes* f) { Put32(f, 16, 7); }},
      {"155-byte bank", false, true, [](Bytes* f) { f->resize(155); }},
      {"program count 2^31-1", false, true, [](Bytes* f) { Put32(f, 24, INT32_MAX); }},
      {"more programs than presets", false, true, [](Bytes* f) { Put32(f, 24, 4); }},
      {"negative program count", false, true, [](Bytes* f) { Put32(f, 24, 0x80000000u); }},
      {"cut in the last program", false, true, [](Bytes* f) { f->pop_back(); }},
      {"chunk bank, no chunks", false, true, [](Bytes* f) { Put32(f, 8, 0x46424368); }},
      {"unknown bank format", false, true, [](Bytes* f) { Put32(f, 8, 0x46784258); }},
      {"program 0 magic", false, true, [](Bytes* f) { Put32(f, 156, 0); }},
      {"program 0 NaN", false, true, [nan](Bytes* f) { Put32(f, 212, nan); }},
      {"bank chunk past the end", true, true, [](Bytes* f) { Put32(f, 156, f->size()); }},
      {"bank version header cut", true, true, [](Bytes* f) { f->resize(164), Put32(f, 156, 4); }},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    auto plug = MakeProgramFilePlug(c.chunks, true);
    Bytes file = c.bank ? BankFile(plug.get()) : ProgramFile(plug.get());
    c.apply(&file);
    plug->GetParam(0)->SetNormalized(0.75);
    const Bytes state = StateOf(plug.get()), presets = PresetsOf(plug.get());
    const size_t notified = plug->mNotified.size();
    const int current = plug->GetCurrentPresetIdx();
    EXPECT_FALSE(c.bank ? plug->LoadBankFromBytes(file.data(), static_cast<int>(file.size()))
                        : plug->LoadProgramFromBytes(file.data(), static_cast<int>(file.size())));
    EXPECT_EQ(StateOf(plug.get()), state);
    EXPECT_EQ(PresetsOf(plug.get()), presets);
    EXPECT_EQ(plug->GetCurrentPresetIdx(), current);
    EXPECT_EQ(plug->mProgramChanges, 0);
    if (!c.chunks) {
      EXPECT_EQ(plug->mNotified.size(), notified);
    }
  }
}

TEST(ProgramFiles, ABankRefusedAtProgramKKeepsTheProgramsBefore) {
  PresetPlug saved(3);
  FillProgramFilePlug(&saved);
  Bytes bank = BankFile(&saved);
  Put32(&bank, 156 + 2 * 72 + 12, 2); // program 2: version 2

  PresetPlug plug(3);
  const Bytes untouched = BytesOf(plug.GetPreset(2)->mChunk);
  ClearTraceRecords();
  EXPECT_FALSE(plug.LoadBankFromBytes(bank.data(), static_cast<int>(bank.size())));
  EXPECT_STREQ(plug.GetPresetName(0), "First");
  EXPECT_STREQ(plug.GetPresetName(1), "Second");
  EXPECT_FALSE(plug.GetPreset(2)->mInitialized);
  EXPECT_EQ(BytesOf(plug.GetPreset(2)->mChunk), untouched);
  // The plug-in is left on the last program loaded, and follows it.
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(StateOf(&plug), BytesOf(saved.GetPreset(1)->mChunk));
  EXPECT_EQ(plug.mProgramChanges, 1);
#ifdef PLUG_TRACE_RECORDS
  bool traced = false;
  for (int i = 0; i < TraceRecordCount(); ++i) {
    TraceRecord record{};
    GetTraceRecord(i, &record);
    traced |= strstr(record.text, "program 2 refused") && strstr(record.text, "0 to 1 keep");
  }
  EXPECT_TRUE(traced);
#endif
  ClearTraceRecords();
}

// Remembers the value each parameter had when the plug-in was last told of it.
class FollowingPlug : public PresetPlug {
public:
  FollowingPlug() : PresetPlug(3) {}
  void OnParamChange(int idx) override {
    PresetPlug::OnParamChange(idx);
    mSeen[idx] = GetParam(idx)->Value();
  }
  std::vector<double> mSeen = std::vector<double>(kNumParams);
};

// Whole files that could still land in the wrong place: a preset whose own
// state cannot be restored still receives its program, a bank naming no
// existing current program leaves the plug-in following its last one, and a
// value without a normalized form is written as 0 so that the file loads.
TEST(ProgramFiles, WholeFilesLandWhereTheyBelong) {
  PresetPlug saved(3);
  FillProgramFilePlug(&saved);
  Bytes bank = BankFile(&saved);
  Put32(&bank, 28, 99); // the current program
  FollowingPlug plug;
  ByteChunk broken;
  ASSERT_TRUE(plug.MakePreset("Kept", 1.0, 1, 2, 1));
  ASSERT_TRUE(plug.MakePresetFromChunk("Broken", &broken));
  ASSERT_TRUE(plug.LoadBankFromBytes(bank.data(), static_cast<int>(bank.size())));
  EXPECT_STREQ(plug.GetPresetName(0), "First");
  EXPECT_STREQ(plug.GetPresetName(1), "Second");
  EXPECT_TRUE(plug.GetPreset(1)->mChunk.IsEqual(saved.GetPreset(1)->mChunk));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);
  EXPECT_EQ(StateOf(&plug), BytesOf(plug.GetPreset(2)->mChunk));
  EXPECT_EQ(plug.mSeen, plug.Values());

  RecordingBinding fixed(1, "1-1", 0, "Fixed", 0x10000, 0x46697864, 0x546d6b72, 0);
  fixed.GetParam(0)->InitDouble("Fixed", 1.0, 1.0, 1.0, 0.0); // no range to normalize in
  const Bytes program = ProgramFile(&fixed);
  EXPECT_EQ(Bytes(program.begin() + 56, program.end()), Bytes(4, 0));
  EXPECT_TRUE(fixed.LoadProgramFromBytes(program.data(), static_cast<int>(program.size())));
}

TEST(ProgramFiles, NamesAndValuesAreTakenAsTheFileHoldsThem) {
  PresetPlug plug(1);
  Bytes file = ProgramFile(&plug);
  memset(&file[28], 'n', 28);   // no terminator
  Put32(&file, 56, 0x3fc00000); // 1.5
  Put32(&file, 68, 0xbf000000); // -0.5
  ASSERT_TRUE(plug.LoadProgramFromBytes(file.data(), static_cast<int>(file.size())));
  EXPECT_EQ(std::string(plug.GetPresetName(0)), std::string(28, 'n'));
  EXPECT_TRUE(plug.GetPreset(0)->mInitialized);
  EXPECT_EQ(plug.GetParam(PresetPlug::kGain)->Value(), 24.0) << "clamped by SetNormalized";
  EXPECT_EQ(plug.GetParam(PresetPlug::kMode)->Value(), 0.0);
  EXPECT_FALSE(plug.mNotified.empty()) << "the plug-in follows the loaded values";

  Bytes bank = BankFile(&plug);
  Put32(&bank, 12, 99);
  EXPECT_TRUE(plug.LoadBankFromBytes(bank.data(), static_cast<int>(bank.size())))
      << "a bank's version field is not examined";
}

TEST(ProgramFiles, SavingReplacesTheTargetWholeOrLeavesItAlone) {
  TempDir dir;
  PresetPlug plug(2);
  const std::string target = dir.File("p.fxp");
  FILE* old = fopen(target.c_str(), "wb");
  ASSERT_NE(old, nullptr);
  fputs("old", old);
  fclose(old);
  ASSERT_TRUE(plug.SaveProgramToFile(target.c_str()));
  ByteChunk read;
  ASSERT_TRUE(ReadPresetFile(target.c_str(), &read));
  EXPECT_EQ(BytesOf(read), ProgramFile(&plug));
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"p.fxp"}) << "no temporary file is left";

  // A folder in the way: the rename fails, the folder and the rest stay.
  const std::string folder = dir.File("d.fxb");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  EXPECT_FALSE(plug.SaveBankToFile(folder.c_str()));
  EXPECT_FALSE(plug.SaveBankToFile(dir.File("missing/b.fxb").c_str()));
  EXPECT_FALSE(plug.SaveBankToFile(""));
  struct stat st;
  EXPECT_TRUE(stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
  rmdir(folder.c_str());
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"p.fxp"});
}

TEST(ProgramFiles, FilesThatCannotBeReadOrAreTooLargeAreRefused) {
  TempDir dir;
  PresetPlug plug(2);
  const std::string big = dir.File("big.fxb");
  FILE* file = fopen(big.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fclose(file);
  ASSERT_EQ(truncate(big.c_str(), kMaxPresetFileSize + 1), 0); // sparse: costs no disk
  EXPECT_FALSE(plug.LoadBankFromFile(big.c_str()));
  EXPECT_FALSE(plug.LoadProgramFromFile(dir.File("none.fxp").c_str()));
  EXPECT_FALSE(plug.LoadProgramFromFile("/tmp"));
  EXPECT_FALSE(plug.LoadProgramFromFile(nullptr));
  EXPECT_EQ(plug.mProgramChanges, 0);
}

// The editor's prompt as the base sees it: records each request, answers with
// the next scripted path ("" cancels).
class PromptingGraphics : public IGraphicsHeadless {
public:
  explicit PromptingGraphics(IPlugBase* plug) : IGraphicsHeadless(plug, 4, 4) {}
  void PromptForFile(WDL_String* file, EFileAction action, WDL_String* dir,
                     char* extensions) override {
    mAsked.push_back(std::string(action == kFileSave ? "save " : "open ") + file->Get() + "|" +
                     dir->Get() + "|" + extensions);
    file->Set(mAnswer.c_str());
    dir->Set("/chosen/");
  }
  std::vector<std::string> mAsked;
  std::string mAnswer;
};

TEST(ProgramFiles, PromptingFormsAskTheEditorAndNeedOne) {
  TempDir dir;
  PresetPlug plug(2);
  EXPECT_FALSE(plug.SaveProgramAsFXP("x"));
  EXPECT_FALSE(plug.LoadBankFromFXB()) << "no editor";
  PromptingGraphics* gui = new PromptingGraphics(&plug);
  plug.AttachGraphics(gui);
  EXPECT_FALSE(plug.LoadProgramFromFXP()) << "cancelled";
  gui->mAnswer = dir.File("a.fxp");
  EXPECT_TRUE(plug.SaveProgramAsFXP("Mine.fxp"));
  EXPECT_TRUE(plug.LoadProgramFromFXP());
  gui->mAnswer = dir.File("a.fxb");
  EXPECT_TRUE(plug.SaveBankAsFXB(nullptr));
  EXPECT_TRUE(plug.LoadBankFromFXB());
  EXPECT_EQ(gui->mAsked, (std::vector<std::string>{"open ||fxp", "save Mine.fxp|/chosen/|fxp",
                                                   "open |/chosen/|fxp", "save |/chosen/|fxb",
                                                   "open |/chosen/|fxb"}));
}

// Mutated files of every form: whatever a loader accepts leaves the plug-in
// with values in range and a state that saves and loads again.
TEST(ProgramFiles, MutatedFilesNeverBreakTheLoaders) {
  std::mt19937 random(20240607);
  for (bool chunks : {false, true}) {
    auto source = MakeProgramFilePlug(chunks, true);
    const Bytes seeds[2] = {ProgramFile(source.get()), BankFile(source.get())};
    for (int round = 0; round < 400; ++round) {
      const bool bank = round & 1;
      Bytes file = seeds[bank];
      for (int edits = 1 + random() % 4; edits > 0; --edits) {
        const size_t at = random() % file.size();
        switch (random() % 3) {
        case 0:
          file[at] = static_cast<unsigned char>(random());
          break;
        case 1:
          file.resize(at);
          break;
        default:
          file.insert(file.begin() + at, 4, static_cast<unsigned char>(random()));
          break;
        }
        if (file.empty()) file.push_back(0);
      }
      auto plug = MakeProgramFilePlug(chunks, true);
      if (bank)
        plug->LoadBankFromBytes(file.data(), static_cast<int>(file.size()));
      else
        plug->LoadProgramFromBytes(file.data(), static_cast<int>(file.size()));
      for (int i = 0; i < plug->NParams(); ++i) {
        const IParam* param = plug->GetParam(i);
        ASSERT_TRUE(param->Value() >= param->GetMin() && param->Value() <= param->GetMax());
      }
      const Bytes again = ProgramFile(plug.get());
      auto fresh = MakeProgramFilePlug(chunks, false);
      ASSERT_TRUE(fresh->LoadProgramFromBytes(again.data(), static_cast<int>(again.size())));
      ASSERT_EQ(StateOf(fresh.get()), StateOf(plug.get())) << round;
    }
  }
}

} // namespace
