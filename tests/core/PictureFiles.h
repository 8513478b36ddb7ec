// Small, sound picture files built in memory: icon files, bitmap files and a program file with one
// icon group, with the places of their fields, so that tests can damage them on purpose. Portable:
// the core's tests and the Win32 tests share them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace ql::test {

using FileBytes = std::vector<unsigned char>;

class ByteWriter {
 public:
  std::size_t Here() const { return bytes_.size(); }
  void U8(std::uint32_t v) { bytes_.push_back(static_cast<unsigned char>(v & 0xFFU)); }
  void U16(std::uint32_t v) {
    U8(v);
    U8(v >> 8U);
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFFU);
    U16(v >> 16U);
  }
  void Be32(std::uint32_t v) {
    U8(v >> 24U);
    U8(v >> 16U);
    U8(v >> 8U);
    U8(v);
  }
  void Text(const char* s) {
    while (*s != '\0') U8(static_cast<unsigned char>(*s++));
  }
  void Fill(std::size_t n, unsigned char v = 0) { bytes_.insert(bytes_.end(), n, v); }
  void PadTo(std::size_t size) {
    if (bytes_.size() < size) Fill(size - bytes_.size());
  }
  void Append(const FileBytes& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
  const FileBytes& bytes() const { return bytes_; }

 private:
  FileBytes bytes_;
};

inline void Put32(FileBytes& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f.at(at + i) = static_cast<unsigned char>((v >> (8 * i)) & 0xFFU);
}
inline void Put16(FileBytes& f, std::size_t at, std::uint32_t v) {
  f.at(at) = static_cast<unsigned char>(v & 0xFFU);
  f.at(at + 1) = static_cast<unsigned char>((v >> 8U) & 0xFFU);
}

// A size x size, 32-bit icon image (BITMAPINFOHEADER, colour mask, transparency mask): red with an
// opaque mask. Its header's fields: width at 4, height at 8, planes at 12, bit count at 14.
inline FileBytes IconImage(std::uint32_t size = 16) {
  ByteWriter w;
  w.U32(40);
  w.U32(size);
  w.U32(2 * size);
  w.U16(1);
  w.U16(32);
  w.Fill(24);
  for (std::uint32_t i = 0; i < size * size; ++i) w.U32(0xFFFF0000U);
  w.Fill(((size + 31) / 32) * 4 * size);
  return w.bytes();
}

// A PNG stream of an edge x edge picture: signature, IHDR, one IDAT, IEND (the chunks' checksums
// are zero: the check looks at the structure, not at the sums).
inline FileBytes PngImage(std::uint32_t edge = 32) {
  ByteWriter w;
  for (std::uint32_t c : {0x89U, 0x50U, 0x4EU, 0x47U, 0x0DU, 0x0AU, 0x1AU, 0x0AU})
    w.U8(c);  // \x89 P N G \r \n ^Z \n
  w.Be32(13);
  w.Text("IHDR");
  w.Be32(edge);
  w.Be32(edge);
  for (std::uint32_t c : {8U, 6U, 0U, 0U, 0U}) w.U8(c);  // 8-bit RGBA
  w.U32(0);
  w.Be32(5);
  w.Text("IDAT");
  w.Fill(5, 0x78);
  w.U32(0);
  w.Be32(0);
  w.Text("IEND");
  w.U32(0);
  return w.bytes();
}

// An .ico file of the given images. The directory starts at 6, one 16-byte entry per image (size
// at +8, offset at +12), the images follow in order.
inline FileBytes IcoFile(const std::vector<FileBytes>& images) {
  ByteWriter w;
  w.U16(0);
  w.U16(1);
  w.U16(static_cast<std::uint32_t>(images.size()));
  std::uint32_t at = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (const FileBytes& image : images) {
    w.Fill(4);
    w.U16(1);
    w.U16(32);
    w.U32(static_cast<std::uint32_t>(image.size()));
    w.U32(at);
    at += static_cast<std::uint32_t>(image.size());
  }
  for (const FileBytes& image : images) w.Append(image);
  return w.bytes();
}
inline FileBytes IcoFile() { return IcoFile({IconImage(16), PngImage(32)}); }

