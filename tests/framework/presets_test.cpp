// Preset list operations of the plug-in base, on a test plug-in with one
// parameter of each kind.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "framework/Trace.h"
#include "probed_graphics.h"
#include "test_plug.h"

namespace {

using Values = std::vector<double>;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class TempFile {
public:
  TempFile() {
    char name[] = "/tmp/presets_testXXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    mPath = name;
  }
  ~TempFile() { remove(mPath.c_str()); }
  const char* Path() const { return mPath.c_str(); }

private:
  std::string mPath;
};

TEST(PresetMakers, MakePresetReadsIntsForDiscreteKindsAndDoublesOtherwise) {
  PresetPlug plug;
  ASSERT_TRUE(plug.MakePreset("Loud", 6.5, 0, 12, 2));
  const IPreset* preset = plug.GetPreset(0);
  EXPECT_TRUE(preset->mInitialized);
  EXPECT_STREQ(preset->mName, "Loud");
  EXPECT_EQ(DoublesOf(preset->mChunk), (Values{6.5, 0.0, 12.0, 2.0}));
  EXPECT_FALSE(plug.GetPreset(1)->mInitialized);
}

TEST(PresetMakers, FillPresetsInOrderUntilNoneIsLeft) {
  PresetPlug plug(2);
  EXPECT_TRUE(plug.MakePreset("One", 1.0, 1, 1, 0));
  EXPECT_TRUE(plug.MakePreset("Two", 2.0, 1, 2, 1));
  EXPECT_FALSE(plug.MakePreset("Three", 3.0, 1, 3, 2));
  EXPECT_STREQ(plug.GetPresetName(0), "One");
  EXPECT_STREQ(plug.GetPresetName(1), "Two");
  EXPECT_EQ(plug.NPresets(), 2);
}

TEST(PresetMakers, NamedParamsFillTheRestFromCurrentValues) {
  PresetPlug plug;
  plug.SetValues(-3.0, false, 7, 1);
  ASSERT_TRUE(plug.MakePresetFromNamedParams("Named", 2, PresetPlug::kVoices, 9, PresetPlug::kGain,
                                             9.999e-8));
  // A value equal to any internal "unset" marker must survive as given.
  EXPECT_EQ(DoublesOf(plug.GetPreset(0)->mChunk), (Values{9.999e-8, 0.0, 9.0, 1.0}));
}

TEST(PresetMakers, NamedParamsWithAnUnknownIndexAreRefused) {
  PresetPlug plug;
  EXPECT_FALSE(plug.MakePresetFromNamedParams("Bad", 2, PresetPlug::kGain, 1.0, 17, 2.0));
  EXPECT_FALSE(plug.MakePresetFromNamedParams("Bad", 1, -1, 2.0));
  EXPECT_FALSE(plug.GetPreset(0)->mInitialized) << "a refused preset takes no slot";
}

TEST(PresetMakers, FromChunkCopiesTheBytes) {
  PresetPlug plug;
  ByteChunk chunk;
  const unsigned char bytes[5] = {1, 2, 3, 4, 5};
  chunk.PutBytes(bytes, 5);
  ASSERT_TRUE(plug.MakePresetFromChunk("Raw", &chunk));
  EXPECT_TRUE(plug.GetPreset(0)->mChunk.IsEqual(chunk));
  EXPECT_FALSE(plug.MakePresetFromChunk("Null", nullptr));
  EXPECT_FALSE(plug.GetPreset(1)->mInitialized);
}

TEST(PresetMakers, FromBlobDecodesIntoAZeroFilledChunkOfTheGivenSize) {
  PresetPlug plug(6);
  ASSERT_TRUE(plug.MakePresetFromBlob("a", "AAAA", 3));
  ASSERT_TRUE(plug.MakePresetFromBlob("b", "AAAA", 2));
  ASSERT_TRUE(plug.MakePresetFromBlob("c", "QUJD", 5));
  ASSERT_TRUE(plug.MakePresetFromBlob("d", "QUI=QUJD", 4));
  EXPECT_FALSE(plug.MakePresetFromBlob("e", "AAAA", -1));
  const ByteChunk& a = plug.GetPreset(0)->mChunk;
  ASSERT_EQ(a.Size(), 3);
  EXPECT_EQ(a.GetBytes()[0] | a.GetBytes()[1] | a.GetBytes()[2], 0);
  EXPECT_EQ(plug.GetPreset(1)->mChunk.Size(), 2);
  const ByteChunk& c = plug.GetPreset(2)->mChunk;
  ASSERT_EQ(c.Size(), 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.GetBytes()), 5), std::string("ABC\0\0", 5));
  const ByteChunk& d = plug.GetPreset(3)->mChunk;
  ASSERT_EQ(d.Size(), 4);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.GetBytes()), 4), std::string("AB\0\0", 4))
      << "decoding stops at the first '='";
  EXPECT_FALSE(plug.GetPreset(4)->mInitialized);
}

