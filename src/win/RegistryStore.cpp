#include "win/RegistryStore.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "win/Handles.h"
#include "win/Utf.h"

namespace ql::win {

namespace {

// The registry's own limit on value names, in characters without the terminator.
constexpr DWORD kMaxValueName = 16383;
// A value that keeps growing between the size query and the read is given up after this.
constexpr int kReadAttempts = 8;

// UTF-16 text from the bytes of a string value: an odd last byte is dropped, a missing
// terminator is tolerated and the text ends at the first NUL, as the system's readers do.
std::string TextOf(const std::vector<BYTE>& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  const auto end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return Narrow(text);
}

class RegistryKey final : public ql::StoreKey {
 public:
  explicit RegistryKey(RegKey key) : key_(std::move(key)) {}

  std::optional<ql::StoreValue> Read(std::string_view name) const override {
    try {
      const std::wstring wname = Widen(name);
      DWORD type = REG_NONE;
      DWORD size = 0;
      LSTATUS rc = ::RegQueryValueExW(key_.get(), wname.c_str(), nullptr, &type, nullptr, &size);
      if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return std::nullopt;
      std::vector<BYTE> data;
      for (int attempt = 0;; ++attempt) {
        if (attempt == kReadAttempts) return std::nullopt;
        data.resize(std::max<DWORD>(size, sizeof(wchar_t)));
        DWORD got = static_cast<DWORD>(data.size());
        rc = ::RegQueryValueExW(key_.get(), wname.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_SUCCESS) {
          data.resize(std::min<std::size_t>(got, data.size()));
          break;
        }
        if (rc != ERROR_MORE_DATA) return std::nullopt;
        size = std::max<DWORD>(got, static_cast<DWORD>(data.size()) + 1);  // grew meanwhile
      }
      switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
          return ql::StoreValue{ql::ValueType::String, TextOf(data)};
        case REG_BINARY:
          return ql::StoreValue{ql::ValueType::Binary, std::string(data.begin(), data.end())};
        default:
          return ql::StoreValue{ql::ValueType::Other, std::string(data.begin(), data.end())};
      }
    } catch (...) {
      return std::nullopt;
    }
  }

  bool Write(std::string_view name, const ql::StoreValue& value) override {
    try {
      const std::wstring wname = Widen(name);
      if (value.type == ql::ValueType::String) {
        const std::wstring text = Widen(value.data);
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);  // with the terminator
        if (bytes > std::numeric_limits<DWORD>::max()) return false;
        return ::RegSetValueExW(key_.get(), wname.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
      }
      if (value.data.size() > std::numeric_limits<DWORD>::max()) return false;
      // Bytes of an unknown kind go back as REG_NONE, so they read again as "other".
      const DWORD type = value.type == ql::ValueType::Binary ? REG_BINARY : REG_NONE;
      return ::RegSetValueExW(key_.get(), wname.c_str(), 0, type,
                              reinterpret_cast<const BYTE*>(value.data.data()),
                              static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    } catch (...) {
      return false;
    }
  }

  bool Remove(std::string_view name) override {
    try {
      return ::RegDeleteValueW(key_.get(), Widen(name).c_str()) == ERROR_SUCCESS;
    } catch (...) {
      return false;
    }
  }

  std::vector<std::string> Names() const override {
    std::vector<std::string> names;
    try {
      DWORD count = 0;
      DWORD longest = 0;
      if (::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                             &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return names;
      }
      names.reserve(count);
      std::vector<wchar_t> buffer(std::min(longest, kMaxValueName) + 1);
      for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LSTATUS rc =
            ::RegEnumValueW(key_.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && buffer.size() <= kMaxValueName) {
          buffer.resize(kMaxValueName + 1);  // a longer name appeared meanwhile: take the maximum
          continue;
        }
        if (rc != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS at the end
        names.push_back(Narrow(std::wstring_view(buffer.data(), length)));
        ++index;
      }
    } catch (...) {
    }
    return names;
  }

 private:
  RegKey key_;
};

std::string JoinPath(std::string_view base, std::string_view path) {
  if (base.empty()) return std::string(path);
  if (path.empty()) return std::string(base);
  std::string full(base);
  if (full.back() != '\\') full += '\\';
  full += path;
  return full;
}

}  // namespace

RegistryStore::RegistryStore(HKEY root, std::string basePath) : root_(root), basePath_(std::move(basePath)) {}

std::unique_ptr<ql::StoreKey> RegistryStore::Open(std::string_view path, bool create) {
  try {
    const std::wstring full = Widen(JoinPath(basePath_, path));
    HKEY handle = nullptr;
    LSTATUS rc = create ? ::RegCreateKeyExW(root_, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_READ | KEY_WRITE, nullptr, &handle, nullptr)
                        : ::RegOpenKeyExW(root_, full.c_str(), 0, KEY_READ | KEY_WRITE, &handle);
    if (rc == ERROR_ACCESS_DENIED) {
      // A key the user may read but not change still gives its values.
      rc = ::RegOpenKeyExW(root_, full.c_str(), 0, KEY_READ, &handle);
    }
    if (rc != ERROR_SUCCESS) return nullptr;
    RegKey key(handle);
    return std::make_unique<RegistryKey>(std::move(key));
  } catch (...) {
    return nullptr;
  }
}

bool RegistryStore::DeleteKey(std::string_view path) {
  // An empty path would name the base key or the whole hive.
  if (path.empty()) return false;
  try {
    const std::wstring full = Widen(JoinPath(basePath_, path));
    const LSTATUS rc = ::RegDeleteTreeW(root_, full.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  } catch (...) {
    return false;
  }
}

std::optional<std::string> RegistryStore::CodePageBytes(std::string_view text) const {
  try {
    if (text.empty()) return std::string();
    const UINT codePage = ::GetACP();
    if (codePage == CP_UTF8) return std::string(text);  // the conversion takes no flags there
    const std::wstring wide = Widen(text);
    if (wide.empty()) return std::nullopt;
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0,
                                        nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    if (::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(), n, nullptr,
                              &usedDefault) != n ||
        usedDefault) {
      return std::nullopt;
    }
    return bytes;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace ql::win
