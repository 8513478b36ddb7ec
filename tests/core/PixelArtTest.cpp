#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pixelart_lib.h"

namespace px = ql::pixelart;

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(b.at(at + 2)) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}
unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<unsigned>(b.at(at)) | static_cast<unsigned>(b.at(at + 1)) << 8;
}

// Line number of the ParseError thrown for `text`, or 0 when it parses.
int ErrorLine(const std::string& text) {
  try {
    px::Parse(text);
  } catch (const px::ParseError& e) {
    return e.line();
  }
  return 0;
}

const char* const kSample =
    "# sample\r\n"
    "colour R 255 0 0   # red\r\n"
    "colour g 0 128 7\r\n"
    "\r\n"
    "grid small 3x2\r\n"
    "R.g\r\n"
    "gR.\r\n"
    "end\r\n"
    "grid dot 1x1\n"
    "g\n"
    "end\n";

}  // namespace

TEST(PixelArtParse, ReadsPaletteAndGridsRowByRow) {
  const px::Sheet sheet = px::Parse(kSample);
  ASSERT_EQ(sheet.palette.size(), 2U);
  EXPECT_EQ(sheet.palette.at('g'), (px::Rgb{0, 128, 7}));
  ASSERT_EQ(sheet.grids.size(), 2U);

  const px::Grid* small = sheet.Find("small");
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->width, 3);
  EXPECT_EQ(small->height, 2);
  EXPECT_EQ(small->At(0, 0), (px::Rgb{255, 0, 0}));
  EXPECT_FALSE(small->At(1, 0).has_value());
  EXPECT_EQ(small->At(2, 0), (px::Rgb{0, 128, 7}));
  EXPECT_EQ(small->At(0, 1), (px::Rgb{0, 128, 7}));
  EXPECT_EQ(small->At(1, 1), (px::Rgb{255, 0, 0}));
  EXPECT_FALSE(small->At(2, 1).has_value());
  EXPECT_EQ(sheet.Find("missing"), nullptr);
}

TEST(PixelArtParse, RejectsMalformedPicturesWithTheLine) {
  const std::string head = "colour X 1 2 3\ngrid g 3x2\n";
  EXPECT_EQ(ErrorLine(head + "XXX\nXX\nend\n"), 4) << "short row";
  EXPECT_EQ(ErrorLine(head + "XXXX\nXXX\nend\n"), 3) << "long row";
  EXPECT_EQ(ErrorLine(head + "XXX\nX?X\nend\n"), 4) << "character not in the palette";
  EXPECT_EQ(ErrorLine(head + "XXX\nX X\nend\n"), 4) << "a space is no pixel";
  EXPECT_EQ(ErrorLine(head + "XXX\nend\n"), 4) << "too few rows";
  EXPECT_EQ(ErrorLine(head + "XXX\nXXX\nXXX\nend\n"), 5) << "too many rows";
  EXPECT_NE(ErrorLine(head + "XXX\nXXX\n"), 0) << "grid never closed";
  EXPECT_EQ(ErrorLine(head + "XXX\nXXX\nend\ngrid g 1x1\nX\nend\n"), 6) << "grid name twice";

  EXPECT_EQ(ErrorLine("colour X 1 2 256\n"), 1) << "value above 255";
  EXPECT_EQ(ErrorLine("colour X 1 2 3a\n"), 1) << "not a number";
  EXPECT_EQ(ErrorLine("colour X 1 2\n"), 1) << "missing value";
  EXPECT_EQ(ErrorLine("colour XY 1 2 3\n"), 1) << "two-character key";
  EXPECT_EQ(ErrorLine("colour . 1 2 3\n"), 1) << "'.' is transparent";
  EXPECT_EQ(ErrorLine("colour X 1 2 3\ncolour X 4 5 6\n"), 2) << "key twice";
  EXPECT_EQ(ErrorLine("grid g 0x4\n"), 1) << "empty size";
  EXPECT_EQ(ErrorLine("grid g 4by4\n"), 1) << "size without x";
  EXPECT_EQ(ErrorLine("grid g 300x4\n"), 1) << "size above 256";
  EXPECT_EQ(ErrorLine("colour X 1 2 3\nXXX\n"), 2) << "row outside a grid";
  EXPECT_EQ(ErrorLine("X 1 2 3\n"), 1) << "unknown statement";
}

