// The checks of icon, bitmap and program files: sound files pass, damaged ones (cut short, bad
// offsets and counts, random bytes over the headers and resources) fail, and every buffer is
// decided from its own bytes only (the sanitizers see any read past them).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "PictureFiles.h"
#include "core/PictureCheck.h"

namespace {

using ql::ByteView;
using ql::IsSoundBmpFile;
using ql::IsSoundIcoFile;
using ql::IsSoundIconImage;
using ql::MemorySource;
using ql::test::FileBytes;
using ql::test::ProgramFile;
using ql::test::Put16;
using ql::test::Put32;
namespace bmp = ql::test::bmp;

// A fresh buffer of exactly the given bytes, so that a read past its end is a sanitizer error.
bool IsSoundProgram(const FileBytes& f) {
  const FileBytes copy(f);
  MemorySource source(copy);
  return ql::IsSoundIconProgram(source);
}

FileBytes Cut(const FileBytes& f, std::size_t n) {
  return {f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n)};
}

template <typename Edit>
FileBytes Edited(FileBytes f, Edit edit) {
  edit(f);
  return f;
}

// A source that says it is `size` bytes long, holds `bytes` at its start and zeros after, and
// counts what is read from it.
class SparseSource final : public ql::ByteSource {
 public:
  SparseSource(FileBytes bytes, std::uint64_t size) : bytes_(std::move(bytes)), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  std::optional<ByteView> View(std::uint64_t offset, std::uint64_t n,
                               std::vector<unsigned char>& copy) override {
    if (offset > size_ || n > size_ - offset) return std::nullopt;
    read += n;
    copy.assign(static_cast<std::size_t>(n), 0);
    for (std::size_t i = 0; i < copy.size(); ++i) {
      if (offset + i < bytes_.size()) copy[i] = bytes_[static_cast<std::size_t>(offset + i)];
    }
    return ByteView(copy);
  }
  std::uint64_t read = 0;

 private:
  FileBytes bytes_;
  std::uint64_t size_;
};

}  // namespace

// --- Sound files ---------------------------------------------------------------------------------

TEST(PictureCheck, SoundFilesPass) {
  EXPECT_TRUE(IsSoundIconImage(ql::test::IconImage(16)));
  EXPECT_TRUE(IsSoundIconImage(ql::test::IconImage(48)));  // masks of 48-pixel rows: padded
  EXPECT_TRUE(IsSoundIconImage(ql::test::PngImage(256)));
  EXPECT_TRUE(IsSoundIcoFile(ql::test::IcoFile()));
  EXPECT_TRUE(IsSoundIcoFile(ql::test::IcoFile({ql::test::IconImage(32)})));

  EXPECT_TRUE(IsSoundBmpFile(ql::test::BmpFile(8, 8, 24)));
  EXPECT_TRUE(IsSoundBmpFile(ql::test::BmpFile(5, 3, 24)));   // rows padded to 16 bytes
  EXPECT_TRUE(IsSoundBmpFile(ql::test::BmpFile(5, -3, 32)));  // top-down
  EXPECT_TRUE(IsSoundBmpFile(ql::test::BmpFile(9, 2, 1, 2)));
  EXPECT_TRUE(IsSoundBmpFile(ql::test::BmpFile(9, 2, 4, 16)));
  EXPECT_TRUE(IsSoundBmpFile(ql::test::BmpFile(9, 2, 8, 256)));
  EXPECT_TRUE(IsSoundBmpFile(ql::test::BmpFile(9, 2, 16)));
  // Runs, a literal, an end of line, a skip, and the end mark.
  EXPECT_TRUE(IsSoundBmpFile(ql::test::Rle8File(8, 3, {4, 1, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 2, 1, 0, 1})));

  EXPECT_TRUE(IsSoundProgram(ql::test::MakeProgramFile().bytes));
  EXPECT_TRUE(IsSoundProgram(ql::test::MakeProgramFile(1, 1, ql::test::PngImage(48)).bytes));
  // A program without resources has no icons to crash on.
  EXPECT_TRUE(IsSoundProgram(Edited(ql::test::MakeProgramFile().bytes,
                                    [](FileBytes& f) { Put32(f, ProgramFile::kResourceDir, 0); })));
}

