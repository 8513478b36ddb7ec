// A store that can be closed for writing for good. The dock seals its store at the end of
// FormClose, so that nothing still running after the close (a dialog's OK after its modal loop,
// the answer to a message box) can write the store again.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/Store.h"

namespace ql {

class SealableStore final : public KeyValueStore {
 public:
  explicit SealableStore(KeyValueStore& inner);

  // From now on every write, remove, key creation and key deletion through this store is
  // refused and does nothing, through keys opened before as well; reads go on working.
  void Seal() { *sealed_ = true; }
  bool sealed() const { return *sealed_; }

  // Once sealed, opening with create only opens a key that exists.
  std::unique_ptr<StoreKey> Open(std::string_view path, bool create) override;
  bool DeleteKey(std::string_view path) override;
  std::optional<std::string> CodePageBytes(std::string_view text) const override;

 private:
  KeyValueStore& inner_;
  // Shared with the keys handed out, which may outlive this store.
  std::shared_ptr<bool> sealed_ = std::make_shared<bool>(false);
};

}  // namespace ql
