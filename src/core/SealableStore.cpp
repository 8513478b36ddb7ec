#include "core/SealableStore.h"

#include <utility>
#include <vector>

namespace ql {

namespace {

class SealableKey final : public StoreKey {
 public:
  SealableKey(std::unique_ptr<StoreKey> inner, std::shared_ptr<const bool> sealed)
      : inner_(std::move(inner)), sealed_(std::move(sealed)) {}

  std::optional<StoreValue> Read(std::string_view name) const override { return inner_->Read(name); }
  bool Write(std::string_view name, const StoreValue& value) override {
    return !*sealed_ && inner_->Write(name, value);
  }
  bool Remove(std::string_view name) override { return !*sealed_ && inner_->Remove(name); }
  std::vector<std::string> Names() const override { return inner_->Names(); }

 private:
  std::unique_ptr<StoreKey> inner_;
  std::shared_ptr<const bool> sealed_;
};

}  // namespace

SealableStore::SealableStore(KeyValueStore& inner) : inner_(inner) {}

std::unique_ptr<StoreKey> SealableStore::Open(std::string_view path, bool create) {
  auto key = inner_.Open(path, create && !*sealed_);
  if (!key) return nullptr;
  return std::make_unique<SealableKey>(std::move(key), sealed_);
}

bool SealableStore::DeleteKey(std::string_view path) { return !*sealed_ && inner_.DeleteKey(path); }

std::optional<std::string> SealableStore::CodePageBytes(std::string_view text) const {
  return inner_.CodePageBytes(text);
}

}  // namespace ql