TEST(PresetMakers, LongNamesAreCutTo255Bytes) {
  PresetPlug plug;
  const std::string longName(400, 'n');
  ASSERT_TRUE(plug.MakePreset(longName.c_str(), 0.0, 1, 4, 0));
  EXPECT_EQ(std::string(plug.GetPresetName(0)), longName.substr(0, 255));
}

TEST(DefaultPresets, UserPresetNameCountsNamesContainingUserPreset) {
  PresetPlug plug(2);
  plug.MakePreset("user preset 1", 0.0, 1, 4, 0);
  plug.MakePreset("my user preset", 0.0, 1, 4, 0);
  WDL_PtrList<IPreset> presets;
  char name[IPreset::kNameLength];
  IPlugBase::MakeDefaultUserPresetName(&presets, name);
  EXPECT_STREQ(name, "user preset 1");
  presets.Add(plug.GetPreset(0));
  presets.Add(plug.GetPreset(1));
  IPlugBase::MakeDefaultUserPresetName(&presets, name);
  EXPECT_STREQ(name, "user preset 3");
  presets.Empty(false);
}

TEST(DefaultPresets, MakeDefaultAndEnsureDefaultCaptureTheCurrentState) {
  PresetPlug plug(4);
  plug.SetValues(1.5, true, 3, 2);
  plug.MakePreset("Kept", 0.0, 1, 4, 0);
  plug.MakeDefaultPreset(nullptr, 2);
  EXPECT_STREQ(plug.GetPresetName(1), "Empty");
  EXPECT_EQ(DoublesOf(plug.GetPreset(2)->mChunk), (Values{1.5, 1.0, 3.0, 2.0}));
  EXPECT_FALSE(plug.GetPreset(3)->mInitialized);
  plug.EnsureDefaultPreset();
  EXPECT_TRUE(plug.GetPreset(3)->mInitialized);
  EXPECT_STREQ(plug.GetPresetName(3), "Empty");
  EXPECT_STREQ(plug.GetPresetName(0), "Kept");
  EXPECT_EQ(IPlugBase::GetNextUninitializedPreset(nullptr), nullptr);
}

TEST(DefaultPresets, PruneKeepsOnlyInitialisedPresetsInOrder) {
  PresetPlug plug(5);
  plug.MakePreset("A", 0.0, 1, 4, 0);
  plug.MakePreset("B", 0.0, 1, 4, 0);
  plug.GetPreset(0)->mInitialized = false;
  plug.PruneUninitializedPresets();
  ASSERT_EQ(plug.NPresets(), 1);
  EXPECT_STREQ(plug.GetPresetName(0), "B");
}

TEST(RestorePreset, RestoresValuesNotifiesAndRedraws) {
  PresetPlug plug;
  auto* graphics = new ProbedGraphics(&plug);
  plug.AttachGraphics(graphics);
  plug.MakePreset("P0", 0.0, 1, 4, 0);
  plug.MakePreset("P1", -12.0, 0, 16, 2);
  plug.mNotified.clear();
  graphics->ClearValues();
  ASSERT_TRUE(plug.RestorePreset(1));
  EXPECT_EQ(plug.Values(), (Values{-12.0, 0.0, 16.0, 2.0}));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(plug.mPresetChanges, 1);
  EXPECT_EQ(plug.mNotified, (std::vector<int>{0, 1, 2, 3}));
  // The editor shows the restored values (normalized: gain -12 of -24..24,
  // disabled, 16 of 1..16 voices, the last of three modes).
  EXPECT_EQ(graphics->LastValues(), (Values{0.25, 0.0, 1.0, 1.0}));
}

