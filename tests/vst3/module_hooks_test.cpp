// Entry bookkeeping: balanced entry and exit counts, the first handle and the
// module's own path.
#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "vst3/ModuleHooks.h"

using namespace vst3binding;

TEST(ModuleHooks, EntriesAndExitsBalanceAndTheFirstHandleStays) {
  int a = 0, b = 0;
  ASSERT_EQ(0, ModuleEntryCount());
  EXPECT_TRUE(EnterModule(nullptr)); // a null handle records nothing
  EXPECT_EQ(0, ModuleEntryCount());
  EXPECT_EQ(nullptr, FirstModuleHandle());

  EXPECT_TRUE(EnterModule(&a));
  EXPECT_TRUE(EnterModule(&b));
  EXPECT_EQ(2, ModuleEntryCount());
  EXPECT_EQ(&a, FirstModuleHandle());

  EXPECT_TRUE(ExitModule());
  EXPECT_EQ(1, ModuleEntryCount());
  EXPECT_TRUE(ExitModule());
  EXPECT_EQ(0, ModuleEntryCount());
  // An exit with no entry left to balance is refused and the count stays at 0.
  EXPECT_FALSE(ExitModule());
  EXPECT_EQ(0, ModuleEntryCount());
  EXPECT_EQ(&a, FirstModuleHandle());
}

TEST(ModuleHooks, ModulePathIsTheResolvedFileOfTheCode) {
  // Linked statically into this test, the code's file is the test program.
  char self[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof(self) - 1), 0);
  char resolved[PATH_MAX];
  ASSERT_NE(nullptr, realpath(self, resolved));
  EXPECT_STREQ(resolved, ModulePath());
  EXPECT_EQ(ModulePath(), ModulePath()); // found once, kept
}
