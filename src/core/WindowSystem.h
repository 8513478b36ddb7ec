// The dock's view of other programs' top-level windows: what the task bar, the virtual screens
// and the lock read about them and the commands they give them. The Win32 side is
// win/Win32WindowSystem; tests use a fake with hundreds of windows, some of them hung.
//
// No call waits on another program: texts and states are read from what the system keeps,
// commands are posted or asynchronous, and the one question a window must answer itself (its
// icon) gives up after a short time. A hung window therefore never freezes the dock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ql {

// A window handle's 32-bit value; 0 is no window.
using WindowId = std::uint32_t;
inline constexpr WindowId kNoWindow = 0;

// An icon handle's 32-bit value, owned by the window or its class (copy it to keep it); 0 none.
using IconHandle = std::uint32_t;

// One top-level window as one enumeration saw it: everything the window rules look at, read once.
// A hidden window's extended style, parent and owner are left at 0: no list looks at them.
struct TopWindow {
  WindowId id = kNoWindow;
  bool visible = false;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  WindowId parent = kNoWindow;  // GetParent: the owner of a popup
  WindowId owner = kNoWindow;   // the owner of any top-level window (GWL_HWNDPARENT)
};

enum class WindowCommand : std::uint8_t {
  Minimize,  // minimise (the task bar's click and its "Minimize all", the lock)
  Restore,   // restore from minimised or maximised
  Show,      // show again (virtual screens)
  Hide,      // hide (virtual screens)
  Activate,  // bring to the foreground
  Close,     // ask to close, as the window's system menu does; it may refuse (a "Save?" box)
};

enum class IconSize : std::uint8_t { Small, Large };

// The system's arrangement of the desktop's windows side by side.
enum class TileMode : std::uint8_t { Horizontal, Vertical };

class WindowSystem {
 public:
  WindowSystem() = default;
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;
  virtual ~WindowSystem() = default;

  // Replaces `windows` with every top-level window in the system's order (topmost first).
  virtual void TopLevel(std::vector<TopWindow>& windows) = 0;
  // The title as the system keeps it (at most 255 characters); empty for a closed window.
  virtual std::string Title(WindowId window) = 0;
  // The window's class name (at most 255 characters); empty for a closed window.
  virtual std::string ClassName(WindowId window) = 0;
  virtual WindowId Foreground() = 0;
  virtual WindowId Owner(WindowId window) = 0;
  virtual bool IsIconic(WindowId window) = 0;
  virtual bool IsWindow(WindowId window) = 0;
  // Returns at once: the window carries the command out when its program gets to it.
  virtual void Command(WindowId window, WindowCommand command) = 0;
  // The icon the window answers when asked (0: it has none); nothing when it does not answer
  // in a short time.
  virtual std::optional<IconHandle> WindowIcon(WindowId window, IconSize size) = 0;
  // The icon of the window's class; 0 when it has none.
  virtual IconHandle ClassIcon(WindowId window, IconSize size) = 0;
  // Tiles the desktop's windows; returns at once, even when some of them do not answer.
  virtual void Tile(TileMode mode) = 0;
};

// The icon a task button shows for a window: large, the window's own or else its class's;
// small, the window's own small one, else its class's small one, else the window's large one.
// A window that did not answer is not asked a second time: its class's large icon stands in.
IconHandle TaskIcon(WindowSystem& system, WindowId window, IconSize size);

}  // namespace ql
