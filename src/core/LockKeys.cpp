#include "core/LockKeys.h"

namespace ql {

bool IsTaskSwitchKey(const KeyStroke& key) {
  switch (key.virtualKey) {
    case kVkLeftWin:
    case kVkRightWin:
      return true;
    case kVkTab:
      return key.altDown;
    case kVkEscape:
      return key.altDown || key.ctrlDown;
    default:
      return false;
  }
}

bool TaskSwitchFilter::Swallow(std::uint32_t virtualKey, bool released, bool systemAlt, bool systemCtrl) {
  switch (virtualKey) {
    case kVkAlt:
    case kVkLeftAlt:
    case kVkRightAlt:
      alt_ = !released;
      return false;
    case kVkControl:
    case kVkLeftControl:
    case kVkRightControl:
      ctrl_ = !released;
      return false;
    default:
      return IsTaskSwitchKey(KeyStroke{virtualKey, alt_ || systemAlt, ctrl_ || systemCtrl});
  }
}

}  // namespace ql
