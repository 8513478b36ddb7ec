// The password scrambling: a byte stream with a running 32-bit key.
#include <gtest/gtest.h>

#include <string>

#include "core/Scramble.h"

namespace {

using ql::kPasswordKey;
using ql::ScrambleText;
using ql::UnscrambleText;

TEST(Scramble, RoundTripsAndKeepsTheLength) {
  std::string everyByte;
  for (int c = 0; c < 255; ++c) everyByte += static_cast<char>(c + 1);
  for (const std::string& text : {std::string("a"), std::string("Secret pass"), std::string("p\xC3\xA4ss"),
                                  std::string(3, '\0'), everyByte}) {
    const auto scrambled = ScrambleText(text, kPasswordKey);
    ASSERT_TRUE(scrambled);
    EXPECT_EQ(scrambled->size(), text.size());
    EXPECT_NE(*scrambled, text);
    EXPECT_EQ(UnscrambleText(*scrambled, kPasswordKey), text);
  }
}

TEST(Scramble, FollowsTheRunningKey) {
  // Pinned, since passwords stored by earlier runs must keep reading: 'A' ^ bits 8..15 of 4619
  // (0x12) = 0x53; then the key becomes (4619 + 0x53) * 52845 + 22719, whose bits 8..15 are
  // 0xCE: 'B' ^ 0xCE = 0x8C.
  EXPECT_EQ(ScrambleText("AB", kPasswordKey), std::string("\x53\x8C"));
  // The key advances from the scrambled byte, so changing one byte changes all after it.
  const auto one = *ScrambleText("aaaa", kPasswordKey);
  const auto two = *ScrambleText("abaa", kPasswordKey);
  EXPECT_EQ(one[0], two[0]);
  EXPECT_NE(one[1], two[1]);
  EXPECT_NE(one.substr(2), two.substr(2));
}

TEST(Scramble, EmptyTextStaysEmpty) {
  EXPECT_EQ(ScrambleText("", kPasswordKey), std::string());
  EXPECT_EQ(UnscrambleText("", kPasswordKey), std::string());
}

TEST(Scramble, RefusesTextsLongerThan255) {
  EXPECT_TRUE(ScrambleText(std::string(255, 'x'), kPasswordKey));
  EXPECT_FALSE(ScrambleText(std::string(256, 'x'), kPasswordKey));
  EXPECT_FALSE(UnscrambleText(std::string(256, 'x'), kPasswordKey));
}

TEST(Scramble, DifferentKeysGiveDifferentTexts) {
  const std::string text = "password";
  const auto a = *ScrambleText(text, kPasswordKey);
  const auto b = *ScrambleText(text, kPasswordKey + 1);  // same bits 8..15: differs from byte 2
  const auto c = *ScrambleText(text, 0x10000);
  EXPECT_NE(a, b);
  EXPECT_NE(a, c);
  EXPECT_NE(b, c);
  EXPECT_NE(UnscrambleText(a, kPasswordKey + 1), text);
}

}  // namespace
