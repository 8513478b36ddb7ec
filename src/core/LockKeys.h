// The key combinations that would switch away from the lock's password dialog: Alt+Tab, Alt+Esc,
// Ctrl+Esc (Ctrl+Shift+Esc included) and the Windows keys. The lock swallows them, presses and
// releases alike, while it lasts.
#pragma once

#include <cstdint>

namespace ql {

// Virtual-key codes of the window system.
inline constexpr std::uint32_t kVkTab = 0x09;
inline constexpr std::uint32_t kVkControl = 0x11;
inline constexpr std::uint32_t kVkAlt = 0x12;
inline constexpr std::uint32_t kVkEscape = 0x1B;
inline constexpr std::uint32_t kVkLeftWin = 0x5B;
inline constexpr std::uint32_t kVkRightWin = 0x5C;
inline constexpr std::uint32_t kVkLeftControl = 0xA2;
inline constexpr std::uint32_t kVkRightControl = 0xA3;
inline constexpr std::uint32_t kVkLeftAlt = 0xA4;
inline constexpr std::uint32_t kVkRightAlt = 0xA5;

// One key press or release, with the modifiers held at that moment.
struct KeyStroke {
  std::uint32_t virtualKey = 0;
  bool altDown = false;
  bool ctrlDown = false;
};

bool IsTaskSwitchKey(const KeyStroke& key);

// The keyboard as a low-level hook sees it, event by event, before the system has taken any of
// them into its own key state: it follows Alt and Ctrl itself, and adds what the system reports
// (a modifier held since before the hook came).
class TaskSwitchFilter {
 public:
  // True: swallow the event.
  bool Swallow(std::uint32_t virtualKey, bool released, bool systemAlt, bool systemCtrl);

 private:
  bool alt_ = false;
  bool ctrl_ = false;
};

}  // namespace ql