TEST(RestorePreset, ByNameTakesTheFirstExactMatch) {
  PresetPlug plug;
  plug.MakePreset("Warm", 1.0, 1, 4, 0);
  plug.MakePreset("Warm", 2.0, 1, 4, 0);
  plug.MakePreset("Warmer", 3.0, 1, 4, 0);
  EXPECT_TRUE(plug.RestorePreset("Warm"));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_TRUE(plug.RestorePreset("Warmer"));
  EXPECT_EQ(plug.GetParam(0)->Value(), 3.0);
  EXPECT_FALSE(plug.RestorePreset("warm"));
  EXPECT_FALSE(plug.RestorePreset(""));
  EXPECT_FALSE(plug.RestorePreset(static_cast<const char*>(nullptr)));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);
}

TEST(RestorePreset, AnEmptySlotCapturesTheCurrentStateAsAUserPreset) {
  PresetPlug plug(3);
  plug.MakePreset("user preset 1", 0.0, 1, 4, 0);
  plug.SetValues(5.0, false, 2, 1);
  ASSERT_TRUE(plug.RestorePreset(2));
  EXPECT_TRUE(plug.GetPreset(2)->mInitialized);
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 2");
  EXPECT_EQ(DoublesOf(plug.GetPreset(2)->mChunk), (Values{5.0, 0.0, 2.0, 1.0}));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);
}

TEST(RestorePreset, RefusesBadIndicesAndUnreadableChunks) {
  PresetPlug plug;
  plug.MakePreset("Ok", 1.0, 1, 4, 0);
  ByteChunk shortChunk;
  const double one = 1.0;
  shortChunk.Put(&one);
  plug.MakePresetFromChunk("Short", &shortChunk);
  plug.GetPreset(1)->mChunk.Clear();
  plug.RestorePreset(0);
  EXPECT_FALSE(plug.RestorePreset(1));
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_FALSE(plug.RestorePreset(4));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_STREQ(plug.GetPresetName(4), "");
  EXPECT_STREQ(plug.GetPresetName(-1), "");
}

TEST(ModifyCurrentPreset, StoresTheStateAndRenamesOnlyForANonEmptyName) {
  PresetPlug plug;
  plug.MakePreset("Start", 0.0, 1, 4, 0);
  plug.SetValues(9.0, false, 1, 2);
  plug.ModifyCurrentPreset();
  EXPECT_STREQ(plug.GetPresetName(0), "Start");
  EXPECT_EQ(DoublesOf(plug.GetPreset(0)->mChunk), (Values{9.0, 0.0, 1.0, 2.0}));
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.GetPresetName(0), "Start");
  const std::string longName(300, 'x');
  plug.ModifyCurrentPreset(longName.c_str());
  EXPECT_EQ(strlen(plug.GetPresetName(0)), 255u);
}

TEST(ModifyCurrentPreset, DoesNothingWithoutPresets) {
  PresetPlug plug(0);
  plug.ModifyCurrentPreset("x");
  EXPECT_EQ(plug.NPresets(), 0);
  EXPECT_FALSE(plug.RestorePreset(0));
}

TEST(PresetBank, LayoutIsNameFlagAndChunkOfInitialisedPresets) {
  PresetPlug plug(2);
  plug.MakePresetFromBlob("Ab", "AQID", 3); // bytes 01 02 03
  ByteChunk bank;
  ASSERT_TRUE(plug.SerializePresets(&bank));
  const unsigned char expected[] = {2, 0, 0, 0, 'A', 'b', 1,   1,   2,   3,
                                    5, 0, 0, 0, 'e', 'm', 'p', 't', 'y', 0};
  ASSERT_EQ(bank.Size(), static_cast<int>(sizeof expected));
  EXPECT_EQ(memcmp(bank.GetBytes(), expected, sizeof expected), 0);
}

TEST(PresetBank, EmptyListSerialisesToNothing) {
  PresetPlug plug(0);
  ByteChunk bank;
  EXPECT_TRUE(plug.SerializePresets(&bank));
  EXPECT_EQ(bank.Size(), 0);
  EXPECT_EQ(plug.UnserializePresets(&bank, 0), 0);
  EXPECT_FALSE(plug.SerializePresets(nullptr));
}

