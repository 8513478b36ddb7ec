#include <gtest/gtest.h>

#include "win/Utf.h"

TEST(Utf, RoundTripsAccentedText) {
  const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC";
  EXPECT_EQ(ql::win::Narrow(ql::win::Widen(text)), text);
  EXPECT_EQ(ql::win::Widen(text).size(), 6U);
}