TEST(PictureCheck, TheKindChoosesTheCheckAndLargeFilesAreNotRead) {
  const FileBytes ico = ql::test::IcoFile();
  const FileBytes bmpFile = ql::test::BmpFile(8, 8, 24);
  MemorySource icoSource(ico);
  MemorySource bmpSource(bmpFile);
  EXPECT_TRUE(ql::IsSoundPicture(ql::PictureKind::Icon, icoSource));
  EXPECT_FALSE(ql::IsSoundPicture(ql::PictureKind::Bitmap, icoSource));
  EXPECT_TRUE(ql::IsSoundPicture(ql::PictureKind::Bitmap, bmpSource));
  EXPECT_FALSE(ql::IsSoundPicture(ql::PictureKind::Program, bmpSource));

  SparseSource huge(ico, ql::kMaxPictureBytes + 1);
  EXPECT_FALSE(ql::IsSoundPicture(ql::PictureKind::Icon, huge));
  EXPECT_EQ(huge.read, 0U);

  // A program of 1 GiB: its headers and its resource section are read, nothing else.
  const FileBytes program = ql::test::MakeProgramFile().bytes;
  SparseSource big(program, 1ULL << 30);
  EXPECT_TRUE(ql::IsSoundPicture(ql::PictureKind::Program, big));
  EXPECT_LT(big.read, 2 * program.size());
}

// --- Files cut short -----------------------------------------------------------------------------

TEST(PictureCheck, EveryFileCutShortFails) {
  const FileBytes ico = ql::test::IcoFile();
  for (std::size_t n = 0; n < ico.size(); ++n) EXPECT_FALSE(IsSoundIcoFile(Cut(ico, n))) << n;
  const FileBytes png = ql::test::PngImage();
  for (std::size_t n = 0; n < png.size(); ++n) EXPECT_FALSE(IsSoundIconImage(Cut(png, n))) << n;
  for (const FileBytes& b : {ql::test::BmpFile(5, 3, 24), ql::test::BmpFile(9, 2, 4, 16),
                             ql::test::Rle8File(8, 3, {4, 1, 0, 3, 7, 8, 9, 0, 0, 1})}) {
    for (std::size_t n = 0; n < b.size(); ++n) EXPECT_FALSE(IsSoundBmpFile(Cut(b, n))) << n;
  }
  const FileBytes program = ql::test::MakeProgramFile().bytes;
  for (std::size_t n = 0; n < program.size(); ++n) EXPECT_FALSE(IsSoundProgram(Cut(program, n))) << n;
}

// --- Damaged fields ------------------------------------------------------------------------------

TEST(PictureCheck, DamagedIconFilesFail) {
  const FileBytes good = ql::test::IcoFile();
  constexpr std::size_t kFirst = 6;  // first directory entry
  const std::vector<std::pair<const char*, std::function<void(FileBytes&)>>> damage = {
      {"reserved word", [](FileBytes& f) { Put16(f, 0, 1); }},
      {"cursor type", [](FileBytes& f) { Put16(f, 2, 2); }},
      {"no images", [](FileBytes& f) { Put16(f, 4, 0); }},
      {"more images than the directory holds", [](FileBytes& f) { Put16(f, 4, 3); }},
      {"a count of 65535", [](FileBytes& f) { Put16(f, 4, 0xFFFF); }},
      {"image past the end",
       [](FileBytes& f) { Put32(f, kFirst + 12, static_cast<std::uint32_t>(f.size())); }},
      {"image over the directory", [](FileBytes& f) { Put32(f, kFirst + 12, 6); }},
      {"size that wraps", [](FileBytes& f) { Put32(f, kFirst + 8, 0xFFFFFFF0U); }},
      {"empty image", [](FileBytes& f) { Put32(f, kFirst + 8, 0); }},
      {"second image past the end", [](FileBytes& f) { Put32(f, kFirst + 16 + 12, 0x7FFFFFFFU); }},
  };
  for (const auto& [what, edit] : damage) EXPECT_FALSE(IsSoundIcoFile(Edited(good, edit))) << what;
}