// Places in a bitmap file.
namespace bmp {
inline constexpr std::size_t kOffBits = 10;
inline constexpr std::size_t kHeaderSize = 14;
inline constexpr std::size_t kWidth = 18;
inline constexpr std::size_t kHeight = 22;
inline constexpr std::size_t kBitCount = 28;
inline constexpr std::size_t kCompression = 30;
inline constexpr std::size_t kSizeImage = 34;
inline constexpr std::size_t kClrUsed = 46;
}  // namespace bmp

// A width x height bitmap file with a 40-byte info header: `bits` per pixel (a palette of
// `colours` entries up to 8 bits, all used), rows padded to 4 bytes, all pixels `fill`.
inline FileBytes BmpFile(std::int32_t width, std::int32_t height, std::uint32_t bits,
                         std::uint32_t colours = 0, unsigned char fill = 0x5A) {
  const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
  const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
  ByteWriter w;
  w.Text("BM");
  w.U32(14 + 40 + colours * 4 + stride * rows);
  w.U32(0);
  w.U32(14 + 40 + colours * 4);
  w.U32(40);
  w.U32(static_cast<std::uint32_t>(width));
  w.U32(static_cast<std::uint32_t>(height));
  w.U16(1);
  w.U16(bits);
  w.U32(0);
  w.U32(stride * rows);
  w.U32(2835);
  w.U32(2835);
  w.U32(colours);
  w.U32(0);
  for (std::uint32_t i = 0; i < colours; ++i) w.U32(0x00102030U * i);
  w.Fill(std::size_t{stride} * rows, fill);
  return w.bytes();
}

// An 8-bit RLE bitmap file of width x height whose pixel data is `rle` (a 16-colour palette).
inline FileBytes Rle8File(std::int32_t width, std::int32_t height, const FileBytes& rle) {
  FileBytes f = BmpFile(width, height, 8, 16);
  f.resize(14 + 40 + 16 * 4);
  f.insert(f.end(), rle.begin(), rle.end());
  Put32(f, 2, static_cast<std::uint32_t>(f.size()));
  Put32(f, bmp::kCompression, 1);
  Put32(f, bmp::kSizeImage, static_cast<std::uint32_t>(rle.size()));
  return f;
}

// A 32-bit program file (PE32, one ".rsrc" section at address 0x1000) with one icon group of one
// icon: the resource tree root (RT_ICON, RT_GROUP_ICON), one name and one language directory
// each, two data entries, the icon image and the group directory. Offsets are in the file.
struct ProgramFile {
  FileBytes bytes;
  static constexpr std::size_t kPe = 64;                               // e_lfanew's value
  static constexpr std::size_t kSectionCount = kPe + 6;                // in the file header
  static constexpr std::size_t kOptional = kPe + 24;                   // optional header
  static constexpr std::size_t kResourceDir = kOptional + 96 + 2 * 8;  // data directory 2
  static constexpr std::size_t kSections = kOptional + 224;
  static constexpr std::size_t kSection = 0x200;  // raw data of .rsrc
  static constexpr std::uint32_t kAddress = 0x1000;
  static constexpr std::size_t kRoot = kSection;
  static constexpr std::size_t kIconNames = kSection + 32;  // RT_ICON's directory of names
  static constexpr std::size_t kIconLanguages = kSection + 56;
  static constexpr std::size_t kGroupNames = kSection + 80;
  static constexpr std::size_t kGroupLanguages = kSection + 104;
  static constexpr std::size_t kIconData = kSection + 128;  // data entries
  static constexpr std::size_t kGroupData = kSection + 144;
  static constexpr std::size_t kImage = kSection + 160;
  std::size_t group = 0;  // GRPICONDIR
};

