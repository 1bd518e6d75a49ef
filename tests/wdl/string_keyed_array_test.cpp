#include "wdl/string_keyed_array.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<int> gDisposed;
void Dispose(int v) {
  gDisposed.push_back(v);
}
} // namespace

TEST(StringKeyedArray, KeepsKeysSortedCaseSensitiveAndCopied) {
  WDL_StringKeyedArray<int> a;
  char key[8] = "b";
  a.Insert(key, 2);
  key[0] = 'x'; // the array keeps its own copy
  a.Insert("a", 1);
  a.Insert("B", 3);
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a.Get("b"), 2);
  EXPECT_EQ(a.Get("B"), 3);
  EXPECT_EQ(a.Get("x", -1), -1);
  const char* k = nullptr;
  std::string order;
  for (int i = 0; a.Enumerate(i, &k), k; ++i) order += k;
  EXPECT_EQ(order, "Bab");
  a.Delete("a");
  EXPECT_FALSE(a.Exists("a"));
  EXPECT_EQ(a.GetSize(), 2);
}

TEST(StringKeyedArray, DisposesReplacedRemovedAndRemainingValues) {
  gDisposed.clear();
  {
    WDL_StringKeyedArray<int> a(Dispose);
    a.Insert("k", 1);
    a.Insert("k", 2);
    a.Insert("m", 3);
    a.Delete("m");
    EXPECT_EQ(gDisposed, (std::vector<int>{1, 3}));
  }
  EXPECT_EQ(gDisposed, (std::vector<int>{1, 3, 2}));
}
