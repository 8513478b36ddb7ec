#include <gtest/gtest.h>

#include "core/Text.h"

TEST(Text, ParseDecimalAcceptsOnlyWholeNumbers) {
  EXPECT_EQ(ql::ParseDecimal("32"), 32);
  EXPECT_EQ(ql::ParseDecimal("-5"), -5);
  EXPECT_EQ(ql::ParseDecimal("+7"), 7);
  EXPECT_FALSE(ql::ParseDecimal(""));
  EXPECT_FALSE(ql::ParseDecimal("3x"));
  EXPECT_FALSE(ql::ParseDecimal(" 3"));
  EXPECT_FALSE(ql::ParseDecimal("+-3"));
  EXPECT_FALSE(ql::ParseDecimal("99999999999"));
}

TEST(Text, CaseFoldingTouchesAsciiOnly) {
  EXPECT_TRUE(ql::EqualsIgnoreCase("BtnApp1", "btnapp1"));
  EXPECT_FALSE(ql::EqualsIgnoreCase("BtnApp1", "BtnApp10"));
  EXPECT_EQ(ql::ToLowerAscii("\xC3\x89T\xC3\xA9"), "\xC3\x89t\xC3\xA9");
}
