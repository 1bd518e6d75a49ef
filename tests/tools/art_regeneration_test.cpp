// Runs the art tool into a fresh folder: it must draw the committed editor
// art and the manual's picture byte for byte, and refuse what it cannot do.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunTool(const std::string& args, std::string* log) {
  const std::string command = "'" GRITTLEBOX_ART_EXE "' " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  char buf[256];
  while (pipe && fgets(buf, sizeof buf, pipe)) *log += buf;
  const int status = pipe ? pclose(pipe) : -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ArtTool : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/grittlebox-art-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    for (const char* name : kFiles) unlink((dir + "/" + name).c_str());
    unlink((dir + "/editor.png").c_str());
    rmdir(dir.c_str());
  }

  static constexpr const char* kFiles[] = {"Grittlebox_Background.png", "Knob_In_Frames.png",
                                           "Knob_Out_Frames.png", "Knob_Distort_Frames.png"};
  std::string dir;
};

TEST_F(ArtTool, RedrawsTheCommittedFilesExactly) {
  std::string log;
  ASSERT_EQ(RunTool("'" + dir + "' --preview-2x '" + dir + "/editor.png'", &log), 0) << log;
  for (const char* name : kFiles) {
    const std::string committed = ReadFile(std::string(GRITTLEBOX_RESOURCES "/img/") + name);
    ASSERT_FALSE(committed.empty()) << name;
    EXPECT_TRUE(ReadFile(dir + "/" + name) == committed) << name << " differs";
  }
  const std::string manual = ReadFile(GRITTLEBOX_RESOURCES "/manual/editor.png");
  ASSERT_FALSE(manual.empty());
  EXPECT_TRUE(ReadFile(dir + "/editor.png") == manual) << "manual picture differs";
}

TEST_F(ArtTool, RefusesMissingFoldersAndUnknownOptions) {
  const struct {
    std::string args;
    int code;
    const char* message;
  } cases[] = {
      {"", 2, "usage:"},
      {"'" + dir + "' --frames 3", 2, "usage:"},
      {"'" + dir + "/missing'", 1, "cannot write"},
      {"'" + dir + "' --preview '" + dir + "/missing/p.png'", 1, "cannot write"},
  };
  for (const auto& c : cases) {
    std::string log;
    EXPECT_EQ(RunTool(c.args, &log), c.code) << c.args;
    EXPECT_NE(log.find(c.message), std::string::npos) << c.args << ": " << log;
  }
}

} // namespace