TEST(PresetBank, RoundTripRestoresNamesFlagsStatesAndTheCurrentPreset) {
  PresetPlug source(4);
  source.MakePreset("Clean", 0.0, 1, 4, 0);
  source.MakePreset("", -6.0, 0, 2, 1);
  source.MakePreset("Dirty", 18.0, 1, 16, 2);
  ASSERT_TRUE(source.RestorePreset(2));
  ByteChunk bank;
  ASSERT_TRUE(source.SerializePresets(&bank));

  PresetPlug target(4);
  target.MakePreset("Old", 1.0, 1, 1, 1);
  target.MakePreset("Old2", 1.0, 1, 1, 1);
  EXPECT_EQ(target.UnserializePresets(&bank, 0), bank.Size());
  for (int i = 0; i < 4; ++i) {
    EXPECT_STREQ(target.GetPresetName(i), source.GetPresetName(i)) << i;
    EXPECT_EQ(target.GetPreset(i)->mInitialized, source.GetPreset(i)->mInitialized) << i;
    if (source.GetPreset(i)->mInitialized) {
      EXPECT_TRUE(target.GetPreset(i)->mChunk.IsEqual(source.GetPreset(i)->mChunk)) << i;
    }
  }
  EXPECT_STREQ(target.GetPresetName(1), "") << "an empty name stays empty";
  // Current preset index 0 of the target is restored after the bank.
  EXPECT_EQ(target.Values(), (Values{0.0, 1.0, 4.0, 0.0}));
}

TEST(PresetBank, StoredNamesOf256BytesOrMoreAreCut) {
  ByteChunk bank;
  const std::string longName(300, 'q');
  bank.PutStr(longName.c_str());
  bank.PutBool(true);
  for (double v : {1.0, 1.0, 2.0, 0.0}) bank.Put(&v);
  PresetPlug plug(1);
  EXPECT_EQ(plug.UnserializePresets(&bank, 0), bank.Size());
  EXPECT_EQ(std::string(plug.GetPresetName(0)), longName.substr(0, 255));
}

TEST(PresetBank, TruncatedBankChangesOnlyCompleteRecords) {
  PresetPlug source(3);
  source.MakePreset("First", 3.0, 0, 8, 1);
  source.MakePreset("Second", -3.0, 1, 9, 2);
  source.MakePreset("Third", 12.0, 0, 10, 0);
  ByteChunk bank;
  ASSERT_TRUE(source.SerializePresets(&bank));
  const int firstRecord = 4 + 5 + 1 + 32;

  for (int size = 0; size < bank.Size(); ++size) {
    ByteChunk cut;
    cut.PutBytes(bank.GetBytes(), size);
    PresetPlug target(3);
    target.MakePreset("Keep0", 1.0, 1, 1, 1);
    target.MakePreset("Keep1", 1.0, 1, 1, 1);
    EXPECT_LT(target.UnserializePresets(&cut, 0), 0) << size;
    EXPECT_STREQ(target.GetPresetName(0), size >= firstRecord ? "First" : "Keep0") << size;
    EXPECT_STREQ(target.GetPresetName(1), size >= 2 * firstRecord + 1 ? "Second" : "Keep1") << size;
    EXPECT_STREQ(target.GetPresetName(2), "empty") << size;
    EXPECT_FALSE(target.GetPreset(2)->mInitialized) << size;
  }
}

TEST(PresetBank, NegativeStartOrNullChunkReadsNothing) {
  PresetPlug plug(2);
  plug.MakePreset("Stay", 1.0, 1, 1, 1);
  ByteChunk bank;
  bank.PutStr("Other");
  bank.PutBool(false);
  EXPECT_LT(plug.UnserializePresets(&bank, -1), 0);
  EXPECT_LT(plug.UnserializePresets(nullptr, 0), 0);
  EXPECT_STREQ(plug.GetPresetName(0), "Stay");
}

