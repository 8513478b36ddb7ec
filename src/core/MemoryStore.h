// An in-memory KeyValueStore: the registry's behaviour (case-insensitive value names, keys made
// on demand) without the registry. Used by the tests and by anything that needs a scratch store.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/Store.h"

namespace ql {

class MemoryStore final : public KeyValueStore {
 public:
  struct Entry {
    std::string name;
    StoreValue value;
  };
  using Values = std::vector<Entry>;  // in order of creation, as a registry key lists them

  std::unique_ptr<StoreKey> Open(std::string_view path, bool create) override;

  bool HasKey(std::string_view path) const;
  // The values of a key, empty when it does not exist.
  const Values& ValuesOf(std::string_view path) const;
  // Counts the Write and Remove calls made through every key, for tests of write patterns.
  std::size_t writes() const { return writes_; }
  std::size_t removes() const { return removes_; }

 private:
  friend class MemoryKey;
  std::map<std::string, Values> keys_;  // by lower-cased path
  std::size_t writes_ = 0;
  std::size_t removes_ = 0;
};

}  // namespace ql