// `iconId`: the RT_ICON resource's number; `namedId`: the number the group's entry names.
inline ProgramFile MakeProgramFile(std::uint32_t iconId = 1, std::uint32_t namedId = 1,
                                   const FileBytes& image = IconImage(16)) {
  using P = ProgramFile;
  ByteWriter w;
  w.Text("MZ");
  w.PadTo(0x3C);
  w.U32(P::kPe);
  w.PadTo(P::kPe);
  w.Text("PE");
  w.U16(0);
  w.U16(0x14C);  // i386
  w.U16(1);      // one section
  w.Fill(12);
  w.U16(224);  // optional header
  w.U16(0x2102);
  w.U16(0x10B);  // PE32
  w.PadTo(P::kOptional + 92);
  w.U32(16);  // data directories
  w.PadTo(P::kOptional + 224);
  const std::size_t dataEnd = P::kImage + image.size();
  const std::uint32_t sectionBytes = static_cast<std::uint32_t>(dataEnd + 20 - P::kSection);
  w.Text(".rsrc");
  w.Fill(3);
  w.U32(sectionBytes);
  w.U32(P::kAddress);
  w.U32(sectionBytes);
  w.U32(P::kSection);
  w.Fill(16);
  w.PadTo(P::kSection);

  auto address = [](std::size_t fileOffset) {
    return static_cast<std::uint32_t>(fileOffset - P::kSection + P::kAddress);
  };
  auto tree = [](std::size_t fileOffset) { return static_cast<std::uint32_t>(fileOffset - P::kSection); };
  auto directory = [&w](std::uint32_t entries) {
    w.Fill(12);
    w.U16(0);
    w.U16(entries);
  };
  constexpr std::uint32_t kSub = 0x80000000U;
  directory(2);
  w.U32(3);
  w.U32(kSub | tree(P::kIconNames));
  w.U32(14);
  w.U32(kSub | tree(P::kGroupNames));
  directory(1);
  w.U32(iconId);
  w.U32(kSub | tree(P::kIconLanguages));
  directory(1);
  w.U32(0x409);
  w.U32(tree(P::kIconData));
  directory(1);
  w.U32(1);
  w.U32(kSub | tree(P::kGroupLanguages));
  directory(1);
  w.U32(0x409);
  w.U32(tree(P::kGroupData));
  w.U32(address(P::kImage));
  w.U32(static_cast<std::uint32_t>(image.size()));
  w.Fill(8);
  w.U32(address(dataEnd));
  w.U32(20);
  w.Fill(8);
  w.Append(image);
  w.U16(0);
  w.U16(1);
  w.U16(1);
  w.Fill(4);
  w.U16(1);
  w.U16(32);
  w.U32(static_cast<std::uint32_t>(image.size()));
  w.U16(namedId);
  ProgramFile p;
  p.bytes = w.bytes();
  p.group = dataEnd;
  Put32(p.bytes, P::kResourceDir, P::kAddress);
  Put32(p.bytes, P::kResourceDir + 4, sectionBytes);
  return p;
}

// A 16-bit icon library (the NE format) with one icon group of one icon: the resource table
// right after the header, in 16-byte units, then the icon and the group directory.
struct NeFile {
  FileBytes bytes;
  static constexpr std::size_t kNe = 64;
  static constexpr std::size_t kTable = kNe + 64;
  static constexpr std::size_t kIconName = kTable + 2 + 8;  // NAMEINFO: offset, length, flags, id
  static constexpr std::size_t kGroupName = kIconName + 12 + 8;
};

inline NeFile MakeNeFile(const FileBytes& image = IconImage(32), std::uint32_t namedId = 1) {
  using N = NeFile;
  constexpr std::uint32_t kTableBytes = 2 + 2 * (8 + 12) + 2;
  constexpr std::uint32_t kIconAt = 176;
  const std::uint32_t iconUnits = static_cast<std::uint32_t>((image.size() + 15) / 16);
  const std::uint32_t groupAt = kIconAt + 16 * iconUnits;
  ByteWriter w;
  w.Text("MZ");
  w.PadTo(0x3C);
  w.U32(N::kNe);
  w.PadTo(N::kNe);
  w.Text("NE");
  w.PadTo(N::kNe + 0x24);
  w.U16(N::kTable - N::kNe);
  w.U16(N::kTable - N::kNe + kTableBytes);
  w.PadTo(N::kTable);
  w.U16(4);  // 16-byte units
  w.U16(0x8003);
  w.U16(1);
  w.U32(0);
  w.U16(kIconAt / 16);
  w.U16(iconUnits);
  w.U16(0x1C30);
  w.U16(0x8001);
  w.U32(0);
  w.U16(0x800E);
  w.U16(1);
  w.U32(0);
  w.U16(groupAt / 16);
  w.U16(2);
  w.U16(0x1C30);
  w.U16(0x8001);
  w.U32(0);
  w.U16(0);
  w.PadTo(kIconAt);
  w.Append(image);
  w.PadTo(groupAt);
  w.U16(0);
  w.U16(1);
  w.U16(1);
  w.Fill(4);
  w.U16(1);
  w.U16(32);
  w.U32(static_cast<std::uint32_t>(image.size()));
  w.U16(namedId);
  w.PadTo(groupAt + 32);
  return NeFile{w.bytes()};
}

