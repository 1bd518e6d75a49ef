#include "wdl/wdl_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(WdlString, UnsetReadsEmptyAndSetAppendInsert) {
  WDL_String s;
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.GetLength(), 0);
  s.Set("world");
  s.Insert("hello ", 0);
  s.Append("!");
  EXPECT_STREQ(s.Get(), "hello world!");
  s.Insert("big ", 6);
  EXPECT_STREQ(s.Get(), "hello big world!");
  s.Insert("?", 999);
  EXPECT_STREQ(s.Get(), "hello big world!?");
  s.Set("abcdef", 3);
  EXPECT_STREQ(s.Get(), "abc");
  s.Set("");
  EXPECT_STREQ(s.Get(), "");
}

TEST(WdlString, DoSetRefusesBadArgumentsAndChangesNothing) {
  WDL_String s("keep");
  s.__doSet(-1, "x", 1, 0);
  s.__doSet(0, "x", 0, 3);
  s.__doSet(2, "x", -1, 0);
  s.__doSet(9, "x", 1, 0);  // beyond the end
  s.__doSet(1, "x", 1, 10); // trailing count beyond the end
  EXPECT_STREQ(s.Get(), "keep");
  s.__doSet(0, nullptr, 0, 0);
  EXPECT_STREQ(s.Get(), "");
}

TEST(WdlString, SourcesInsideTheOwnBlockSurviveReallocation) {
  WDL_String s("0123456789");
  for (int i = 0; i < 6; ++i) s.Append(s.Get()); // grows past several reallocations
  EXPECT_EQ(s.GetLength(), 640);
  EXPECT_EQ(std::string(s.Get()).substr(630), "0123456789");
  WDL_String t("abcdef");
  const char* own = t.Get();
  ASSERT_EQ(strlen(own), 6u);
  t.Insert(own + 3, 1); // inserts "def" after "a"
  EXPECT_STREQ(t.Get(), "adefbcdef");
}

TEST(WdlString, FormattedTextsOfAnyLengthAndCut) {
  WDL_String s;
  s.SetFormatted(64, "%d-%s", 42, "x");
  EXPECT_STREQ(s.Get(), "42-x");
  s.AppendFormatted(3, "%s", "abcdef");
  EXPECT_STREQ(s.Get(), "42-xabc");
  const std::string longText(3000, 'z');
  s.SetFormatted(100000, "%s", longText.c_str());
  EXPECT_EQ(s.Get(), longText);
  WDL_String copy(s);
  EXPECT_EQ(copy.GetLength(), 3000);
}
