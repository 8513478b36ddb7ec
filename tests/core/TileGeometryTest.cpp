#include <gtest/gtest.h>

#include <stdexcept>

#include "core/TileGeometry.h"

using ql::IconSource;
using ql::TGroupeState;

TEST(TileGeometry, AutoSizeAddsSixteenOrFourteenAndTheTextHeight) {
  EXPECT_EQ(ql::AutoTileSize(48, false, 13), 64);
  EXPECT_EQ(ql::AutoTileSize(48, true, 13), 75);
  EXPECT_EQ(ql::AutoTileSize(32, false, 0), 48);
  EXPECT_EQ(ql::AutoTileSize(16, true, 16), 46);
}

TEST(TileGeometry, IconIsCentredInTheWholeTileWithTruncatedHalves) {
  EXPECT_EQ(ql::IconOrigin(64, 64, 48), (ql::TilePoint{8, 8}));
  EXPECT_EQ(ql::IconOrigin(75, 75, 48), (ql::TilePoint{13, 13}));
  // A tile smaller than the icon: negative halves truncate toward zero.
  EXPECT_EQ(ql::IconOrigin(45, 40, 48), (ql::TilePoint{-1, -4}));
}

TEST(TileGeometry, GroupDotsSpanElevenColumnsAtTheGroupSide) {
  const auto left = ql::DotsLayout(TGroupeState::gLeft, 64, 64, 13);
  EXPECT_EQ(left.Left(), 3);
  EXPECT_EQ(left.Right(), 13);
  const auto right = ql::DotsLayout(TGroupeState::gRight, 64, 64, 13);
  EXPECT_EQ(right.Left(), 49);
  EXPECT_EQ(right.Right(), 59);
  EXPECT_EQ(right.yd, 64 - 13 - 5);
  const auto wide = ql::DotsLayout(TGroupeState::gRight, 80, 75, 16);
  EXPECT_EQ(wide.Left(), 65);
  EXPECT_EQ(wide.yd, 54);

  EXPECT_FALSE(ql::HasGroupDots(TGroupeState::gNone, true));
  EXPECT_FALSE(ql::HasGroupDots(TGroupeState::gLeft, false));
  EXPECT_TRUE(ql::HasGroupDots(TGroupeState::gRight, true));
}

TEST(TileGeometry, DotPatternIsDarkAtUpperLeftAndLightAtLowerRight) {
  EXPECT_FALSE(ql::DotPixelIsWhite(0, 0));
  EXPECT_FALSE(ql::DotPixelIsWhite(1, 0));
  EXPECT_TRUE(ql::DotPixelIsWhite(2, 0));
  EXPECT_FALSE(ql::DotPixelIsWhite(0, 1));
  EXPECT_TRUE(ql::DotPixelIsWhite(1, 1));
  EXPECT_TRUE(ql::DotPixelIsWhite(2, 1));
}

TEST(TileGeometry, CaptionIsCentredAndItsStripSpansTheTile) {
  const auto l = ql::CaptionLayout(64, 64, 30, 13);
  EXPECT_EQ(l.tx, 17);
  EXPECT_EQ(l.ty, 49);
  EXPECT_EQ(l.Text(), (ql::TilePoint{17, 50}));
  EXPECT_EQ(l.Shadow(), (ql::TilePoint{18, 51}));
  EXPECT_EQ(l.stripLeft, 0);
  EXPECT_EQ(l.stripTop, 50);
  EXPECT_EQ(l.stripWidth, 63);
  EXPECT_EQ(l.stripHeight, 11);
  // Wider than the tile: centred, so it starts left of the tile (clipped on both sides).
  const auto wide = ql::CaptionLayout(64, 64, 101, 13);
  EXPECT_EQ(wide.tx, -18);
  EXPECT_EQ(wide.stripWidth, 63);
}