TEST(PixelArtBmp, WritesBottomUpPaddedRowsWithMagentaForTransparent) {
  const px::Sheet sheet = px::Parse(kSample);
  const std::vector<std::uint8_t> bmp = px::EncodeBmp(*sheet.Find("small"));

  const std::size_t stride = 12;  // 3 pixels * 3 bytes, padded to 4
  ASSERT_EQ(bmp.size(), 54 + stride * 2);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 54U);         // pixel data offset
  EXPECT_EQ(U32(bmp, 14), 40U);         // BITMAPINFOHEADER
  EXPECT_EQ(U32(bmp, 18), 3U);          // width
  EXPECT_EQ(U32(bmp, 22), 2U);          // height > 0: bottom-up
  EXPECT_EQ(U16(bmp, 28), 24U);         // bits per pixel
  EXPECT_EQ(U32(bmp, 30), 0U);          // BI_RGB
  EXPECT_EQ(U32(bmp, 34), stride * 2);  // image size

  // First stored row is the bottom row "gR.", in BGR order, then three padding bytes.
  const std::vector<std::uint8_t> bottom(bmp.begin() + 54, bmp.begin() + 54 + stride);
  EXPECT_EQ(bottom, (std::vector<std::uint8_t>{7, 128, 0, 0, 0, 255, 255, 0, 255, 0, 0, 0}));
  const std::vector<std::uint8_t> top(bmp.begin() + 54 + stride, bmp.end());
  EXPECT_EQ(top, (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 255, 7, 128, 0, 0, 0, 0}));
}

TEST(PixelArtIco, WritesEveryImageWithAlphaAndAndMask) {
  const px::Sheet sheet = px::Parse(
      "colour W 250 240 230\n"
      "grid big 3x3\nW..\n.W.\nWWW\nend\n"
      "grid tiny 1x1\nW\nend\n");
  const std::vector<std::uint8_t> ico = px::EncodeIco({sheet.Find("big"), sheet.Find("tiny")});

  EXPECT_EQ(U16(ico, 0), 0U);
  EXPECT_EQ(U16(ico, 2), 1U);  // icon, not cursor
  ASSERT_EQ(U16(ico, 4), 2U);  // two images

  // Directory entries: size, 32 bits, byte count and offset of each image, laid end to end.
  const std::uint32_t bigSize = 40 + 3 * 3 * 4 + 4 * 3;  // header, BGRA, mask rows of 4 bytes
  const std::uint32_t tinySize = 40 + 1 * 4 + 4 * 1;
  EXPECT_EQ(ico[6], 3);
  EXPECT_EQ(ico[7], 3);
  EXPECT_EQ(U16(ico, 6 + 6), 32U);
  EXPECT_EQ(U32(ico, 6 + 8), bigSize);
  EXPECT_EQ(U32(ico, 6 + 12), 6U + 32U);
  EXPECT_EQ(ico[22], 1);
  EXPECT_EQ(U32(ico, 22 + 8), tinySize);
  EXPECT_EQ(U32(ico, 22 + 12), 6U + 32U + bigSize);
  EXPECT_EQ(ico.size(), 6U + 32U + bigSize + tinySize);

  // The big image: header height counts the mask too; pixels bottom-up in BGRA.
  const std::size_t img = 38;
  EXPECT_EQ(U32(ico, img), 40U);
  EXPECT_EQ(U32(ico, img + 4), 3U);
  EXPECT_EQ(U32(ico, img + 8), 6U);
  EXPECT_EQ(U16(ico, img + 14), 32U);
  const std::size_t pixels = img + 40;
  // Bottom row "WWW": opaque.
  for (std::size_t x = 0; x < 3; ++x) {
    EXPECT_EQ(std::vector<std::uint8_t>(ico.begin() + static_cast<std::ptrdiff_t>(pixels + 4 * x),
                                        ico.begin() + static_cast<std::ptrdiff_t>(pixels + 4 * x + 4)),
              (std::vector<std::uint8_t>{230, 240, 250, 255}))
        << "bottom row, x=" << x;
  }
  // Top row "W..": stored last; its two transparent pixels have alpha 0.
  const std::size_t topRow = pixels + 2 * 12;
  EXPECT_EQ(ico[topRow + 3], 255);
  EXPECT_EQ(ico[topRow + 4 + 3], 0);
  EXPECT_EQ(ico[topRow + 8 + 3], 0);

  // AND mask, bottom-up, most significant bit first, set where transparent.
  const std::size_t mask = pixels + 36;
  EXPECT_EQ(ico[mask], 0x00) << "WWW";
  EXPECT_EQ(ico[mask + 4], 0xA0) << ".W.";
  EXPECT_EQ(ico[mask + 8], 0x60) << "W..";
  EXPECT_EQ(ico[mask + 1], 0) << "padding";

  EXPECT_THROW(px::EncodeIco({}), std::invalid_argument);
  const px::Sheet wide = px::Parse("colour W 1 1 1\ngrid w 2x1\nWW\nend\n");
  EXPECT_THROW(px::EncodeIco({wide.Find("w")}), std::invalid_argument);
}
