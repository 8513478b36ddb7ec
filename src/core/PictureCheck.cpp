#include "core/PictureCheck.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace ql {

namespace {

// Whether [at, at + n) lies within a buffer of `size` bytes, without overflow.
constexpr bool Fits(std::uint64_t at, std::uint64_t n, std::uint64_t size) {
  return at <= size && n <= size - at;
}

// Little-endian reads; a read past the end gives 0 (callers check the bounds first).
std::size_t Index(std::uint64_t at) { return static_cast<std::size_t>(at); }
std::uint32_t U8(ByteView b, std::uint64_t at) { return at < b.size() ? b[Index(at)] : 0U; }
std::uint32_t U16(ByteView b, std::uint64_t at) { return U8(b, at) | (U8(b, at + 1) << 8U); }
std::uint32_t U32(ByteView b, std::uint64_t at) { return U16(b, at) | (U16(b, at + 2) << 16U); }
std::int64_t I32(ByteView b, std::uint64_t at) { return static_cast<std::int32_t>(U32(b, at)); }
std::uint32_t Be32(ByteView b, std::uint64_t at) {
  return (U8(b, at) << 24U) | (U8(b, at + 1) << 16U) | (U8(b, at + 2) << 8U) | U8(b, at + 3);
}

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

constexpr std::int64_t kMaxIconEdge = 1024;
constexpr std::int64_t kMaxBitmapEdge = 16384;
constexpr std::int64_t kMaxBitmapPixels = 16LL * 1024 * 1024;
constexpr std::uint32_t kMaxIcoImages = 256;
constexpr std::uint64_t kMaxIconImageBytes = 16ULL * 1024 * 1024;

bool KnownInfoHeaderSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool KnownBitCount(std::uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Bytes of one row of `width` pixels of `bits` each, padded to 4 bytes.
std::uint64_t Stride(std::int64_t width, std::uint32_t bits) {
  return ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
}

// Palette entries a DIB header implies: the used count (at most 256), or all of a paletted one's.
std::optional<std::uint64_t> PaletteEntries(std::uint32_t clrUsed, std::uint32_t bits) {
  if (clrUsed > 256) return std::nullopt;
  if (clrUsed == 0 && bits <= 8) return 1ULL << bits;
  return clrUsed;
}

// The info header size a loader steps over: BI_BITFIELDS puts three masks after a 40-byte header.
std::uint64_t HeaderWithMasks(std::uint32_t headerSize, std::uint32_t compression) {
  const std::uint64_t masks = compression == kBiBitfields ? 12 : 0;
  return std::max<std::uint64_t>(headerSize, 40 + masks);
}

constexpr std::array<unsigned char, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool StartsWithPng(ByteView b) {
  return b.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), b.begin());
}

bool ChunkIs(ByteView b, std::uint64_t at, const char (&type)[5]) {
  return std::memcmp(b.data() + Index(at), type, 4) == 0;
}

// A PNG stream: IHDR first with a sane size, whole chunks up to IEND.
bool IsSoundPng(ByteView png) {
  std::uint64_t at = kPngSignature.size();
  for (bool first = true;; first = false) {
    if (!Fits(at, 12, png.size())) return false;
    const std::uint64_t length = Be32(png, at);
    if (length > 0x7FFFFFFFU || !Fits(at, 12 + length, png.size())) return false;
    if (first) {
      if (!ChunkIs(png, at + 4, "IHDR") || length != 13) return false;
      const std::int64_t w = Be32(png, at + 8);
      const std::int64_t h = Be32(png, at + 12);
      if (w <= 0 || h <= 0 || w > kMaxIconEdge || h > kMaxIconEdge) return false;
    }
    if (ChunkIs(png, at + 4, "IEND")) return !first;
    at += 12 + length;
  }
}

