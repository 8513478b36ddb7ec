// Pixel art kept as text, turned into Windows icon and bitmap files.
//
// Shared by the host tool (tools/pixelart.cpp) and its unit test; portable C++20, no window system.
//
// Text format, one statement per line:
//   # comment                      ignored (also after a statement), as are blank lines outside
//                                  a grid
//   colour C R G B                 palette entry: one printable character C, three values 0..255
//   grid NAME WxH                  starts a grid of W columns and H rows; then exactly H rows of
//   <row>                          W characters each, every one '.' (transparent) or a palette
//   ...                            character, and a closing line
//   end
// Anything else is an error: a picture with a ragged row or a stray character never becomes a
// file with garbage in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ql::pixelart {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One picture; pixels row by row from the top, std::nullopt where transparent.
struct Grid {
  std::string name;
  int width = 0;
  int height = 0;
  std::vector<std::optional<Rgb>> pixels;

  const std::optional<Rgb>& At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

struct Sheet {
  std::map<char, Rgb> palette;
  std::vector<Grid> grids;

  const Grid* Find(std::string_view name) const {
    for (const Grid& g : grids) {
      if (g.name == name) return &g;
    }
    return nullptr;
  }
};

// Thrown for any malformed input; the message names the line.
class ParseError : public std::runtime_error {
 public:
  ParseError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

namespace detail {

inline std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::string current;
  for (char c : text) {
    if (c == ' ' || c == '\t') {
      if (!current.empty()) words.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) words.push_back(std::move(current));
  return words;
}

// A decimal number in [lo, hi], digits only.
inline std::optional<int> ParseNumber(const std::string& word, int lo, int hi) {
  if (word.empty() || word.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < lo || value > hi) return std::nullopt;
  return value;
}

inline void PutU16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFFu));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFFu));
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFFu));
}

// BITMAPINFOHEADER, uncompressed.
inline void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, unsigned bitCount,
                          std::uint32_t imageSize, std::uint32_t pixelsPerMetre) {
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, bitCount);
  PutU32(out, 0);  // BI_RGB
  PutU32(out, imageSize);
  PutU32(out, pixelsPerMetre);
  PutU32(out, pixelsPerMetre);
  PutU32(out, 0);
  PutU32(out, 0);
}

}  // namespace detail

inline Sheet Parse(std::string_view text) {
  Sheet sheet;
  std::istringstream in{std::string(text)};
  std::string raw;
  int lineNo = 0;
  Grid* open = nullptr;  // the grid whose rows are being read
  int rowsRead = 0;

  while (std::getline(in, raw)) {
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();

    if (open != nullptr) {
      if (raw == "end") {
        if (rowsRead != open->height) {
          throw ParseError(lineNo, "grid '" + open->name + "' has " + std::to_string(rowsRead) +
                                       " rows, expected " + std::to_string(open->height));
        }
        open = nullptr;
        continue;
      }
      if (rowsRead == open->height) {
        throw ParseError(lineNo, "grid '" + open->name + "' has more than " + std::to_string(open->height) +
                                     " rows (missing 'end'?)");
      }
      if (static_cast<int>(raw.size()) != open->width) {
        throw ParseError(lineNo, "row of " + std::to_string(raw.size()) + " characters in grid '" +
                                     open->name + "', expected " + std::to_string(open->width));
      }
      for (char c : raw) {
        if (c == '.') {
          open->pixels.emplace_back(std::nullopt);
          continue;
        }
        auto it = sheet.palette.find(c);
        if (it == sheet.palette.end()) {
          throw ParseError(lineNo, std::string("character '") + c + "' is not in the palette");
        }
        open->pixels.emplace_back(it->second);
      }
      ++rowsRead;
      continue;
    }

    std::vector<std::string> words = detail::SplitWords(raw);
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (words[i][0] == '#') {  // a comment runs to the end of the line
        words.resize(i);
        break;
      }
    }
    if (words.empty()) continue;

    if (words[0] == "colour") {
      if (words.size() != 5 || words[1].size() != 1) {
        throw ParseError(lineNo, "expected 'colour C R G B'");
      }
      const char key = words[1][0];
      if (key == '.' || key == '#' || key < '!' || key > '~') {
        throw ParseError(lineNo, std::string("'") + key + "' cannot be a palette character");
      }
      if (sheet.palette.count(key) != 0) {
        throw ParseError(lineNo, std::string("palette character '") + key + "' defined twice");
      }
      Rgb rgb;
      std::uint8_t* parts[3] = {&rgb.r, &rgb.g, &rgb.b};
      for (std::size_t i = 0; i < 3; ++i) {
        const auto v = detail::ParseNumber(words[2 + i], 0, 255);
        if (!v) throw ParseError(lineNo, "colour value '" + words[2 + i] + "' is not a number 0..255");
        *parts[i] = static_cast<std::uint8_t>(*v);
      }
      sheet.palette[key] = rgb;
      continue;
    }

    if (words[0] == "grid") {
      if (words.size() != 3) throw ParseError(lineNo, "expected 'grid NAME WxH'");
      const std::string& size = words[2];
      const auto x = size.find('x');
      const auto w = x == std::string::npos ? std::nullopt : detail::ParseNumber(size.substr(0, x), 1, 256);
      const auto h = x == std::string::npos ? std::nullopt : detail::ParseNumber(size.substr(x + 1), 1, 256);
      if (!w || !h) throw ParseError(lineNo, "grid size '" + size + "' is not WxH with 1..256");
      if (sheet.Find(words[1]) != nullptr) throw ParseError(lineNo, "grid '" + words[1] + "' defined twice");
      Grid grid;
      grid.name = words[1];
      grid.width = *w;
      grid.height = *h;
      grid.pixels.reserve(static_cast<std::size_t>(*w) * static_cast<std::size_t>(*h));
      sheet.grids.push_back(std::move(grid));
      open = &sheet.grids.back();
      rowsRead = 0;
      continue;
    }

    throw ParseError(lineNo, "unknown statement '" + words[0] + "'");
  }

  if (open != nullptr) throw ParseError(lineNo, "grid '" + open->name + "' is not closed with 'end'");
  return sheet;
}

