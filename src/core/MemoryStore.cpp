#include "core/MemoryStore.h"

#include <algorithm>

#include "core/Text.h"

namespace ql {

class MemoryKey final : public StoreKey {
 public:
  MemoryKey(MemoryStore& store, std::string path) : store_(store), path_(std::move(path)) {}

  std::optional<StoreValue> Read(std::string_view name) const override {
    const auto& values = store_.keys_[path_];
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const MemoryStore::Entry& e) { return SameValueName(e.name, name); });
    if (it == values.end()) {
      return std::nullopt;
    }
    return it->value;
  }

  bool Write(std::string_view name, const StoreValue& value) override {
    ++store_.writes_;
    auto& values = store_.keys_[path_];
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const MemoryStore::Entry& e) { return SameValueName(e.name, name); });
    if (it == values.end()) {
      values.push_back({std::string(name), value});
    } else {
      it->value = value;
    }
    return true;
  }

  bool Remove(std::string_view name) override {
    ++store_.removes_;
    auto& values = store_.keys_[path_];
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const MemoryStore::Entry& e) { return SameValueName(e.name, name); });
    if (it == values.end()) {
      return false;
    }
    values.erase(it);
    return true;
  }

  std::vector<std::string> Names() const override {
    std::vector<std::string> names;
    for (const auto& e : store_.keys_[path_]) {
      names.push_back(e.name);
    }
    return names;
  }

 private:
  MemoryStore& store_;
  std::string path_;
};

std::unique_ptr<StoreKey> MemoryStore::Open(std::string_view path, bool create) {
  std::string key = ToLowerAscii(path);
  if (!keys_.contains(key)) {
    if (!create) {
      return nullptr;
    }
    keys_[key];
  }
  return std::make_unique<MemoryKey>(*this, key);
}

bool MemoryStore::HasKey(std::string_view path) const { return keys_.contains(ToLowerAscii(path)); }

const MemoryStore::Values& MemoryStore::ValuesOf(std::string_view path) const {
  static const Values kNone;
  auto it = keys_.find(ToLowerAscii(path));
  return it == keys_.end() ? kNone : it->second;
}

}  // namespace ql