// Walks an RLE4/RLE8 stream: every pixel it writes lies inside width x height, every byte it
// reads inside `data`, and it ends with the end-of-picture mark.
bool IsSoundRle(ByteView data, std::int64_t width, std::int64_t height, bool fourBits) {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::uint64_t at = 0;
  while (Fits(at, 2, data.size())) {
    const std::uint32_t count = U8(data, at);
    const std::uint32_t code = U8(data, at + 1);
    at += 2;
    if (count > 0) {  // a run of one value
      if (y >= height || x + count > width) return false;
      x += count;
      continue;
    }
    if (code == 0) {  // end of line
      x = 0;
      ++y;
    } else if (code == 1) {  // end of picture
      return true;
    } else if (code == 2) {  // skip right and up
      if (!Fits(at, 2, data.size())) return false;
      x += U8(data, at);
      y += U8(data, at + 1);
      at += 2;
      if (x > width || y > height) return false;
    } else {  // `code` literal pixels, padded to a whole word
      std::uint64_t bytes = fourBits ? (code + 1) / 2 : code;
      bytes += bytes % 2;
      if (y >= height || x + code > width || !Fits(at, bytes, data.size())) return false;
      x += code;
      at += bytes;
    }
  }
  return false;
}

}  // namespace

bool MemorySource::Read(std::uint64_t offset, std::span<unsigned char> out) {
  if (!Fits(offset, out.size(), bytes_.size())) return false;
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
  return true;
}

bool IsSoundIconImage(ByteView image) {
  if (StartsWithPng(image)) return IsSoundPng(image);
  if (!Fits(0, 40, image.size())) return false;
  const std::uint32_t headerSize = U32(image, 0);
  if (!KnownInfoHeaderSize(headerSize) || !Fits(0, headerSize, image.size())) return false;
  const std::int64_t width = I32(image, 4);
  const std::int64_t height = I32(image, 8);  // colour and transparency masks, one above the other
  const std::uint32_t planes = U16(image, 12);
  const std::uint32_t bits = U16(image, 14);
  const std::uint32_t compression = U32(image, 16);
  if (width <= 0 || width > kMaxIconEdge || height < 2 || height > 2 * kMaxIconEdge) return false;
  if (planes != 1 || !KnownBitCount(bits)) return false;
  if (compression != kBiRgb && !(compression == kBiBitfields && (bits == 16 || bits == 32))) return false;
  const std::optional<std::uint64_t> colours = PaletteEntries(U32(image, 32), bits);
  if (!colours) return false;
  const std::int64_t rows = height / 2;
  const std::uint64_t need = HeaderWithMasks(headerSize, compression) + *colours * 4 +
                             Stride(width, bits) * rows + Stride(width, 1) * rows;
  return need <= image.size();
}

bool IsSoundIcoFile(ByteView file) {
  if (!Fits(0, 6, file.size())) return false;
  const std::uint32_t count = U16(file, 4);
  if (U16(file, 0) != 0 || U16(file, 2) != 1 || count == 0 || count > kMaxIcoImages) return false;
  const std::uint64_t directoryEnd = 6 + 16ULL * count;
  if (!Fits(0, directoryEnd, file.size())) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t entry = 6 + 16ULL * i;
    const std::uint64_t bytes = U32(file, entry + 8);
    const std::uint64_t offset = U32(file, entry + 12);
    if (bytes == 0 || offset < directoryEnd || !Fits(offset, bytes, file.size())) return false;
    if (!IsSoundIconImage(file.subspan(Index(offset), Index(bytes)))) return false;
  }
  return true;
}