// Damaged copies of sound files, as a user may have them: cut short at several lengths, fields
// made wrong, random bytes over the headers and resources (seeded, so always the same files).
struct DamagedFile {
  std::string name;
  FileBytes bytes;
};

// `what` and a number (built by appending: GCC 12 sees a false overlap in literal + string).
inline std::string Named(std::string what, std::size_t n) {
  what += std::to_string(n);
  return what;
}

inline std::vector<DamagedFile> DamagedCopies(const FileBytes& good, std::size_t headerEnd,
                                              std::vector<std::pair<std::string, FileBytes>> edited) {
  std::vector<DamagedFile> out;
  for (std::size_t n :
       {std::size_t{0}, std::size_t{5}, headerEnd / 2, headerEnd, good.size() / 2, good.size() - 1}) {
    out.push_back(
        {Named("cut at ", n), FileBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n))});
  }
  for (auto& [what, bytes] : edited) out.push_back({std::move(what), std::move(bytes)});
  std::mt19937 random(static_cast<std::uint32_t>(good.size()));
  for (int i = 0; i < 4; ++i) {
    FileBytes f = good;
    for (int k = 0; k < 24; ++k) f[random() % headerEnd] = static_cast<unsigned char>(random());
    out.push_back({Named("random bytes ", i), std::move(f)});
  }
  return out;
}

template <typename Edit>
FileBytes EditedCopy(FileBytes f, Edit edit) {
  edit(f);
  return f;
}

inline std::vector<DamagedFile> DamagedIcoFiles() {
  const FileBytes good = IcoFile();
  return DamagedCopies(
      good, 6 + 2 * 16 + 40,
      {{"a count of 65535", EditedCopy(good, [](FileBytes& f) { Put16(f, 4, 0xFFFF); })},
       {"image past the end", EditedCopy(good, [](FileBytes& f) { Put32(f, 6 + 12, 0x7FFFFFF0U); })},
       {"size that wraps", EditedCopy(good, [](FileBytes& f) { Put32(f, 6 + 8, 0xFFFFFFF0U); })},
       {"huge width", EditedCopy(good, [](FileBytes& f) { Put32(f, 38 + 4, 0x7FFFFFFFU); })}});
}

inline std::vector<DamagedFile> DamagedBmpFiles() {
  const FileBytes good = BmpFile(16, 16, 8, 16);
  return DamagedCopies(
      good, 14 + 40 + 64,
      {{"pixels far past the end",
        EditedCopy(good, [](FileBytes& f) { Put32(f, bmp::kOffBits, 0xFFFFFFF0U); })},
       {"huge height", EditedCopy(good, [](FileBytes& f) { Put32(f, bmp::kHeight, 0x80000000U); })},
       {"palette of 2^31", EditedCopy(good, [](FileBytes& f) { Put32(f, bmp::kClrUsed, 0x80000000U); })},
       {"RLE running off", Rle8File(16, 16, {0, 0, 255, 1, 0, 2, 200, 200, 0, 1})}});
}

inline std::vector<DamagedFile> DamagedProgramFiles() {
  using P = ProgramFile;
  const FileBytes good = MakeProgramFile(1, 1, IconImage(32)).bytes;
  return DamagedCopies(
      good, P::kImage + 40,
      {{"e_lfanew past the end", EditedCopy(good, [](FileBytes& f) { Put32(f, 0x3C, 0x7FFFFFF0U); })},
       {"root entry count", EditedCopy(good, [](FileBytes& f) { Put16(f, P::kRoot + 14, 0x7FFF); })},
       {"icon address outside", EditedCopy(good, [](FileBytes& f) { Put32(f, P::kIconData, 0x7FFFFFF0U); })},
       {"icon size that wraps",
        EditedCopy(good, [](FileBytes& f) { Put32(f, P::kIconData + 4, 0xFFFFFFFFU); })},
       {"a group naming a missing icon", MakeProgramFile(1, 9, IconImage(32)).bytes}});
}

}  // namespace ql::test
