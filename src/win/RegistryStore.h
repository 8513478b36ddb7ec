// The dock's store backed by the registry: every path is a key below one root (the current
// user's hive unless told otherwise), optionally inside a base key so that a test can work in a
// scratch key of its own. Failures are silent: a key that cannot be opened reads as missing, a
// value that cannot be read as absent, and nothing here throws.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/Store.h"
#include "win/Win.h"

namespace ql::win {

class RegistryStore final : public ql::KeyValueStore {
 public:
  // basePath ("Software\QuayliteTests\x1") is put in front of every path given to Open.
  explicit RegistryStore(HKEY root = HKEY_CURRENT_USER, std::string basePath = "");

  // Opens the key for reading and writing (for reading only when writing is refused); with
  // create, the missing keys on the way are made.
  std::unique_ptr<ql::StoreKey> Open(std::string_view path, bool create) override;
  // RegDeleteTreeW of the key and the key itself; a key that does not exist counts as deleted.
  bool DeleteKey(std::string_view path) override;
  // WideCharToMultiByte to CP_ACP without best-fit mapping, so that a character the code page
  // lacks is detected instead of being replaced by a look-alike or "?".
  std::optional<std::string> CodePageBytes(std::string_view text) const override;

  HKEY root() const { return root_; }
  const std::string& basePath() const { return basePath_; }

 private:
  HKEY root_;
  std::string basePath_;
};

}  // namespace ql::win
