#include "controls/Picture.h"

#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "core/TileGeometry.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr std::uint64_t kMaxMappedBytes = 256ULL * 1024 * 1024;
constexpr std::uint64_t kMaxReadWholeBytes = 64ULL * 1024;  // cheaper read at once than mapped

// A read-only view of a whole file, unmapped with its owner.
class MappedView {
 public:
  MappedView() = default;
  explicit MappedView(HANDLE mapping) : view_(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {}
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;
  ~MappedView() {
    if (view_ != nullptr) ::UnmapViewOfFile(view_);
  }
  const unsigned char* bytes() const { return static_cast<const unsigned char*>(view_); }

 private:
  void* view_ = nullptr;
};

// A file as the check sees it: a small one read at once; a larger one mapped into memory (what
// the system's loaders do too), so that only the pages of the headers and the resources looked at
// are read; read through its handle piece by piece when it cannot be mapped.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::wstring& path) {
    // Shared with every other reader and writer: the check must never lock anyone out.
    HANDLE h =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    file_.reset(h);
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h, &size) == FALSE || size.QuadPart < 0) {
      file_.reset();
      return;
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    if (size_ <= kMaxReadWholeBytes) {
      whole_ = Read(0, size_, copy_);
    } else if (size_ <= kMaxMappedBytes) {
      mapping_.reset(::CreateFileMappingW(h, nullptr, PAGE_READONLY, 0, 0, nullptr));
      if (mapping_) view_ = std::make_unique<MappedView>(mapping_.get());
    }
  }
  bool Opened() const { return static_cast<bool>(file_); }
  std::uint64_t Size() const override { return size_; }
  std::optional<ByteView> View(std::uint64_t offset, std::uint64_t n,
                               std::vector<unsigned char>& copy) override {
    if (offset > size_ || n > size_ - offset) return std::nullopt;
    if (whole_) return whole_->subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(n));
    if (view_ != nullptr && view_->bytes() != nullptr) {
      return ByteView(view_->bytes() + static_cast<std::size_t>(offset), static_cast<std::size_t>(n));
    }
    return Read(offset, n, copy);
  }

 private:
  std::optional<ByteView> Read(std::uint64_t offset, std::uint64_t n,
                               std::vector<unsigned char>& copy) const {
    copy.resize(static_cast<std::size_t>(n));
    std::span<unsigned char> out(copy);
    while (!out.empty()) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFU);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32U);
      const DWORD want = out.size() > 0x100000U ? 0x100000U : static_cast<DWORD>(out.size());
      DWORD got = 0;
      if (::ReadFile(file_.get(), out.data(), want, &got, &at) == FALSE || got == 0) return std::nullopt;
      offset += got;
      out = out.subspan(got);
    }
    return ByteView(copy);
  }

  win::KernelHandle file_;
  std::vector<unsigned char> copy_;  // a small file, whole
  std::optional<ByteView> whole_;    // into copy_
  win::KernelHandle mapping_;
  std::unique_ptr<MappedView> view_;
  std::uint64_t size_ = 0;
};

// Whether a file starts like a program file (the shell reads the icon of one from the file).
bool StartsLikeProgram(FileSource& file) {
  std::vector<unsigned char> copy;
  const std::optional<ByteView> mz = file.Opened() ? file.View(0, 2, copy) : std::nullopt;
  return mz && (*mz)[0] == 'M' && (*mz)[1] == 'Z';
}

UINT ShellIconFlags(std::int32_t size) {
  return SHGFI_ICON | (UsesSmallIcon(size) ? SHGFI_SMALLICON : SHGFI_LARGEICON);
}

win::Icon ShellIcon(const std::wstring& path, std::int32_t size) {
  SHFILEINFOW info{};
  ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, ShellIconFlags(size));
  return win::Icon(info.hIcon);
}

// The shell's icon for files of this one's type, without the shell opening the file.
win::Icon ShellTypeIcon(const std::wstring& path, std::int32_t size) {
  SHFILEINFOW info{};
  ::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   ShellIconFlags(size) | SHGFI_USEFILEATTRIBUTES);
  return win::Icon(info.hIcon);
}

PictureFile Check(FileSource& file, PictureKind kind, std::int32_t index = 0) {
  if (!file.Opened()) return PictureFile::Unopened;
  return IsSoundPicture(kind, file, index) ? PictureFile::Sound : PictureFile::Damaged;
}

// Off for a run that follows a start which died before its message loop.
bool picturesRead = true;

}  // namespace

void ReadPictureFiles(bool on) { picturesRead = on; }

bool PictureFilesRead() { return picturesRead; }

PictureFile CheckPictureFile(const std::string& path, PictureKind kind, std::int32_t index) {
  if (!picturesRead) return PictureFile::Unopened;
  FileSource file(win::Widen(path));
  return Check(file, kind, index);
}

win::Bitmap LoadTexture(const std::string& path) {
  if (path.empty() || CheckPictureFile(path, PictureKind::Bitmap) != PictureFile::Sound) return {};
  return win::Bitmap(static_cast<HBITMAP>(::LoadImageW(nullptr, win::Widen(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

win::Icon LoadPathIcon(const std::string& path, std::int32_t index, std::int32_t size) {
  const IconSource source = ClassifyIconPath(path);
  if (source == IconSource::None || !picturesRead) return {};
  const std::wstring wide = win::Widen(path);
  if (source == IconSource::IcoFile) {
    if (CheckPictureFile(path, PictureKind::Icon) != PictureFile::Sound) return {};
    return win::Icon(
        static_cast<HICON>(::LoadImageW(nullptr, wide.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
  }
  FileSource file(wide);
  const bool program = source == IconSource::Extract || StartsLikeProgram(file);
  const PictureFile verdict =
      program ? Check(file, PictureKind::Program, source == IconSource::Extract ? index : 0)
              : PictureFile::Unopened;
  if (verdict == PictureFile::Damaged) return ShellTypeIcon(wide, size);
  if (source == IconSource::Extract && verdict == PictureFile::Sound) {
    // One icon pair; the large one, or the small one up to 16 pixels. The handles count only
    // when the call says it extracted something (Wine leaves junk in them otherwise). Both are
    // asked for: asked alone, Wine's small icon is another picture.
    HICON largeHandle = nullptr;
    HICON smallHandle = nullptr;
    const UINT got = ::ExtractIconExW(wide.c_str(), index, &largeHandle, &smallHandle, 1);
    if (got == 0 || got == UINT_MAX) largeHandle = smallHandle = nullptr;
    win::Icon largeIcon(largeHandle);
    win::Icon smallIcon(smallHandle);
    win::Icon chosen = UsesSmallIcon(size) ? std::move(smallIcon) : std::move(largeIcon);
    if (chosen) return chosen;
  }
  return ShellIcon(wide, size);
}

}  // namespace ql