// A .ico file holding the given square grids, each as a 32-bit BGRA image with its AND mask
// (bit set = transparent), rows stored bottom-up as Windows expects.
inline std::vector<std::uint8_t> EncodeIco(const std::vector<const Grid*>& images) {
  if (images.empty() || images.size() > 0xFFFF)
    throw std::invalid_argument("an icon needs 1 to 65535 images");
  for (const Grid* g : images) {
    if (g->width != g->height) throw std::invalid_argument("icon image '" + g->name + "' is not square");
  }

  std::vector<std::uint8_t> out;
  detail::PutU16(out, 0);
  detail::PutU16(out, 1);  // icon
  detail::PutU16(out, static_cast<unsigned>(images.size()));

  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  std::vector<std::uint32_t> sizes;
  for (const Grid* g : images) {
    const auto w = static_cast<std::uint32_t>(g->width);
    const auto h = static_cast<std::uint32_t>(g->height);
    const std::uint32_t maskStride = (w + 31) / 32 * 4;
    const std::uint32_t size = 40 + w * h * 4 + maskStride * h;
    sizes.push_back(size);
    out.push_back(static_cast<std::uint8_t>(w == 256 ? 0 : w));
    out.push_back(static_cast<std::uint8_t>(h == 256 ? 0 : h));
    out.push_back(0);  // no palette
    out.push_back(0);
    detail::PutU16(out, 1);   // planes
    detail::PutU16(out, 32);  // bits per pixel
    detail::PutU32(out, size);
    detail::PutU32(out, offset);
    offset += size;
  }

  for (std::size_t i = 0; i < images.size(); ++i) {
    const Grid& g = *images[i];
    const auto w = static_cast<std::uint32_t>(g.width);
    const std::uint32_t maskStride = (w + 31) / 32 * 4;
    detail::PutInfoHeader(out, g.width, g.height * 2, 32, sizes[i] - 40, 0);
    for (int y = g.height - 1; y >= 0; --y) {
      for (int x = 0; x < g.width; ++x) {
        const auto& p = g.At(x, y);
        if (p) {
          out.insert(out.end(), {p->b, p->g, p->r, 0xFF});
        } else {
          out.insert(out.end(), {0, 0, 0, 0});
        }
      }
    }
    for (int y = g.height - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(maskStride, 0);
      for (int x = 0; x < g.width; ++x) {
        if (!g.At(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
      }
      out.insert(out.end(), row.begin(), row.end());
    }
  }
  return out;
}

// The magenta that stands for transparent pixels in the program's bitmaps.
inline constexpr Rgb kTransparentKey{255, 0, 255};

// A 24-bit .bmp file of one grid, rows bottom-up and padded to four bytes; transparent pixels
// become the magenta key colour.
inline std::vector<std::uint8_t> EncodeBmp(const Grid& g) {
  const auto w = static_cast<std::uint32_t>(g.width);
  const auto h = static_cast<std::uint32_t>(g.height);
  const std::uint32_t stride = (w * 3 + 3) / 4 * 4;
  const std::uint32_t imageSize = stride * h;

  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  detail::PutU32(out, 14 + 40 + imageSize);
  detail::PutU32(out, 0);
  detail::PutU32(out, 14 + 40);
  detail::PutInfoHeader(out, g.width, g.height, 24, imageSize, 2835);  // 72 dpi
  for (int y = g.height - 1; y >= 0; --y) {
    std::size_t written = 0;
    for (int x = 0; x < g.width; ++x) {
      const Rgb p = g.At(x, y).value_or(kTransparentKey);
      out.insert(out.end(), {p.b, p.g, p.r});
      written += 3;
    }
    out.insert(out.end(), stride - written, 0);
  }
  return out;
}

}  // namespace ql::pixelart