bool IsSoundBmpFile(ByteView file) {
  if (!Fits(0, 18, file.size()) || file[0] != 'B' || file[1] != 'M') return false;
  const std::uint64_t pixelsAt = U32(file, 10);
  const std::uint32_t headerSize = U32(file, 14);
  if (!Fits(14, headerSize, file.size())) return false;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = kBiRgb;
  std::uint64_t dataBytes = 0;
  std::uint32_t clrUsed = 0;
  std::uint64_t entryBytes = 4;
  std::uint64_t paletteAt = 0;
  if (headerSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
    width = U16(file, 18);
    height = U16(file, 20);
    planes = U16(file, 22);
    bits = U16(file, 24);
    entryBytes = 3;
    paletteAt = 14 + 12;
  } else if (KnownInfoHeaderSize(headerSize)) {
    width = I32(file, 18);
    height = I32(file, 22);
    planes = U16(file, 26);
    bits = U16(file, 28);
    compression = U32(file, 30);
    dataBytes = U32(file, 34);
    clrUsed = U32(file, 46);
    paletteAt = 14 + HeaderWithMasks(headerSize, compression);
  } else {
    return false;
  }
  const bool bottomUp = height > 0;
  const std::int64_t rows = bottomUp ? height : -height;
  if (width <= 0 || rows == 0 || width > kMaxBitmapEdge || rows > kMaxBitmapEdge) return false;
  if (width * rows > kMaxBitmapPixels || planes != 1 || !KnownBitCount(bits)) return false;
  const bool rle = compression == kBiRle8 || compression == kBiRle4;
  if (compression == kBiRle8 && (bits != 8 || !bottomUp)) return false;
  if (compression == kBiRle4 && (bits != 4 || !bottomUp)) return false;
  if (compression == kBiBitfields && bits != 16 && bits != 32) return false;
  if (compression != kBiRgb && compression != kBiBitfields && !rle) return false;
  const std::optional<std::uint64_t> colours = PaletteEntries(clrUsed, bits);
  if (!colours || paletteAt + *colours * entryBytes > pixelsAt || pixelsAt >= file.size()) return false;
  if (!rle) return Fits(pixelsAt, Stride(width, bits) * static_cast<std::uint64_t>(rows), file.size());
  if (dataBytes == 0) dataBytes = file.size() - pixelsAt;
  if (!Fits(pixelsAt, dataBytes, file.size())) return false;
  return IsSoundRle(file.subspan(Index(pixelsAt), Index(dataBytes)), width, rows, compression == kBiRle4);
}

namespace {

constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupIcon = 14;
constexpr std::uint32_t kHighBit = 0x80000000U;
constexpr std::uint32_t kMaxSections = 96;
constexpr std::uint64_t kMaxVisitedEntries = 1ULL << 16;

// A GRPICONDIR: icons (not cursors), each entry naming an icon among `iconIds`.
bool IsSoundGroup(ByteView data, const std::set<std::uint32_t>& iconIds) {
  if (!Fits(0, 6, data.size())) return false;
  const std::uint32_t count = U16(data, 4);
  if (U16(data, 0) != 0 || U16(data, 2) != 1 || count == 0 || !Fits(6, 14ULL * count, data.size()))
    return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (iconIds.count(U16(data, 6 + 14ULL * i + 12)) == 0) return false;
  }
  return true;
}

struct Section {
  std::uint64_t address = 0;  // relative virtual address
  std::uint64_t rawBytes = 0;
  std::uint64_t rawAt = 0;  // file offset
};

bool ReadInto(ByteSource& file, std::uint64_t at, std::uint64_t n, std::vector<unsigned char>& out) {
  if (n > kMaxPictureBytes || !Fits(at, n, file.Size())) return false;
  out.resize(Index(n));
  return file.Read(at, out);
}

// The resource tree of a program file, read from its root to the end of the section holding it.
class ResourceTree {
 public:
  ResourceTree(ByteSource& file, std::vector<Section> sections)
      : file_(file), sections_(std::move(sections)) {}

  bool Load(std::uint64_t rootAddress) {
    const std::optional<std::uint64_t> at = FileOffset(rootAddress, 16, &rootLimit_);
    if (!at) return false;
    rootAt_ = *at;
    return ReadInto(file_, rootAt_, std::min(rootLimit_ - rootAt_, kMaxPictureBytes), tree_);
  }

  // Every icon resource and every icon group sound; the groups name only icons that exist.
  bool IconsAreSound() {
    std::set<std::uint32_t> iconIds;
    bool ok = ForEachResource(kRtIcon, [&](std::uint32_t id, ByteView data) {
      if (!IsSoundIconImage(data)) return false;
      if ((id & kHighBit) == 0) iconIds.insert(id);  // a group names its icons by number
      return true;
    });
    return ok && ForEachResource(kRtGroupIcon,
                                 [&](std::uint32_t, ByteView data) { return IsSoundGroup(data, iconIds); });
  }

 private:
  // The file offset of [address, address + n) when one section's raw data in the file holds it.
  std::optional<std::uint64_t> FileOffset(std::uint64_t address, std::uint64_t n,
                                          std::uint64_t* sectionEnd = nullptr) const {
    for (const Section& s : sections_) {
      if (address < s.address || !Fits(address - s.address, n, s.rawBytes)) continue;
      if (!Fits(s.rawAt, s.rawBytes, file_.Size())) return std::nullopt;
      if (sectionEnd != nullptr) *sectionEnd = s.rawAt + s.rawBytes;
      return s.rawAt + (address - s.address);
    }
    return std::nullopt;
  }