TEST(PictureCheck, DamagedIconImagesFail) {
  const FileBytes image = ql::test::IconImage(16);
  const std::vector<std::pair<const char*, std::function<void(FileBytes&)>>> damage = {
      {"header size", [](FileBytes& f) { Put32(f, 0, 41); }},
      {"header larger than the image", [](FileBytes& f) { Put32(f, 0, 124); }},
      {"width 0", [](FileBytes& f) { Put32(f, 4, 0); }},
      {"negative width", [](FileBytes& f) { Put32(f, 4, 0xFFFFFFF0U); }},
      {"wider than the masks", [](FileBytes& f) { Put32(f, 4, 17); }},
      {"huge width", [](FileBytes& f) { Put32(f, 4, 0x40000000U); }},
      {"taller than the masks", [](FileBytes& f) { Put32(f, 8, 34); }},
      {"top-down", [](FileBytes& f) { Put32(f, 8, 0xFFFFFFE0U); }},
      {"two planes", [](FileBytes& f) { Put16(f, 12, 2); }},
      {"7 bits", [](FileBytes& f) { Put16(f, 14, 7); }},
      {"RLE", [](FileBytes& f) { Put32(f, 16, 1); }},
      {"palette of 300", [](FileBytes& f) { Put32(f, 32, 300); }},
      {"palette that does not fit", [](FileBytes& f) { Put32(f, 32, 200); }},
  };
  for (const auto& [what, edit] : damage) EXPECT_FALSE(IsSoundIconImage(Edited(image, edit))) << what;

  const FileBytes png = ql::test::PngImage(32);
  constexpr std::size_t kIhdr = 8;
  const std::vector<std::pair<const char*, std::function<void(FileBytes&)>>> pngDamage = {
      {"IHDR not first", [](FileBytes& f) { f[kIhdr + 4] = 'X'; }},
      {"IHDR length", [](FileBytes& f) { f[kIhdr + 3] = 12; }},
      {"width 0", [](FileBytes& f) { Put32(f, kIhdr + 8, 0); }},
      {"huge height", [](FileBytes& f) { f[kIhdr + 12] = 0x7F; }},
      {"chunk past the end", [](FileBytes& f) { f[kIhdr + 25 + 2] = 0x10; }},
      {"no IEND", [](FileBytes& f) { f[f.size() - 6] = 'X'; }},
  };
  for (const auto& [what, edit] : pngDamage) EXPECT_FALSE(IsSoundIconImage(Edited(png, edit))) << what;
}

