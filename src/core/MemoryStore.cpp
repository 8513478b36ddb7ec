#include "core/MemoryStore.h"

#include <algorithm>

#include "core/CodePage.h"
#include "core/Text.h"

namespace ql {

class MemoryKey final : public StoreKey {
 public:
  MemoryKey(MemoryStore& store, std::string path, std::uint64_t id)
      : store_(store), path_(std::move(path)), id_(id) {}

  std::optional<StoreValue> Read(std::string_view name) const override {
    const MemoryStore::Values* values = Live();
    if (values == nullptr) return std::nullopt;
    auto it = std::find_if(values->begin(), values->end(),
                           [&](const MemoryStore::Entry& e) { return SameValueName(e.name, name); });
    if (it == values->end()) return std::nullopt;
    return it->value;
  }

  bool Write(std::string_view name, const StoreValue& value) override {
    ++store_.writes_;
    MemoryStore::Values* values = Live();
    if (values == nullptr) return false;
    auto it = std::find_if(values->begin(), values->end(),
                           [&](const MemoryStore::Entry& e) { return SameValueName(e.name, name); });
    if (it == values->end()) {
      values->push_back({std::string(name), value});
    } else {
      it->value = value;
    }
    return true;
  }

  bool Remove(std::string_view name) override {
    ++store_.removes_;
    MemoryStore::Values* values = Live();
    if (values == nullptr) return false;
    auto it = std::find_if(values->begin(), values->end(),
                           [&](const MemoryStore::Entry& e) { return SameValueName(e.name, name); });
    if (it == values->end()) return false;
    values->erase(it);
    return true;
  }

  std::vector<std::string> Names() const override {
    std::vector<std::string> names;
    if (const MemoryStore::Values* values = Live()) {
      for (const auto& e : *values) names.push_back(e.name);
    }
    return names;
  }

 private:
  MemoryStore::Values* Live() const {
    MemoryStore::Key* key = store_.Find(path_, id_);
    return key == nullptr ? nullptr : &key->values;
  }

  MemoryStore& store_;
  std::string path_;
  std::uint64_t id_;
};

MemoryStore::MemoryStore(const MemoryStore& other) : keys_(other.keys_), nextId_(other.nextId_) {}

MemoryStore::Key* MemoryStore::Find(const std::string& path, std::uint64_t id) {
  auto it = keys_.find(path);
  return it == keys_.end() || it->second.id != id ? nullptr : &it->second;
}

std::unique_ptr<StoreKey> MemoryStore::Open(std::string_view path, bool create) {
  const std::string lower = ToLowerAscii(path);
  auto it = keys_.find(lower);
  if (it == keys_.end()) {
    if (!create) return nullptr;
    // The keys above it are made too, as the registry does.
    for (std::size_t cut = lower.find('\\'); cut != std::string::npos; cut = lower.find('\\', cut + 1)) {
      const std::string parent = lower.substr(0, cut);
      if (!parent.empty() && !keys_.contains(parent)) {
        keys_[parent].id = nextId_++;
        ++keyChanges_;
      }
    }
    it = keys_.emplace(lower, Key{nextId_++, {}}).first;
    ++keyChanges_;
  }
  return std::make_unique<MemoryKey>(*this, lower, it->second.id);
}

bool MemoryStore::DeleteKey(std::string_view path) {
  if (path.empty()) return false;
  const std::string lower = ToLowerAscii(path);
  const std::string below = lower + '\\';
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == lower || it->first.starts_with(below)) {
      it = keys_.erase(it);
      ++keyChanges_;
    } else {
      ++it;
    }
  }
  return true;
}

std::optional<std::string> MemoryStore::CodePageBytes(std::string_view text) const {
  return Utf8ToWindows1252(text);
}

bool MemoryStore::HasKey(std::string_view path) const { return keys_.contains(ToLowerAscii(path)); }

std::vector<std::string> MemoryStore::KeyPaths() const {
  std::vector<std::string> paths;
  for (const auto& [path, key] : keys_) paths.push_back(path);
  return paths;
}

const MemoryStore::Values& MemoryStore::ValuesOf(std::string_view path) const {
  static const Values kNone;
  auto it = keys_.find(ToLowerAscii(path));
  return it == keys_.end() ? kNone : it->second.values;
}

}  // namespace ql
