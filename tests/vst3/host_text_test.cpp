// UTF-8 and the host's UTF-16, both ways: well-formed text keeps every
// character, ill-formed text becomes U+FFFD, and no call reads or writes
// outside its bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vst3/HostText.h"

using Steinberg::char16;

namespace {

const char16 kFill = 0xAAAA;

std::u16string Widen(const char* text, size_t units, size_t room = 16) {
  std::vector<char16> dest(room, kFill);
  const size_t n = WidenUtf8(text, dest.data(), units);
  if (units > 0) {
    EXPECT_EQ(0, dest[n]);
  }
  for (size_t i = units; i < room; ++i) EXPECT_EQ(kFill, dest[i]) << "written past " << units;
  return std::u16string(dest.data(), n);
}

std::string Narrow(const std::u16string& text, size_t maxUnits, size_t bytes) {
  std::vector<char> dest(bytes + 8, '#');
  const size_t n = NarrowUtf16(text.c_str(), maxUnits, dest.data(), bytes);
  EXPECT_EQ(0, dest[n]);
  for (size_t i = bytes; i < dest.size(); ++i) EXPECT_EQ('#', dest[i]) << "written past " << bytes;
  EXPECT_EQ(std::string(dest.data(), n), NarrowString(text.c_str(), maxUnits).substr(0, n));
  return std::string(dest.data(), n);
}

} // namespace

TEST(HostText, WellFormedTextCrossesBothWaysUnchanged) {
  for (const char* text : {"", "Distort", "-3.46 dB", "\xC3\xA9t\xC3\xA9", "\xE2\x82\xAC 5",
                           "\xF0\x9F\x98\x80 and \xF4\x8F\xBF\xBF"}) {
    const std::u16string wide = Widen(text, 16);
    EXPECT_EQ(text, Narrow(wide, 128, 64)) << text;
    EXPECT_EQ(text, NarrowString(wide.c_str())) << text;
  }
  EXPECT_EQ((std::u16string{0xD83D, 0xDE00}), Widen("\xF0\x9F\x98\x80", 16));
  EXPECT_EQ(u"\u00E9\u20AC", Widen("\xC3\xA9\xE2\x82\xAC", 16));
}

TEST(HostText, IllFormedUtf16BecomesReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";
  struct Case {
    std::u16string text;
    std::string narrow;
  } cases[] = {
      {{0xDCDC}, r},             // a lone low surrogate
      {{0xD83D, u'A'}, r + "A"}, // a high surrogate before an ordinary unit
      {{u'1', 0xD83D}, "1" + r}, // a high surrogate at the end
      {{0xDE00, 0xD83D}, r + r}, // a pair in the wrong order
      {{0xD83D, 0xD83D, 0xDE00}, r + "\xF0\x9F\x98\x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.narrow, Narrow(c.text, 128, 64));
    EXPECT_EQ(c.narrow, NarrowString(c.text.c_str()));
  }
  // The partner of a high surrogate beyond maxUnits is not read.
  EXPECT_EQ("1" + r, Narrow(std::u16string{u'1', 0xD83D, 0xDE00}, 2, 64));
}

TEST(HostText, IllFormedUtf8BecomesReplacementCharacters) {
  const std::u16string r(1, 0xFFFD);
  struct Case {
    const char* text;
    std::u16string wide;
  } cases[] = {
      {"\x80", r},     // a continuation byte alone
      {"\xE2\x82", r}, // cut short by the terminator
      {"\xE2\x82"
       "A",
       r + u"A"},                          // cut short by an ordinary byte
      {"\xC0\xAF", r + r},                 // an overlong form
      {"\xED\xA0\x80", r + r + r},         // an encoded surrogate
      {"\xF4\x90\x80\x80", r + r + r + r}, // above U+10FFFF
      {"\xFF"
       "b",
       r + u"b"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.wide, Widen(c.text, 16)) << c.text;
}

TEST(HostText, BoundsCutBeforeACharacterThatDoesNotFit) {
  EXPECT_EQ(u"", Widen("x", 0));
  EXPECT_EQ(u"", Widen(nullptr, 4));
  EXPECT_EQ(u"abc", Widen("abcdef", 4, 8));
  EXPECT_EQ(u"a", Widen("a\xF0\x9F\x98\x80", 3, 8)); // the pair needs two units and the terminator
  EXPECT_EQ(std::u16string(127, u'w'), Widen(std::string(300, 'w').c_str(), 128, 140));

  EXPECT_EQ("ab", Narrow(u"abc", 2, 16));
  EXPECT_EQ("A", Narrow(u"A\u20AC", 16, 4)); // the euro sign needs three bytes and the terminator
  EXPECT_EQ("", Narrow(u"\u00E9", 16, 2));
  EXPECT_EQ(0u, NarrowUtf16(u"x", 16, nullptr, 8));
  EXPECT_EQ("", NarrowString(nullptr));

  char16 host[128];
  WidenBounded(std::string(200, 'k').c_str(), host);
  EXPECT_EQ(std::string(127, 'k'), NarrowString(host));
}
