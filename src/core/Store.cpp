#include "core/Store.h"

#include "core/Text.h"

namespace ql {

std::optional<std::string> StoreKey::ReadString(std::string_view name) const {
  auto value = Read(name);
  if (!value || value->type != ValueType::String) {
    return std::nullopt;
  }
  return std::move(value->data);
}

bool StoreKey::WriteString(std::string_view name, std::string_view text) {
  return Write(name, StoreValue{ValueType::String, std::string(text)});
}

bool SameValueName(std::string_view a, std::string_view b) { return EqualsIgnoreCase(a, b); }

}  // namespace ql