TEST(PictureCheck, DamagedBitmapFilesFail) {
  const FileBytes good = ql::test::BmpFile(9, 2, 8, 16);
  const std::vector<std::pair<const char*, std::function<void(FileBytes&)>>> damage = {
      {"signature", [](FileBytes& f) { f[1] = 'A'; }},
      {"pixels past the end",
       [](FileBytes& f) { Put32(f, bmp::kOffBits, static_cast<std::uint32_t>(f.size())); }},
      {"pixels far past the end", [](FileBytes& f) { Put32(f, bmp::kOffBits, 0xFFFFFFF0U); }},
      {"pixels over the palette", [](FileBytes& f) { Put32(f, bmp::kOffBits, 14 + 40 + 8); }},
      {"pixels that no longer fit", [](FileBytes& f) { Put32(f, bmp::kOffBits, 14 + 40 + 16 * 4 + 4); }},
      {"header size 41", [](FileBytes& f) { Put32(f, bmp::kHeaderSize, 41); }},
      {"header past the end", [](FileBytes& f) { Put32(f, bmp::kHeaderSize, 0xFFFFFF00U); }},
      {"width 0", [](FileBytes& f) { Put32(f, bmp::kWidth, 0); }},
      {"negative width", [](FileBytes& f) { Put32(f, bmp::kWidth, 0xFFFFFFF7U); }},
      {"height 0", [](FileBytes& f) { Put32(f, bmp::kHeight, 0); }},
      {"lowest height", [](FileBytes& f) { Put32(f, bmp::kHeight, 0x80000000U); }},
      {"huge size", [](FileBytes& f) { Put32(f, bmp::kWidth, 100000); }},
      {"3 bits", [](FileBytes& f) { Put16(f, bmp::kBitCount, 3); }},
      {"0 bits", [](FileBytes& f) { Put16(f, bmp::kBitCount, 0); }},
      {"two planes", [](FileBytes& f) { Put16(f, bmp::kBitCount - 2, 2); }},
      {"JPEG inside", [](FileBytes& f) { Put32(f, bmp::kCompression, 4); }},
      {"RLE4 of 8 bits", [](FileBytes& f) { Put32(f, bmp::kCompression, 2); }},
      {"bit fields of 8 bits", [](FileBytes& f) { Put32(f, bmp::kCompression, 3); }},
      {"palette of 300", [](FileBytes& f) { Put32(f, bmp::kClrUsed, 300); }},
      {"palette over the pixels", [](FileBytes& f) { Put32(f, bmp::kClrUsed, 17); }},
  };
  for (const auto& [what, edit] : damage) EXPECT_FALSE(IsSoundBmpFile(Edited(good, edit))) << what;

  const std::vector<std::pair<const char*, FileBytes>> rle = {
      {"run past the row", {9, 1, 0, 1}},
      {"literal past the row", {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}},
      {"literal past the data", {0, 6, 1, 2, 0, 1}},
      {"rows past the picture", {0, 0, 0, 0, 0, 0, 1, 1, 0, 1}},
      {"skip past the picture", {0, 2, 1, 9, 0, 1}},
      {"skip cut short", {0, 2, 1}},
      {"no end mark", {4, 1, 0, 0}},
  };
  for (const auto& [what, stream] : rle)
    EXPECT_FALSE(IsSoundBmpFile(ql::test::Rle8File(8, 3, stream))) << what;
  EXPECT_FALSE(IsSoundBmpFile(Edited(ql::test::Rle8File(8, 3, {4, 1, 0, 1}), [](FileBytes& f) {
    Put32(f, bmp::kSizeImage, 400);
  }))) << "RLE data size past the end";
  EXPECT_FALSE(IsSoundBmpFile(Edited(ql::test::Rle8File(8, 3, {4, 1, 0, 1}), [](FileBytes& f) {
    Put32(f, bmp::kHeight, 0xFFFFFFFDU);
  }))) << "top-down RLE";
}

