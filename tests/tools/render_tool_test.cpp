// Runs the grittlebox-render executable and checks what it writes and refuses.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "effect/ClipKernel.h"

namespace {

class RenderTool : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/grittlebox-render-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    for (const std::string& name : Files()) unlink((dir + "/" + name).c_str());
    rmdir(dir.c_str());
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
      while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') names.push_back(e->d_name);
      closedir(d);
    }
    return names;
  }

  // Runs the tool in the test folder; returns its exit code, output in *log.
  int Run(const std::string& args, std::string* log = nullptr) {
    const std::string command = "cd '" + dir + "' && '" GRITTLEBOX_RENDER_EXE "' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    char buf[256];
    while (pipe && fgets(buf, sizeof buf, pipe)) text += buf;
    const int status = pipe ? pclose(pipe) : -1;
    if (log) *log = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  struct Refusal {
    const char* args;
    const char* message;
  };
  // Each command must fail with its message; afterwards the folder holds
  // exactly the given files (nothing half-written).
  void ExpectRefusals(const std::vector<Refusal>& cases, std::vector<std::string> expectedFiles) {
    for (const Refusal& c : cases) {
      std::string log;
      EXPECT_NE(Run(c.args, &log), 0) << c.args;
      EXPECT_NE(log.find(c.message), std::string::npos) << c.args << ": " << log;
    }
    std::vector<std::string> files = Files();
    std::sort(files.begin(), files.end());
    std::sort(expectedFiles.begin(), expectedFiles.end());
    EXPECT_EQ(files, expectedFiles);
  }

  void WriteText(const std::string& name, const char* text) {
    FILE* f = fopen((dir + "/" + name).c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs(text, f);
    fclose(f);
  }

  void WriteWav(const std::string& name, int channels, const std::vector<double>& samples,
                int format = SF_FORMAT_WAV | SF_FORMAT_DOUBLE) {
    SF_INFO info = {};
    info.channels = channels;
    info.samplerate = 48000;
    info.format = format;
    SNDFILE* f = sf_open((dir + "/" + name).c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr);
    sf_writef_double(f, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(f);
  }

  std::vector<double> ReadWav(const std::string& name, SF_INFO* info) {
    *info = {};
    SNDFILE* f = sf_open((dir + "/" + name).c_str(), SFM_READ, info);
    if (!f) return {};
    std::vector<double> samples(static_cast<size_t>(info->frames * info->channels));
    sf_readf_double(f, samples.data(), info->frames);
    sf_close(f);
    return samples;
  }

  std::string dir;
};

TEST_F(RenderTool, NoInputWritesTheDemo) {
  std::string log;
  ASSERT_EQ(Run("-q", &log), 0) << log;
  EXPECT_NE(log.find("grittlebox-demo.wav"), std::string::npos);
  SF_INFO info;
  const std::vector<double> out = ReadWav("grittlebox-demo.wav", &info);
  EXPECT_EQ(info.channels, 2);
  EXPECT_GT(info.frames, 44100);
  double peak = 0;
  for (double v : out) peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.9); // clipped back up to full scale
}

TEST_F(RenderTool, DoubleOutputIsExactlyTheEffect) {
  std::vector<double> in;
  for (int i = 0; i < 10000; ++i) {
    in.push_back(std::sin(i * 0.01) * 0.8);
    in.push_back(std::cos(i * 0.013) * 0.3);
  }
  WriteWav("in.wav", 2, in);
  std::string log;
  ASSERT_EQ(Run("in.wav --in 3 --out -6 --distort 75 -o out.wav", &log), 0) << log;
  SF_INFO info;
  const std::vector<double> out = ReadWav("out.wav", &info);
  ASSERT_EQ(out.size(), in.size());
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_DOUBLE);
  const double t = grittlebox::ThresholdFromDistort(75);
  for (size_t i = 0; i < in.size(); ++i)
    ASSERT_EQ(out[i], grittlebox::ClipSampleLiteral(in[i], 3, t, -6)) << i;
}

