// Icons shared between the tiles of one bar: the result of LoadPathIcon kept per path (as given),
// index and size, so that rebuilding a bar reads no file again. A failed load is kept too (an
// empty icon), so a missing file is not looked for at every rebuild. The icons are shared: an
// entry lives as long as the cache or any tile holding it, whichever is longer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "win/Handles.h"

namespace ql {

class IconCache {
 public:
  IconCache() = default;
  IconCache(const IconCache&) = delete;
  IconCache& operator=(const IconCache&) = delete;
  ~IconCache() = default;

  // The icon of (path, index, size), loaded on the first request; never null (the icon inside is
  // empty when nothing could be read).
  std::shared_ptr<const win::Icon> Load(const std::string& path, std::int32_t index, std::int32_t size);
  // Drops the entries that only the cache holds.
  void Trim();
  // Drops every entry (tiles keep the icons they hold).
  void Clear() { entries_.clear(); }
  std::size_t size() const { return entries_.size(); }

 private:
  using Key = std::tuple<std::string, std::int32_t, std::int32_t>;
  std::map<Key, std::shared_ptr<const win::Icon>, std::less<>> entries_;
};

}  // namespace ql
