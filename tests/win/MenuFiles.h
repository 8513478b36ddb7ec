// Test helpers of the menu tests: a scratch folder that removes what was made in it, bitmap files
// of one colour, and COM for the shell's calls.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "win/Registrations.h"
#include "win/Utf.h"
#include "win/Win.h"

namespace ql::test {

using win::ComScope;

// The bytes of an 8 x 8, 24-bit bitmap file of one colour.
inline std::vector<std::uint8_t> OneColourBmp(COLORREF c) {
  constexpr std::uint32_t n = 8;
  constexpr std::uint32_t pixelBytes = n * 3 * n;  // rows of 24 bytes need no padding
  std::vector<std::uint8_t> f;
  auto u16 = [&f](std::uint32_t v) {
    f.push_back(static_cast<std::uint8_t>(v & 0xFF));
    f.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  u16(0x4D42);
  u32(14 + 40 + pixelBytes);
  u32(0);
  u32(14 + 40);
  u32(40);
  u32(n);
  u32(n);
  u16(1);
  u16(24);
  for (int i = 0; i < 6; ++i) u32(0);
  for (std::uint32_t i = 0; i < n * n; ++i) {
    f.push_back(GetBValue(c));
    f.push_back(GetGValue(c));
    f.push_back(GetRValue(c));
  }
  return f;
}

// A folder `name` + process id under `parent` (the temporary folder by default). Everything made
// through it is removed, last first, with the folder.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name, std::string parent = {}) {
    if (parent.empty()) {
      wchar_t tmp[MAX_PATH] = {};
      ::GetTempPathW(MAX_PATH, tmp);
      parent = win::Narrow(tmp);
    }
    if (!parent.empty() && parent.back() != '\\') parent += '\\';
    path_ = parent + name + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryW(win::Widen(path_).c_str(), nullptr);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      const std::wstring w = win::Widen(*it);
      if (::DeleteFileW(w.c_str()) == FALSE) ::RemoveDirectoryW(w.c_str());
    }
    ::RemoveDirectoryW(win::Widen(path_).c_str());
  }

  const std::string& path() const { return path_; }

  std::string File(const std::string& name, const std::vector<std::uint8_t>& bytes = {}) {
    const std::string path = path_ + "\\" + name;
    std::ofstream out(win::Widen(path).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    made_.push_back(path);
    return path;
  }
  std::string Dir(const std::string& name) {
    const std::string path = path_ + "\\" + name;
    ::CreateDirectoryW(win::Widen(path).c_str(), nullptr);
    made_.push_back(path);
    return path;
  }
  // An 8 x 8, 24-bit bitmap file of one colour.
  std::string Bmp(const std::string& name, COLORREF c) { return File(name, OneColourBmp(c)); }

 private:
  std::string path_;
  std::vector<std::string> made_;
};

}  // namespace ql::test