  // The entries of the directory at `at` (an offset in the tree): their count, or none when the
  // directory does not fit.
  std::optional<std::uint32_t> Entries(std::uint64_t at) {
    const ByteView tree(tree_);
    if (!Fits(at, 16, tree.size())) return std::nullopt;
    const std::uint32_t n = U16(tree, at + 12) + U16(tree, at + 14);
    visited_ += n;
    if (visited_ > kMaxVisitedEntries || !Fits(at + 16, 8ULL * n, tree.size())) return std::nullopt;
    return n;
  }

  // Calls `use(id, data)` for every language of every resource of `type` (`id` has its high bit
  // set for a resource known by name). False when a directory or data entry is out of bounds, the
  // tree is not three levels deep there, or `use` says no.
  template <typename Use>
  bool ForEachResource(std::uint32_t type, Use use) {
    const ByteView tree(tree_);
    const std::optional<std::uint32_t> types = Entries(0);
    if (!types) return false;
    for (std::uint32_t t = 0; t < *types; ++t) {
      const std::uint64_t typeEntry = 16 + 8ULL * t;
      if (U32(tree, typeEntry) != type) continue;
      const std::uint32_t names = U32(tree, typeEntry + 4);
      if ((names & kHighBit) == 0) return false;
      const std::optional<std::uint32_t> nameCount = Entries(names & ~kHighBit);
      if (!nameCount) return false;
      for (std::uint32_t n = 0; n < *nameCount; ++n) {
        const std::uint64_t nameEntry = (names & ~kHighBit) + 16 + 8ULL * n;
        const std::uint32_t id = U32(tree, nameEntry);
        const std::uint32_t languages = U32(tree, nameEntry + 4);
        if ((languages & kHighBit) == 0) return false;
        const std::optional<std::uint32_t> languageCount = Entries(languages & ~kHighBit);
        if (!languageCount) return false;
        for (std::uint32_t l = 0; l < *languageCount; ++l) {
          const std::uint32_t dataEntry = U32(tree, (languages & ~kHighBit) + 16 + 8ULL * l + 4);
          if ((dataEntry & kHighBit) != 0 || !Fits(dataEntry, 16, tree.size())) return false;
          std::vector<unsigned char> data;
          if (!Data(U32(tree, dataEntry), U32(tree, dataEntry + 4), data)) return false;
          if (!use(id, ByteView(data))) return false;
        }
      }
    }
    return true;
  }

  bool Data(std::uint64_t address, std::uint64_t n, std::vector<unsigned char>& out) const {
    if (n > kMaxIconImageBytes) return false;
    const std::optional<std::uint64_t> at = FileOffset(address, n);
    if (!at) return false;
    if (*at >= rootAt_ && Fits(*at - rootAt_, n, tree_.size())) {
      const auto from = tree_.begin() + static_cast<std::ptrdiff_t>(*at - rootAt_);
      out.assign(from, from + static_cast<std::ptrdiff_t>(n));
      return true;
    }
    return ReadInto(file_, *at, n, out);
  }

  ByteSource& file_;
  std::vector<Section> sections_;
  std::uint64_t rootAt_ = 0;
  std::uint64_t rootLimit_ = 0;
  std::uint64_t visited_ = 0;
  std::vector<unsigned char> tree_;
};

