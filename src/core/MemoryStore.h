// An in-memory KeyValueStore: the registry's behaviour (case-insensitive value and key names,
// keys made on demand with the keys above them, a deleted key dead to the keys still open on it)
// without the registry. Used by the tests and by anything that needs a scratch store.
#pragma once

#include <cstdint>
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

  MemoryStore() = default;
  // A copy holds the same keys and values; keys open on the original stay with the original.
  // (The tests take one at every step of a rewrite, as a kill at that moment would leave it.)
  MemoryStore(const MemoryStore& other);
  MemoryStore& operator=(const MemoryStore&) = delete;
  ~MemoryStore() override = default;

  std::unique_ptr<StoreKey> Open(std::string_view path, bool create) override;
  bool DeleteKey(std::string_view path) override;
  // Stand-in for the system's code page: Windows-1252.
  std::optional<std::string> CodePageBytes(std::string_view text) const override;

  bool HasKey(std::string_view path) const;
  // Every key, lower-cased, in order.
  std::vector<std::string> KeyPaths() const;
  // The values of a key, empty when it does not exist.
  const Values& ValuesOf(std::string_view path) const;
  // Counts the Write and Remove calls made through every key, and the keys made and deleted,
  // for tests of write patterns.
  std::size_t writes() const { return writes_; }
  std::size_t removes() const { return removes_; }
  std::size_t keyChanges() const { return keyChanges_; }

 private:
  friend class MemoryKey;
  struct Key {
    std::uint64_t id = 0;  // a key made again after a deletion is another key
    Values values;
  };
  Key* Find(const std::string& path, std::uint64_t id);

  std::map<std::string, Key> keys_;  // by lower-cased path
  std::uint64_t nextId_ = 1;
  std::size_t writes_ = 0;
  std::size_t removes_ = 0;
  std::size_t keyChanges_ = 0;
};

}  // namespace ql