TEST(PictureCheck, DamagedProgramFilesFail) {
  using P = ProgramFile;
  const FileBytes good = ql::test::MakeProgramFile().bytes;
  constexpr std::uint32_t kSub = 0x80000000U;
  const std::vector<std::pair<const char*, std::function<void(FileBytes&)>>> damage = {
      {"no MZ", [](FileBytes& f) { f[0] = 'X'; }},
      {"e_lfanew past the end", [](FileBytes& f) { Put32(f, 0x3C, 0xFFFFFFF0U); }},
      {"no PE signature", [](FileBytes& f) { f[P::kPe + 1] = 'X'; }},
      {"no sections", [](FileBytes& f) { Put16(f, P::kSectionCount, 0); }},
      {"section table past the end", [](FileBytes& f) { Put16(f, P::kSectionCount, 96); }},
      {"optional header past the end", [](FileBytes& f) { Put16(f, P::kPe + 20, 0xFFFF); }},
      {"unknown optional header", [](FileBytes& f) { Put16(f, P::kOptional, 0x107); }},
      {"resources outside every section", [](FileBytes& f) { Put32(f, P::kResourceDir, 0x9000); }},
      {"section past the end of the file", [](FileBytes& f) { Put32(f, P::kSections + 16, 0x100000); }},
      {"section far past the end", [](FileBytes& f) { Put32(f, P::kSections + 20, 0xFFFFFF00U); }},
      {"root entry count", [](FileBytes& f) { Put16(f, P::kRoot + 14, 0x7FFF); }},
      {"names directory past the end", [](FileBytes& f) { Put32(f, P::kRoot + 16 + 4, kSub | 0x7FFFFFF0U); }},
      {"icons as data at the names level", [](FileBytes& f) { Put32(f, P::kRoot + 16 + 4, 0x40); }},
      {"a names level pointing at the root", [](FileBytes& f) { Put32(f, P::kRoot + 24 + 4, kSub); }},
      {"a language level pointing at its names",
       [](FileBytes& f) { Put32(f, P::kGroupNames + 16 + 4, kSub | (P::kGroupNames - P::kSection)); }},
      {"language count", [](FileBytes& f) { Put16(f, P::kIconLanguages + 14, 500); }},
      {"data entry past the end", [](FileBytes& f) { Put32(f, P::kIconLanguages + 16 + 4, 0x7FFFFFF0U); }},
      {"icon address outside", [](FileBytes& f) { Put32(f, P::kIconData, 0x20); }},
      {"icon size past the section", [](FileBytes& f) { Put32(f, P::kIconData + 4, 0x10000); }},
      {"icon size that wraps", [](FileBytes& f) { Put32(f, P::kIconData + 4, 0xFFFFFFFFU); }},
      {"damaged icon image", [](FileBytes& f) { Put16(f, P::kImage + 14, 5); }},
      {"group count past its data", [](FileBytes& f) { Put16(f, f.size() - 20 + 4, 2); }},
      {"empty group", [](FileBytes& f) { Put16(f, f.size() - 20 + 4, 0); }},
      {"group of cursors", [](FileBytes& f) { Put16(f, f.size() - 20 + 2, 2); }},
      {"group data outside", [](FileBytes& f) { Put32(f, P::kGroupData, 0xFFFFFFF0U); }},
  };
  for (const auto& [what, edit] : damage) EXPECT_FALSE(IsSoundProgram(Edited(good, edit))) << what;

  // Whatever icon is asked for, the first group is read too (the shell shows it).
  for (const std::int32_t index : {0, 1, 5, -1, -9}) {
    FileBytes copy = Edited(good, [](FileBytes& f) { Put16(f, f.size() - 20 + 2, 2); });
    MemorySource source(copy);
    EXPECT_FALSE(ql::IsSoundIconProgram(source, index)) << index;
    MemorySource sound(good);
    EXPECT_TRUE(ql::IsSoundIconProgram(sound, index)) << index;
  }
  EXPECT_FALSE(IsSoundProgram(ql::test::MakeProgramFile(1, 2).bytes)) << "a group naming a missing icon";
  EXPECT_FALSE(IsSoundProgram(ql::test::MakeProgramFile(0x80000010U, 1).bytes))
      << "the icon known by name only";
  EXPECT_TRUE(IsSoundProgram(ql::test::MakeProgramFile(7, 7).bytes));
}

TEST(PictureCheck, SixteenBitIconLibraries) {
  using N = ql::test::NeFile;
  const FileBytes good = ql::test::MakeNeFile().bytes;
  EXPECT_TRUE(IsSoundProgram(good));
  EXPECT_TRUE(IsSoundProgram(ql::test::MakeNeFile(ql::test::PngImage(48)).bytes));
  EXPECT_TRUE(IsSoundProgram(Edited(good, [](FileBytes& f) { Put16(f, N::kNe + 0x26, N::kTable - N::kNe); })))
      << "no resources";
  for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(IsSoundProgram(Cut(good, n))) << n;
  const std::vector<std::pair<const char*, std::function<void(FileBytes&)>>> damage = {
      {"table past the end", [](FileBytes& f) { Put16(f, N::kNe + 0x24, 0xFFF0); }},
      {"table ends before it starts", [](FileBytes& f) { Put16(f, N::kNe + 0x26, 2); }},
      {"huge unit", [](FileBytes& f) { Put16(f, N::kTable, 30); }},
      {"no end of the types", [](FileBytes& f) { Put16(f, N::kGroupName + 12, 0x8010); }},
      {"more icons than the table holds", [](FileBytes& f) { Put16(f, N::kIconName - 6, 9); }},
      {"icon past the end", [](FileBytes& f) { Put16(f, N::kIconName, 0xFFFF); }},
      {"empty icon", [](FileBytes& f) { Put16(f, N::kIconName + 2, 0); }},
      {"damaged icon", [](FileBytes& f) { Put16(f, 176 + 14, 9); }},
      {"group past the end", [](FileBytes& f) { Put16(f, N::kGroupName + 2, 0x7FFF); }},
  };
  for (const auto& [what, edit] : damage) EXPECT_FALSE(IsSoundProgram(Edited(good, edit))) << what;
  EXPECT_FALSE(IsSoundProgram(ql::test::MakeNeFile(ql::test::IconImage(32), 5).bytes)) << "a missing icon";
}

