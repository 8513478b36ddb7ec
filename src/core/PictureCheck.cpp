#include "core/PictureCheck.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
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

std::optional<ByteView> MemorySource::View(std::uint64_t offset, std::uint64_t n,
                                           std::vector<unsigned char>&) {
  if (!Fits(offset, n, bytes_.size())) return std::nullopt;
  return bytes_.subspan(Index(offset), Index(n));
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
constexpr std::uint64_t kMaxVisitedEntries = 1ULL << 20;

// A GRPICONDIR of icons (not cursors) whose entries fit.
bool IsSoundGroup(ByteView data) {
  if (!Fits(0, 6, data.size())) return false;
  const std::uint32_t count = U16(data, 4);
  return U16(data, 0) == 0 && U16(data, 2) == 1 && count > 0 && Fits(6, 14ULL * count, data.size());
}

// A group whose entries name icons among `iconIds`.
bool NamesKnownIcons(ByteView group, const std::vector<bool>& iconIds) {
  if (!IsSoundGroup(group)) return false;
  for (std::uint32_t i = 0; i < U16(group, 4); ++i) {
    if (!iconIds[U16(group, 6 + 14ULL * i + 12)]) return false;
  }
  return true;
}

struct Section {
  std::uint64_t address = 0;  // relative virtual address
  std::uint64_t rawBytes = 0;
  std::uint64_t rawAt = 0;  // file offset
};

// Bytes of a file: a view into the source's memory, or into the block's own copy.
class Block {
 public:
  Block() = default;
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;
  ~Block() = default;

  bool Take(ByteSource& file, std::uint64_t at, std::uint64_t n) {
    view_ = {};
    if (n > kMaxPictureBytes || !Fits(at, n, file.Size())) return false;
    const std::optional<ByteView> view = file.View(at, n, copy_);
    if (!view || view->size() != n) return false;
    view_ = *view;
    return true;
  }
  operator ByteView() const { return view_; }  // NOLINT(google-explicit-constructor)
  std::size_t size() const { return view_.size(); }
  unsigned char operator[](std::size_t i) const { return view_[i]; }

 private:
  std::vector<unsigned char> copy_;
  ByteView view_;
};

// The resource tree of a program file, read from its root to the end of the section holding it.
class ResourceTree {
 public:
  ResourceTree(ByteSource& file, std::vector<Section> sections)
      : file_(file), sections_(std::move(sections)) {}

  bool Load(std::uint64_t rootAddress) {
    const std::optional<std::uint64_t> at = FileOffset(rootAddress, 16, &rootLimit_);
    if (!at) return false;
    rootAt_ = *at;
    return tree_.Take(file_, rootAt_, std::min(rootLimit_ - rootAt_, kMaxPictureBytes));
  }

  // The icon groups the loader may read for `index` sound (the index-th group in the directory's
  // order, or the group numbered -index; and the first, which the shell shows), each naming only
  // icons that exist and are sound; the directories on the way in bounds. The loader reads no
  // other resource, so the others are not looked at (a library of a thousand icons stays cheap).
  bool IconsAreSound(std::int32_t index) {
    const std::int64_t wanted = index;
    auto selected = [wanted](std::uint32_t position, std::uint32_t id) {
      return position == 0 || (wanted >= 0 && position == wanted) || (wanted < 0 && id == -wanted);
    };
    // The groups first, with the numbers of the icons they name; then those icons, in one pass.
    std::vector<std::uint32_t> named;
    const bool groups = ForEachResource(kRtGroupIcon, selected, [&named](std::uint32_t, ByteView group) {
      if (!IsSoundGroup(group)) return false;
      for (std::uint32_t i = 0; i < U16(group, 4); ++i) named.push_back(U16(group, 6 + 14ULL * i + 12));
      return true;
    });
    if (!groups) return false;
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());
    std::vector<bool> found(named.size());
    auto position = [&named](std::uint32_t id) { return std::lower_bound(named.begin(), named.end(), id); };
    const bool icons = ForEachResource(
        kRtIcon,
        [&](std::uint32_t, std::uint32_t id) {
          const auto at = position(id);
          return at != named.end() && *at == id;
        },
        [&](std::uint32_t id, ByteView image) {
          found[static_cast<std::size_t>(position(id) - named.begin())] = true;
          return IsSoundIconImage(image);
        });
    return icons && std::find(found.begin(), found.end(), false) == found.end();
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

  // Walks the resources of `type` that `select(position, id)` picks (`id` has its high bit set
  // for a resource known by name), as the loader finds them: their directories and data entries
  // must be in bounds and the tree three levels deep there; calls `use(id, data)` on every
  // language's data. False when something is out of bounds, a picked resource's data is not in
  // the file, or `use` says no.
  template <typename Select, typename Use>
  bool ForEachResource(std::uint32_t type, Select select, Use use, bool walked = false) {
    const ByteView tree(tree_);
    const std::optional<std::uint32_t> types = Entries(0);
    if (!types) return false;
    Block outside;
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
        const bool picked = select(n, id);
        if (!picked && walked) continue;
        const std::uint32_t languages = U32(tree, nameEntry + 4);
        if ((languages & kHighBit) == 0) return false;
        const std::optional<std::uint32_t> languageCount = Entries(languages & ~kHighBit);
        if (!languageCount) return false;
        for (std::uint32_t l = 0; l < *languageCount; ++l) {
          const std::uint32_t dataEntry = U32(tree, (languages & ~kHighBit) + 16 + 8ULL * l + 4);
          if ((dataEntry & kHighBit) != 0 || !Fits(dataEntry, 16, tree.size())) return false;
          if (!picked) continue;
          const std::optional<ByteView> data = Data(U32(tree, dataEntry), U32(tree, dataEntry + 4), outside);
          if (!data) return false;
          if (!use(id, *data)) return false;
        }
      }
    }
    return true;
  }

  // The data of a resource, most often inside the tree's section.
  std::optional<ByteView> Data(std::uint64_t address, std::uint64_t n, Block& outside) {
    if (n > kMaxIconImageBytes) return std::nullopt;
    const std::optional<std::uint64_t> at = FileOffset(address, n);
    if (!at) return std::nullopt;
    if (*at >= rootAt_ && Fits(*at - rootAt_, n, tree_.size())) {
      return ByteView(tree_).subspan(Index(*at - rootAt_), Index(n));
    }
    if (!outside.Take(file_, *at, n)) return std::nullopt;
    return ByteView(outside);
  }

  ByteSource& file_;
  std::vector<Section> sections_;
  std::uint64_t rootAt_ = 0;
  std::uint64_t rootLimit_ = 0;
  std::uint64_t visited_ = 0;
  Block tree_;
};