TEST_F(RenderTool, MonoBypassAndFormatChoice) {
  std::vector<double> in(3000);
  for (size_t i = 0; i < in.size(); ++i) in[i] = 0.5 * std::sin(i * 0.05);
  WriteWav("mono.wav", 1, in, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  ASSERT_EQ(Run("mono.wav --bypass --format float -q"), 0);
  SF_INFO info;
  const std::vector<double> out = ReadWav("mono-grittlebox.wav", &info);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(out.size(), in.size());
  for (size_t i = 0; i < in.size(); ++i) ASSERT_NEAR(out[i], in[i], 1e-6);
}

TEST_F(RenderTool, RefusesBadInputWithAMessageAndWritesNothing) {
  WriteWav("three.wav", 3, std::vector<double>(300, 0.1));
  WriteText("junk.wav", "this is not audio");
  WriteWav("ok.wav", 2, std::vector<double>(200, 0.1));
  ExpectRefusals(
      {
          {"missing.wav -o a.wav", "cannot read"},
          {"junk.wav -o a.wav", "as audio"},
          {"three.wav -o a.wav", "3 channels"},
          {". -o a.wav", "not a readable file"},
          {"ok.wav --distort 101 -o a.wav", "outside"},
          {"ok.wav --in 1x -o a.wav", "malformed"},
          {"ok.wav -o ok.wav", "overwrite the input"},
          {"ok.wav -o ./ok.wav", "overwrite the input"},
          {"ok.wav -o nodir/a.wav", "cannot create"},
      },
      {"junk.wav", "ok.wav", "three.wav"});
  SF_INFO info;
  EXPECT_EQ(ReadWav("ok.wav", &info).size(), 200u); // the input is intact
}

TEST_F(RenderTool, LongFileShowsProgress) {
  WriteWav("long.wav", 1, std::vector<double>(48000 * 11, 0.2), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  std::string log;
  ASSERT_EQ(Run("long.wav", &log), 0);
  EXPECT_NE(log.find("100%"), std::string::npos);
  std::string quiet;
  ASSERT_EQ(Run("long.wav -q -o q.wav", &quiet), 0);
  EXPECT_EQ(quiet.find('%'), std::string::npos);
}

// The tool hosts the built bundle: parameters by the names the host sees,
// block sizes, both precisions and saved states all go through VST 3.
TEST_F(RenderTool, ParametersByHostNamesAnyBlockSizeAndBothPrecisions) {
  std::vector<double> in;
  for (int i = 0; i < 5000; ++i) {
    in.push_back(std::sin(i * 0.02) * 0.9);
    in.push_back(std::cos(i * 0.007) * 0.4);
  }
  WriteWav("in.wav", 2, in);
  const double t = grittlebox::ThresholdFromDistort(75);
  for (const char* block : {"1", "37", "4096", "65536"}) {
    std::string log;
    ASSERT_EQ(Run(std::string("in.wav --param In=3 --param Out=-6 --param Distort=75 --block ") +
                      block + " -q -o out.wav",
                  &log),
              0)
        << log;
    SF_INFO info;
    const std::vector<double> out = ReadWav("out.wav", &info);
    ASSERT_EQ(out.size(), in.size());
    for (size_t i = 0; i < in.size(); ++i)
      ASSERT_EQ(out[i], grittlebox::ClipSampleLiteral(in[i], 3, t, -6)) << block << " " << i;
  }
  ASSERT_EQ(Run("in.wav --in 3 --out -6 --distort 75 --precision 32 --block 100 -q -o f.wav"), 0);
  SF_INFO info;
  const std::vector<double> out = ReadWav("f.wav", &info);
  ASSERT_EQ(out.size(), in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    const double in32 = static_cast<float>(in[i]);
    ASSERT_EQ(out[i], static_cast<float>(grittlebox::ClipSampleLiteral(in32, 3, t, -6))) << i;
  }
}

TEST_F(RenderTool, SavedStatesRestoreTheSameSound) {
  std::vector<double> in(4000);
  for (size_t i = 0; i < in.size(); ++i) in[i] = 0.7 * std::sin(i * 0.03);
  WriteWav("in.wav", 1, in);
  ASSERT_EQ(Run("in.wav --param In=4.5 --param Distort=30 -q -o a.wav --save-state s.bin"), 0);
  FILE* f = fopen((dir + "/s.bin").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  fseek(f, 0, SEEK_END);
  EXPECT_EQ(ftell(f), 28); // three values and the bypass flag
  fclose(f);
  ASSERT_EQ(Run("in.wav --state s.bin -q -o b.wav"), 0);
  SF_INFO info;
  EXPECT_EQ(ReadWav("a.wav", &info), ReadWav("b.wav", &info));
  ASSERT_EQ(Run("in.wav --state s.bin --param Bypass=on -q -o c.wav"), 0);
  const std::vector<double> bypassed = ReadWav("c.wav", &info);
  ASSERT_EQ(bypassed.size(), in.size());
  for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(bypassed[i], in[i]);
}

// grittlebox-render --save-preset, then --preset: the same output sample for sample.
TEST_F(RenderTool, SavedPresetsRestoreTheSameSound) {
  std::vector<double> in(4000);
  for (size_t i = 0; i < in.size(); ++i) in[i] = 0.7 * std::sin(i * 0.03);
  WriteWav("in.wav", 1, in);
  ASSERT_EQ(Run("in.wav --param In=4.5 --param Distort=30 -q -o a.wav --save-preset p.vstpreset"),
            0);
  ASSERT_EQ(Run("in.wav --preset p.vstpreset -q -o b.wav"), 0);
  ASSERT_EQ(Run("in.wav -q -o c.wav"), 0);
  SF_INFO info;
  const std::vector<double> a = ReadWav("a.wav", &info);
  ASSERT_EQ(a.size(), in.size());
  EXPECT_EQ(a, ReadWav("b.wav", &info));
  EXPECT_NE(a, ReadWav("c.wav", &info)) << "the preset is what makes the difference";
}

TEST_F(RenderTool, RefusesPresetsOfOtherPlugInsOrDamagedOnes) {
  WriteWav("ok.wav", 2, std::vector<double>(200, 0.1));
  ASSERT_EQ(Run("ok.wav -q -o first.wav --save-preset p.vstpreset"), 0);
  unlink((dir + "/first.wav").c_str());
  std::string preset;
  FILE* f = fopen((dir + "/p.vstpreset").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  for (int c; (c = fgetc(f)) != EOF;) preset += static_cast<char>(c);
  fclose(f);
  ASSERT_EQ(preset.compare(0, 4, "VST3"), 0);
  std::string foreign = preset, pastEnd = preset;
  foreign[8] = foreign[8] == '0' ? '1' : '0'; // the class id, as text
  pastEnd[pastEnd.size() - 28] = '\x7f';      // the component chunk's size, first of two entries
  const std::pair<const char*, std::string> files[] = {{"foreign.vstpreset", foreign},
                                                       {"cut.vstpreset", preset.substr(0, 120)},
                                                       {"past.vstpreset", pastEnd},
                                                       {"junk.vstpreset", "xyz"}};
  for (const auto& file : files) {
    FILE* out = fopen((dir + "/" + file.first).c_str(), "wb");
    ASSERT_NE(out, nullptr);
    fwrite(file.second.data(), 1, file.second.size(), out);
    fclose(out);
  }
  ExpectRefusals(
      {
          {"ok.wav --preset foreign.vstpreset -o a.wav",
           "'foreign.vstpreset': it is a preset of another plug-in"},
          {"ok.wav --preset cut.vstpreset -o a.wav",
           "'cut.vstpreset': its chunk list is cut short"},
          {"ok.wav --preset past.vstpreset -o a.wav",
           "'past.vstpreset': its 'Comp' chunk runs past the end"},
          {"ok.wav --preset junk.vstpreset -o a.wav", "not a VST 3 preset file"},
          {"ok.wav --preset none.vstpreset -o a.wav", "cannot read the preset file 'none"},
          {"ok.wav -o a.wav --save-preset nodir/p.vstpreset", "cannot save the preset"},
      },
      {"ok.wav", "p.vstpreset", "foreign.vstpreset", "cut.vstpreset", "past.vstpreset",
       "junk.vstpreset"});
}

TEST_F(RenderTool, RefusesWhatTheHostedEffectRefuses) {
  WriteWav("ok.wav", 2, std::vector<double>(200, 0.1));
  WriteText("junk.bin", "xyz");
  ExpectRefusals(
      {
          {"ok.wav --param Nope=1 -o a.wav", "no parameter named 'Nope'"},
          {"ok.wav --param In=30 -o a.wav", "outside"},
          {"ok.wav --param Bypass=maybe -o a.wav", "not a value of Bypass"},
          {"ok.wav --param In -o a.wav", "NAME=VALUE"},
          {"ok.wav --bundle /nonexistent/Grittlebox.vst3 -o a.wav", "no such file"},
          {"ok.wav --bundle . -o a.wav", "cannot load"},
          {"ok.wav --block 0 -o a.wav", "outside"},
          {"ok.wav --block 2.5 -o a.wav", "whole number"},
          {"ok.wav --precision 16 -o a.wav", "32 or 64"},
          {"ok.wav --state missing.bin -o a.wav", "cannot read the state"},
          {"ok.wav --state junk.bin -o a.wav", "refused the saved state"},
      },
      {"junk.bin", "ok.wav"});
}

} // namespace