TEST(PresetDumps, SourceCodeNamesEveryParameterWithItsValueText) {
  PresetPlug plug;
  plug.SetValues(-1.25, true, 7, 2);
  const char* names[] = {"kGain", "kEnabled", nullptr, "kMode"};
  TempFile file;
  ASSERT_TRUE(plug.DumpPresetSrcCode(file.Path(), names));
  EXPECT_EQ(ReadFile(file.Path()), "  MakePresetFromNamedParams(\"name\", 4,\n"
                                   "    kGain, -1.250000,\n"
                                   "    kEnabled, true,\n"
                                   "    2, 7,\n"
                                   "    kMode, 2);\n");
}

TEST(PresetDumps, BlobWritesChunksOfAnySizeThatReadBackExactly) {
  for (int size : {0, 1, 2, 3, 765, 766, 5000}) {
    PresetPlug plug(2);
    ByteChunk chunk;
    for (int i = 0; i < size; ++i) {
      const unsigned char byte = static_cast<unsigned char>(i * 37 + 11);
      chunk.Put(&byte);
    }
    plug.MakePresetFromChunk("Big", &chunk);
    TempFile file;
    ASSERT_TRUE(plug.DumpPresetBlob(file.Path())) << size;
    const std::string text = ReadFile(file.Path());
    const std::string prefix = "MakePresetFromBlob(\"name\", \"";
    ASSERT_EQ(text.compare(0, prefix.size(), prefix), 0) << size;
    const size_t blobEnd = text.find('"', prefix.size());
    const std::string blob = text.substr(prefix.size(), blobEnd - prefix.size());
    EXPECT_EQ(blob.size() % 4, 0u);
    EXPECT_EQ(text.substr(blobEnd), "\", " + std::to_string(size) + ");\n");
    ASSERT_TRUE(plug.MakePresetFromBlob("Copy", blob.c_str(), size));
    EXPECT_TRUE(plug.GetPreset(1)->mChunk.IsEqual(chunk)) << size;
  }
}

TEST(PresetDumps, BlobTextOfAKnownChunk) {
  PresetPlug plug(1);
  plug.MakePresetFromBlob("x", "Zm9vYmE=", 5); // "fooba"
  TempFile file;
  ASSERT_TRUE(plug.DumpPresetBlob(file.Path()));
  EXPECT_EQ(ReadFile(file.Path()), "MakePresetFromBlob(\"name\", \"Zm9vYmE=\", 5);\n");
}

TEST(PresetDumps, UnwritableFilesAreReported) {
  PresetPlug plug;
  plug.MakePreset("P", 0.0, 1, 4, 0);
  const char* names[] = {"a", "b", "c", "d"};
  for (const char* path : {"/nonexistent-folder/preset.txt", "", "/dev/full"}) {
    EXPECT_FALSE(plug.DumpPresetSrcCode(path, names)) << path;
    EXPECT_FALSE(plug.DumpPresetBlob(path)) << path;
  }
  EXPECT_FALSE(plug.DumpPresetSrcCode(nullptr, names));
  EXPECT_FALSE(plug.DumpPresetBlob(nullptr));
  TempFile file;
  EXPECT_FALSE(plug.DumpPresetSrcCode(file.Path(), nullptr));
}

TEST(PresetDumps, BlobNeedsAValidCurrentPreset) {
  PresetPlug plug(0);
  TempFile file;
  EXPECT_FALSE(plug.DumpPresetBlob(file.Path()));
}

} // namespace

namespace {

TEST(PresetTracing, BankTransfersTraceEachPresetInTracingBuilds) {
  PresetPlug plug(2);
  plug.MakePreset("Traced", 0.0, 1, 4, 0);
  ClearTraceRecords();
  ByteChunk bank;
  ASSERT_TRUE(plug.SerializePresets(&bank));
  int presetRecords = 0;
  for (int i = 0; i < TraceRecordCount(); ++i) {
    TraceRecord record{};
    GetTraceRecord(i, &record);
    if (!strcmp(record.location, "SerializePresets")) {
      EXPECT_STREQ(record.text, presetRecords == 0 ? "0 Traced" : "1 empty");
      ++presetRecords;
    }
  }
#ifdef PLUG_TRACE_RECORDS
  EXPECT_EQ(presetRecords, 2);
#else
  EXPECT_EQ(TraceRecordCount(), 0);
#endif
  ClearTraceRecords();
}

} // namespace