// A 32- or 64-bit program whose headers start at `pe`.
bool IsSoundPeProgram(ByteSource& file, std::uint64_t pe, std::int32_t index) {
  Block head;
  if (!head.Take(file, pe, 24) || U32(head, 0) != 0x00004550U) return false;  // "PE\0\0"
  const std::uint32_t sectionCount = U16(head, 6);
  const std::uint32_t optionalBytes = U16(head, 20);
  if (sectionCount == 0 || sectionCount > kMaxSections) return false;
  Block optional;
  if (!optional.Take(file, pe + 24, optionalBytes) || optional.size() < 2) return false;
  const std::uint32_t magic = U16(optional, 0);
  if (magic != 0x10B && magic != 0x20B) return false;
  const std::uint64_t countAt = magic == 0x10B ? 92 : 108;  // PE32, PE32+
  if (!Fits(countAt, 4, optional.size())) return false;
  const std::uint64_t resourceEntry = countAt + 4 + 16;  // data directory 2, after 0 and 1
  if (U32(optional, countAt) <= 2 || !Fits(resourceEntry, 8, optional.size())) return true;  // no resources
  const std::uint64_t resourceAddress = U32(optional, resourceEntry);
  if (resourceAddress == 0) return true;

  Block table;
  if (!table.Take(file, pe + 24 + optionalBytes, 40ULL * sectionCount)) return false;
  std::vector<Section> sections;
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t s = 40ULL * i;
    sections.push_back(Section{U32(table, s + 12), U32(table, s + 16), U32(table, s + 20)});
  }
  ResourceTree tree(file, std::move(sections));
  return tree.Load(resourceAddress) && tree.IconsAreSound(index);
}

// A 16-bit program or icon library whose header starts at `ne`: its resource table (entries in
// units of 2^shift bytes of the file), every icon sound, every group naming icons that exist.
bool IsSoundNeProgram(ByteSource& file, std::uint64_t ne) {
  Block head;
  if (!head.Take(file, ne, 64)) return false;
  const std::uint32_t tableAt = U16(head, 0x24);
  const std::uint32_t tableEnd = U16(head, 0x26);  // the resident names follow the resources
  if (tableAt == tableEnd) return true;            // no resources
  Block table;
  if (tableEnd < tableAt + 2 || !table.Take(file, ne + tableAt, tableEnd - tableAt)) return false;
  const std::uint32_t shift = U16(table, 0);
  if (shift > 16) return false;
  // Icons first, then the groups that name them.
  std::vector<bool> iconIds(0x10000);
  for (const std::uint32_t wanted : {0x8000U | kRtIcon, 0x8000U | kRtGroupIcon}) {
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
        if (type != wanted) continue;
        const std::uint32_t id = U16(table, at + 6);
        const std::uint64_t length = static_cast<std::uint64_t>(U16(table, at + 2)) << shift;
        Block data;
        if (length > kMaxIconImageBytes ||
            !data.Take(file, static_cast<std::uint64_t>(U16(table, at)) << shift, length))
          return false;
        if (type == (0x8000U | kRtGroupIcon)) {
          if (!NamesKnownIcons(data, iconIds)) return false;
        } else if (!IsSoundIconImage(data)) {
          return false;
        } else if ((id & 0x8000U) != 0) {
          iconIds[id & 0x7FFFU] = true;
        }
      }
    }
  }
  return true;
}

}  // namespace

bool IsSoundIconProgram(ByteSource& file, std::int32_t index) {
  Block dos;
  if (!dos.Take(file, 0, 64) || dos[0] != 'M' || dos[1] != 'Z') return false;
  const std::uint64_t header = U32(dos, 0x3C);
  Block signature;
  if (!signature.Take(file, header, 2)) return false;
  if (signature[0] == 'N' && signature[1] == 'E') return IsSoundNeProgram(file, header);
  return IsSoundPeProgram(file, header, index);
}

bool IsSoundPicture(PictureKind kind, ByteSource& file, std::int32_t index) {
  if (kind == PictureKind::Program) return IsSoundIconProgram(file, index);
  Block bytes;
  if (!bytes.Take(file, 0, file.Size())) return false;
  return kind == PictureKind::Icon ? IsSoundIcoFile(bytes) : IsSoundBmpFile(bytes);
}

}  // namespace ql
