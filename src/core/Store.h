// A key-value store shaped like the registry of the current user: keys named by backslash
// paths, each holding named values that are text or raw bytes. The dock keeps all its options
// and buttons in one key; the Win32 layer backs this with the registry, the tests with memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

enum class ValueType : std::uint8_t {
  String,  // UTF-8 text
  Binary,  // raw bytes
  Other,   // any other registry type (numbers, lists...): never read as an option
};

struct StoreValue {
  ValueType type = ValueType::String;
  std::string data;  // the text, or the bytes of a binary value

  friend bool operator==(const StoreValue&, const StoreValue&) = default;
};

// One open key. Value names compare without regard to ASCII case, as in the registry.
class StoreKey {
 public:
  StoreKey() = default;
  StoreKey(const StoreKey&) = delete;
  StoreKey& operator=(const StoreKey&) = delete;
  virtual ~StoreKey() = default;

  virtual std::optional<StoreValue> Read(std::string_view name) const = 0;
  virtual bool Write(std::string_view name, const StoreValue& value) = 0;
  virtual bool Remove(std::string_view name) = 0;
  virtual std::vector<std::string> Names() const = 0;

  // The text of a string value; nothing for a missing value or a value of another type.
  std::optional<std::string> ReadString(std::string_view name) const;
  bool WriteString(std::string_view name, std::string_view text);
};

class KeyValueStore {
 public:
  KeyValueStore() = default;
  KeyValueStore(const KeyValueStore&) = delete;
  KeyValueStore& operator=(const KeyValueStore&) = delete;
  virtual ~KeyValueStore() = default;

  // Opens a key below the user's root ("SoftWare\Wendor\Quaylite"); with create, makes the
  // missing keys on the way. Nothing when it does not exist (or cannot be made).
  virtual std::unique_ptr<StoreKey> Open(std::string_view path, bool create) = 0;

  // Deletes a key with its values and every key below it. True when the key is gone afterwards
  // (a key that never existed included); an empty path is refused. Keys still open on it
  // neither read nor write any more.
  virtual bool DeleteKey(std::string_view path) = 0;

  // The bytes a string value stands for in the system's 8-bit code page: how older writers
  // stored bytes as text. Nothing when a character has no byte of its own there (a character
  // the conversion would only approximate counts as none).
  virtual std::optional<std::string> CodePageBytes(std::string_view text) const = 0;
};

// Case-insensitive comparison of value names (ASCII letters only, as the registry folds them).
bool SameValueName(std::string_view a, std::string_view b);

}  // namespace ql