// --- Random damage -------------------------------------------------------------------------------

// Random bytes over random places of a sound file, a few thousand times: every result comes from
// the buffer's own bytes. Mutations that spare the header keep a bitmap sound; the ones over the
// headers are mostly caught.
TEST(PictureCheck, RandomBytesOverTheHeadersAndResources) {
  std::mt19937 random(20261209);
  auto mutate = [&random](FileBytes f, std::size_t from, std::size_t to) {
    const int edits = std::uniform_int_distribution<int>(1, 8)(random);
    for (int i = 0; i < edits; ++i) {
      const std::size_t at = std::uniform_int_distribution<std::size_t>(from, to - 1)(random);
      f[at] = static_cast<unsigned char>(random());
    }
    if (random() % 8 == 0) f.resize(std::uniform_int_distribution<std::size_t>(0, f.size())(random));
    return f;
  };
  struct Case {
    std::string name;
    FileBytes file;
    std::size_t headerEnd;
    std::function<bool(const FileBytes&)> check;
  };
  const FileBytes program = ql::test::MakeProgramFile().bytes;
  const std::vector<Case> cases = {
      {"ico", ql::test::IcoFile(), 6 + 2 * 16 + 40,
       [](const FileBytes& f) { return IsSoundIcoFile(FileBytes(f)); }},
      {"bmp", ql::test::BmpFile(6, 4, 8, 16), 14 + 40,
       [](const FileBytes& f) { return IsSoundBmpFile(FileBytes(f)); }},
      {"rle", ql::test::Rle8File(8, 3, {4, 1, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 2, 1, 0, 1}), 14 + 40,
       [](const FileBytes& f) { return IsSoundBmpFile(FileBytes(f)); }},
      {"exe headers", program, 0x200, IsSoundProgram},
      {"exe resources", program, program.size(), IsSoundProgram},
      {"icl", ql::test::MakeNeFile().bytes, 176 + 40, IsSoundProgram},
  };
  for (const Case& c : cases) {
    int rejected = 0;
    const std::size_t from = c.name == "exe resources" ? ProgramFile::kSection : 0;
    for (int i = 0; i < 3000; ++i) rejected += c.check(mutate(c.file, from, c.headerEnd)) ? 0 : 1;
    EXPECT_GT(rejected, 300) << c.name;
  }
  // Random bytes over the pixels of a bitmap that is not compressed change nothing.
  const FileBytes picture = ql::test::BmpFile(6, 4, 8, 16);
  for (int i = 0; i < 500; ++i) {
    FileBytes f = picture;
    for (int k = 0; k < 8; ++k) {
      f[std::uniform_int_distribution<std::size_t>(14 + 40 + 64, f.size() - 1)(random)] =
          static_cast<unsigned char>(random());
    }
    EXPECT_TRUE(IsSoundBmpFile(f));
  }
  // Random files of random sizes, some starting like a bitmap or a program.
  for (int i = 0; i < 2000; ++i) {
    FileBytes f(std::uniform_int_distribution<std::size_t>(0, 600)(random));
    for (unsigned char& b : f) b = static_cast<unsigned char>(random());
    if (i % 3 == 0 && f.size() >= 2) f[0] = 'B', f[1] = 'M';
    if (i % 3 == 1 && f.size() >= 2) f[0] = 'M', f[1] = 'Z';
    EXPECT_FALSE(IsSoundIcoFile(f));
    EXPECT_FALSE(IsSoundBmpFile(f));
    EXPECT_FALSE(IsSoundProgram(f));
  }
}

// The damaged files the Win32 tests put on tiles, textures and drops.
TEST(PictureCheck, TheSetsOfDamagedFilesFail) {
  for (const auto& d : ql::test::DamagedIcoFiles())
    EXPECT_FALSE(IsSoundIcoFile(FileBytes(d.bytes))) << d.name;
  for (const auto& d : ql::test::DamagedBmpFiles())
    EXPECT_FALSE(IsSoundBmpFile(FileBytes(d.bytes))) << d.name;
  for (const auto& d : ql::test::DamagedProgramFiles()) EXPECT_FALSE(IsSoundProgram(d.bytes)) << d.name;
}
