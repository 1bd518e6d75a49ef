#include "framework/detail/Base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "wdl/wdl_string.h"

namespace {

std::string Encode(const std::string& bytes) {
  WDL_String out;
  Base64Encode(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
               &out);
  return out.Get();
}

TEST(Base64, EncodesWithStandardAlphabetAndFill) {
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Encode("f"), "Zg==");
  EXPECT_EQ(Encode("fo"), "Zm8=");
  EXPECT_EQ(Encode("foo"), "Zm9v");
  EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Encode(std::string("\xfb\xff\xbf", 3)), "+/+/");
}

TEST(Base64, DecodesUpToTheFirstCharacterOutsideTheAlphabet) {
  unsigned char out[8] = {};
  EXPECT_EQ(Base64Decode("Zm9vYmFy", out, 8), 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 6), "foobar");
  EXPECT_EQ(Base64Decode("Zm8=Zm9v", out, 8), 2);
  EXPECT_EQ(Base64Decode("Zm 9v", out, 8), 1) << "a space ends the text";
  EXPECT_EQ(Base64Decode("", out, 8), 0);
}

TEST(Base64, DecodingNeverWritesBeyondTheLimit) {
  unsigned char out[4] = {9, 9, 9, 9};
  EXPECT_EQ(Base64Decode("AAAA", out, 2), 2);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 9);
  EXPECT_EQ(Base64Decode("AAAA", out, 0), 0);
  EXPECT_EQ(Base64Decode(nullptr, out, 4), 0);
  EXPECT_EQ(Base64Decode("AAAA", nullptr, 4), 0);
}

TEST(Base64, RandomBytesRoundTrip) {
  std::mt19937 random(1234);
  for (int size = 0; size < 200; ++size) {
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    WDL_String text;
    Base64Encode(bytes.data(), size, &text);
    EXPECT_EQ(text.GetLength(), (size + 2) / 3 * 4);
    std::vector<unsigned char> back(static_cast<size_t>(size) + 1, 0xEE);
    EXPECT_EQ(Base64Decode(text.Get(), back.data(), size), size);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), back.begin())) << size;
    EXPECT_EQ(back[static_cast<size_t>(size)], 0xEE);
  }
}

} // namespace
