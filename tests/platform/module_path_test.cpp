// The module-path seam: the resolved file of the loaded image that holds an
// address, from a program and from a shared object, with refusals that leave
// an empty answer.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "platform/ModulePath.h"

namespace {

std::string Resolved(const char* path) {
  char resolved[PATH_MAX];
  return realpath(path, resolved) ? resolved : "";
}

int LocalFunction() {
  return 1;
}

} // namespace

TEST(ModulePath, AnAddressInTheProgramGivesTheProgramsFile) {
  char path[PATH_MAX];
  ASSERT_TRUE(
      platform::ModuleFileOf(reinterpret_cast<const void*>(&LocalFunction), path, sizeof path));
  EXPECT_EQ(Resolved("/proc/self/exe"), path);
}

// Through a symbolic link, as a bundle installed by linking it would be.
TEST(ModulePath, AnAddressInASharedObjectGivesThatObjectsResolvedFile) {
  const std::string link = ::testing::TempDir() + "module_path_probe_link.so";
  unlink(link.c_str());
  ASSERT_EQ(0, symlink(MODULE_PATH_PROBE, link.c_str()));
  void* handle = dlopen(link.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(nullptr, handle) << dlerror();
  auto probe = reinterpret_cast<bool (*)(char*, size_t)>(dlsym(handle, "ProbeModuleFile"));
  ASSERT_NE(nullptr, probe);
  char path[PATH_MAX];
  ASSERT_TRUE(probe(path, sizeof path));
  EXPECT_EQ(Resolved(MODULE_PATH_PROBE), path);
  dlclose(handle);
  unlink(link.c_str());
}

TEST(ModulePath, RefusalsLeaveAnEmptyAnswer) {
  const void* inside = reinterpret_cast<const void*>(&LocalFunction);
  char small[4] = "abc";
  EXPECT_FALSE(platform::ModuleFileOf(inside, small, sizeof small)); // does not fit
  EXPECT_STREQ("", small);
  char path[PATH_MAX] = "old";
  EXPECT_FALSE(platform::ModuleFileOf(nullptr, path, sizeof path));
  EXPECT_STREQ("", path);
  int onTheStack = 0;
  EXPECT_FALSE(platform::ModuleFileOf(&onTheStack, path, sizeof path)); // in no loaded file
  EXPECT_FALSE(platform::ModuleFileOf(inside, nullptr, 16));
}