TEST(TileGeometry, IconSourceUsesSubstringsOfTheLowerCasedPath) {
  EXPECT_EQ(ql::ClassifyIconPath(""), IconSource::None);
  EXPECT_EQ(ql::ClassifyIconPath("C:\\Icons\\Disk.ICO"), IconSource::IcoFile);
  // Anywhere in the path, a folder name included.
  EXPECT_EQ(ql::ClassifyIconPath("C:\\my.icons\\readme.txt"), IconSource::IcoFile);
  EXPECT_EQ(ql::ClassifyIconPath("C:\\my.icons\\prog.exe"), IconSource::IcoFile);
  EXPECT_EQ(ql::ClassifyIconPath("C:\\WINDOWS\\NOTEPAD.EXE"), IconSource::Extract);
  EXPECT_EQ(ql::ClassifyIconPath("c:\\windows\\system32\\shell32.dll"), IconSource::Extract);
  EXPECT_EQ(ql::ClassifyIconPath("D:\\art\\set.Icl"), IconSource::Extract);
  EXPECT_EQ(ql::ClassifyIconPath("C:\\tools.exe.d\\notes.txt"), IconSource::Extract);
  EXPECT_EQ(ql::ClassifyIconPath("C:\\Documents\\letter.doc"), IconSource::Shell);
  EXPECT_EQ(ql::ClassifyIconPath("C:\\Program Files"), IconSource::Shell);
  EXPECT_EQ(ql::ClassifyIconPath("C:\\link.lnk"), IconSource::Shell);
  EXPECT_EQ(ql::ClassifyIconPath("A:\\"), IconSource::Shell);
  // An extension-like word without its dot is not a match.
  EXPECT_EQ(ql::ClassifyIconPath("C:\\exe\\icon"), IconSource::Shell);
}

TEST(TileGeometry, SmallIconsUpToSixteenPixels) {
  EXPECT_TRUE(ql::UsesSmallIcon(16));
  EXPECT_TRUE(ql::UsesSmallIcon(8));
  EXPECT_FALSE(ql::UsesSmallIcon(17));
  EXPECT_FALSE(ql::UsesSmallIcon(48));
}

TEST(TileGeometry, GaugeFillTruncatesTowardZero) {
  EXPECT_EQ(ql::GaugeFill(0, 53), 0);
  EXPECT_EQ(ql::GaugeFill(100, 53), 50);
  EXPECT_EQ(ql::GaugeFill(33, 53), 16);                    // 16.5
  EXPECT_EQ(ql::GaugeFill(-33, 53), -16);                  // -16.5
  EXPECT_EQ(ql::GaugeFill(2147483647, 1000), 2147483647);  // clamped, no overflow
}

TEST(TileGeometry, GaugeDarkensByFivePerColumnDownToBlack) {
  const ql::Rgb start{20, 200, 255};
  EXPECT_EQ(ql::GaugeShade(start, 0), start);
  EXPECT_EQ(ql::GaugeShade(start, 1), (ql::Rgb{15, 195, 250}));
  EXPECT_EQ(ql::GaugeShade(start, 4), (ql::Rgb{0, 180, 235}));
  EXPECT_EQ(ql::GaugeShade(start, 20), (ql::Rgb{0, 100, 155}));
  EXPECT_EQ(ql::GaugeShade(start, 21), (ql::Rgb{0, 95, 150}));
  EXPECT_EQ(ql::GaugeShade(ql::Rgb{3, 7, 255}, 1), (ql::Rgb{0, 2, 250}));
  EXPECT_EQ(ql::GaugeShade(start, 60), (ql::Rgb{0, 0, 0}));
}

TEST(TileGeometry, GaugePercentMustBeADecimalInteger) {
  EXPECT_EQ(ql::ParseGaugePercent("42"), 42);
  EXPECT_EQ(ql::ParseGaugePercent("-3"), -3);
  EXPECT_THROW(ql::ParseGaugePercent(""), std::invalid_argument);
  EXPECT_THROW(ql::ParseGaugePercent("4.5"), std::invalid_argument);
  EXPECT_THROW(ql::ParseGaugePercent("50%"), std::invalid_argument);
}

TEST(TileGeometry, ColourComponentsAbove255AreARangeError) {
  EXPECT_NO_THROW(ql::CheckColour({0, 128, 255}));
  EXPECT_THROW(ql::CheckColour({256, 0, 0}), std::out_of_range);
  EXPECT_THROW(ql::CheckColour({0, 0, 300}), std::out_of_range);
  EXPECT_THROW(ql::CheckColour({0, -1, 0}), std::out_of_range);
}
