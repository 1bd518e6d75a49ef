#include "wdl/ptr_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> gDeleted;
struct Tracked {
  int id;
  ~Tracked() { gDeleted.push_back(id); }
};
} // namespace

TEST(PtrList, OutOfRangeGetYieldsNullAndInsertClamps) {
  WDL_PtrList<int> list;
  int a = 1, b = 2, c = 3;
  EXPECT_EQ(list.Get(0), nullptr);
  list.Add(&a);
  list.Insert(-4, &b);
  list.Insert(99, &c);
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list.Get(0), &b);
  EXPECT_EQ(list.Get(1), &a);
  EXPECT_EQ(list.Get(2), &c);
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Find(&c), 2);
}

TEST(PtrList, DeleteAndEmptyDeleteOwnedObjectsLastFirst) {
  gDeleted.clear();
  WDL_PtrList<Tracked> list;
  for (int i = 0; i < 4; ++i) list.Add(new Tracked{i});
  list.Add(nullptr);
  list.Delete(1, true);
  EXPECT_EQ(gDeleted, std::vector<int>{1});
  list.Empty(true);
  EXPECT_EQ(gDeleted, (std::vector<int>{1, 3, 2, 0}));
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(PtrList, DeleteWithoutFlagKeepsTheObject) {
  gDeleted.clear();
  WDL_PtrList<Tracked> list;
  Tracked t{7};
  list.Add(&t);
  list.Delete(0);
  list.Empty();
  EXPECT_TRUE(gDeleted.empty());
}
