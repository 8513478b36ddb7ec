#include "controls/IconCache.h"

#include <tuple>

#include "controls/KovaBtn.h"

namespace ql {

std::shared_ptr<const win::Icon> IconCache::Load(const std::string& path, std::int32_t index,
                                                 std::int32_t size) {
  auto it = entries_.find(std::forward_as_tuple(path, index, size));
  if (it != entries_.end()) return it->second;
  auto icon = std::make_shared<const win::Icon>(LoadPathIcon(path, index, size));
  entries_.emplace(Key{path, index, size}, icon);
  return icon;
}

void IconCache::Trim() {
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->second.use_count() == 1) {
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace ql
