#include "core/StartGuard.h"

namespace ql {

bool BeginStart(KeyValueStore& store) {
  const bool previousStartDied = store.Open(kStartMarkKey, false) != nullptr;
  store.Open(kStartMarkKey, true);
  return previousStartDied;
}

void StartReachedLoop(KeyValueStore& store) { store.DeleteKey(kStartMarkKey); }

}  // namespace ql
