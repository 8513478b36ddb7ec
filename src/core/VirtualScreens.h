// The four virtual screens: one list of windows per screen, the active screen, the pending move
// order `HandFen` of the task bar, and what each tick, click or release must hide and show. It
// works on plain window ids given by the caller and answers which windows to hide and show; the
// caller does the hiding and showing. Also the geometry of the miniature (the ranges of the four
// quarters, the lightened areas, the marks) and the journal of hidden windows kept in the store
// so that no window stays hidden when the dock ends without showing them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/TileGeometry.h"
#include "core/WindowSystem.h"

namespace ql {

class StoreKey;

inline constexpr int kScreenCount = 4;

// The screens (1..4) whose range holds the point (x, y) of a W x H tile. Screen 1 x 1..W/2 and
// y 1..H/2, screen 2 x W/2..W, screen 3 y H/2..H, screen 4 both; all bounds inclusive, so the
// middle lines belong to two screens and the centre to four.
std::vector<int> ScreensAt(int x, int y, int width, int height);

// The area of a screen's quarter that is lightened when it is active (inclusive bounds): the
// columns 0, W/2, W - 1 and the rows 0, H/2, H - 1 stay as they are.
struct QuarterArea {
  int left = 0, top = 0, right = 0, bottom = 0;  // inclusive
};
QuarterArea LightenedArea(int screen, int width, int height);

// The four pixels of the mark in the outer corner of a screen that holds windows.
struct MarkPixel {
  int x = 0;
  int y = 0;
  Rgb colour;
};
std::array<MarkPixel, 4> ScreenMark(int screen, int width, int height);

class VirtualScreens {
 public:
  // What the caller must do after a change, in this order: hide, then (after repainting when
  // asked) show.
  struct Orders {
    std::vector<WindowId> hide;
    std::vector<WindowId> show;
    bool repaint = false;
  };

  int Active() const { return active_; }
  // The list of a screen (1..4); an empty list for any other number.
  const std::vector<WindowId>& List(int screen) const;
  // The windows of the screens that are not active: hidden by the module.
  std::vector<WindowId> Hidden() const;

  // A move order: the target screen's digit followed by the decimal window id ("2" "1234").
  void SetHandFen(std::string order) { handFen_ = std::move(order); }
  const std::string& HandFen() const { return handFen_; }

  // A window the module hid may still show for a while (its program hides it when it gets to it,
  // Wine takes two seconds for a captioned window, a hung program never does): for up to this
  // many ticks it is not taken for a window of the active screen.
  static constexpr int kHideTicks = 5;

  // The 1000 ms tick: the active list becomes `live` (the application windows now visible, less
  // those still on their way out), then the pending order is carried out and cleared: a window sent to
  // another screen joins its list (and leaves every other) and is hidden; one sent to the active screen stays
  // where it is. An order whose first character is not "1" to "4", or whose rest is no window id, is dropped.
  Orders Tick(const std::vector<WindowId>& live);

  // A left click at (x, y) of a W x H tile. Nothing when the point is in no range or in the
  // active screen's range; otherwise the active screen's windows are hidden (except `keep`, the
  // application's own main window), the highest-numbered screen under the point becomes active
  // and its windows are shown.
  Orders Click(int x, int y, int width, int height, WindowId keep);

  // Every window of every screen is shown; the lists are emptied and screen 1 is active again.
  Orders ShowAll();

 private:
  std::vector<WindowId>& At(int screen) { return lists_[static_cast<std::size_t>(screen - 1)]; }
  void Hiding(const std::vector<WindowId>& hidden);
  void Showing(const std::vector<WindowId>& shown);

  struct Leaving {
    WindowId id = 0;
    int ticks = 0;  // ticks it was still seen since it was hidden
  };

  int active_ = 1;
  std::array<std::vector<WindowId>, kScreenCount> lists_;
  std::string handFen_;
  std::vector<Leaving> leaving_;  // windows hidden by the module, not yet seen gone
};

// The journal of hidden windows: one value per window in the key "...\Quaylite\VirtualScreens",
// named by the window's id and holding its process id, so that a window is shown again only
// while it is still the one that was hidden.
inline constexpr std::string_view kScreensKey = "SoftWare\\Wendor\\Quaylite\\VirtualScreens";

struct HiddenWindow {
  WindowId id = 0;
  std::uint32_t process = 0;
  friend bool operator==(const HiddenWindow&, const HiddenWindow&) = default;
};

// The windows the journal names; values that are not an id with a process id are left out.
std::vector<HiddenWindow> ReadHiddenJournal(const StoreKey& key);
// Makes the key name exactly `windows`: writes the missing values, removes every other one
// (values that did not change are not written again).
void WriteHiddenJournal(StoreKey& key, const std::vector<HiddenWindow>& windows);

}  // namespace ql