// A 32- or 64-bit program whose headers start at `pe`.
bool IsSoundPeProgram(ByteSource& file, std::uint64_t pe) {
  std::vector<unsigned char> head;
  if (!ReadInto(file, pe, 24, head) || U32(head, 0) != 0x00004550U) return false;  // "PE\0\0"
  const std::uint32_t sectionCount = U16(head, 6);
  const std::uint32_t optionalBytes = U16(head, 20);
  if (sectionCount == 0 || sectionCount > kMaxSections) return false;
  std::vector<unsigned char> optional;
  if (!ReadInto(file, pe + 24, optionalBytes, optional) || optional.size() < 2) return false;
  const std::uint32_t magic = U16(optional, 0);
  if (magic != 0x10B && magic != 0x20B) return false;
  const std::uint64_t countAt = magic == 0x10B ? 92 : 108;  // PE32, PE32+
  if (!Fits(countAt, 4, optional.size())) return false;
  const std::uint64_t resourceEntry = countAt + 4 + 16;  // data directory 2, after 0 and 1
  if (U32(optional, countAt) <= 2 || !Fits(resourceEntry, 8, optional.size())) return true;  // no resources
  const std::uint64_t resourceAddress = U32(optional, resourceEntry);
  if (resourceAddress == 0) return true;

  std::vector<unsigned char> table;
  if (!ReadInto(file, pe + 24 + optionalBytes, 40ULL * sectionCount, table)) return false;
  std::vector<Section> sections;
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t s = 40ULL * i;
    sections.push_back(Section{U32(table, s + 12), U32(table, s + 16), U32(table, s + 20)});
  }
  ResourceTree tree(file, std::move(sections));
  return tree.Load(resourceAddress) && tree.IconsAreSound();
}

// A 16-bit program or icon library whose header starts at `ne`: its resource table (entries in
// units of 2^shift bytes of the file), every icon sound, every group naming icons that exist.
bool IsSoundNeProgram(ByteSource& file, std::uint64_t ne) {
  std::vector<unsigned char> head;
  if (!ReadInto(file, ne, 64, head)) return false;
  const std::uint32_t tableAt = U16(head, 0x24);
  const std::uint32_t tableEnd = U16(head, 0x26);  // the resident names follow the resources
  if (tableAt == tableEnd) return true;            // no resources
  std::vector<unsigned char> table;
  if (tableEnd < tableAt + 2 || !ReadInto(file, ne + tableAt, tableEnd - tableAt, table)) return false;
  const std::uint32_t shift = U16(table, 0);
  if (shift > 16) return false;
  struct Resource {
    std::uint32_t type;
    std::uint32_t id;
    std::vector<unsigned char> data;
  };
  std::vector<Resource> icons;
  std::set<std::uint32_t> iconIds;
  std::uint64_t at = 2;
  for (;;) {
    if (!Fits(at, 2, table.size())) return false;
    const std::uint32_t type = U16(table, at);
    if (type == 0) break;
    if (!Fits(at, 8, table.size())) return false;
    const std::uint32_t count = U16(table, at + 2);
    at += 8;
    if (!Fits(at, 12ULL * count, table.size())) return false;
    for (std::uint32_t i = 0; i < count; ++i, at += 12) {
      if (type != (0x8000U | kRtIcon) && type != (0x8000U | kRtGroupIcon)) continue;
      Resource r{type, U16(table, at + 6), {}};
      const std::uint64_t length = static_cast<std::uint64_t>(U16(table, at + 2)) << shift;
      if (length > kMaxIconImageBytes ||
          !ReadInto(file, static_cast<std::uint64_t>(U16(table, at)) << shift, length, r.data)) {
        return false;
      }
      if (type == (0x8000U | kRtIcon)) {
        if (!IsSoundIconImage(r.data)) return false;
        if ((r.id & 0x8000U) != 0) iconIds.insert(r.id & 0x7FFFU);
      } else {
        icons.push_back(std::move(r));
      }
    }
  }
  return std::all_of(icons.begin(), icons.end(),
                     [&iconIds](const Resource& group) { return IsSoundGroup(group.data, iconIds); });
}

}  // namespace

bool IsSoundIconProgram(ByteSource& file) {
  std::vector<unsigned char> dos;
  if (!ReadInto(file, 0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
  const std::uint64_t header = U32(dos, 0x3C);
  std::vector<unsigned char> signature;
  if (!ReadInto(file, header, 2, signature)) return false;
  if (signature[0] == 'N' && signature[1] == 'E') return IsSoundNeProgram(file, header);
  return IsSoundPeProgram(file, header);
}

bool IsSoundPicture(PictureKind kind, ByteSource& file) {
  if (kind == PictureKind::Program) return IsSoundIconProgram(file);
  std::vector<unsigned char> bytes;
  if (!ReadInto(file, 0, file.Size(), bytes)) return false;
  return kind == PictureKind::Icon ? IsSoundIcoFile(bytes) : IsSoundBmpFile(bytes);
}

}  // namespace ql
