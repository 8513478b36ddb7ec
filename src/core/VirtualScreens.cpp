#include "core/VirtualScreens.h"

#include <algorithm>
#include <set>

#include "core/Store.h"
#include "core/WindowRules.h"

namespace ql {

namespace {

constexpr Rgb kMarkYellow{255, 255, 0};
constexpr Rgb kMarkOlive{128, 128, 0};
constexpr Rgb kMarkBrown{102, 51, 0};

bool Holds(const std::vector<WindowId>& list, WindowId id) {
  return std::find(list.begin(), list.end(), id) != list.end();
}

void Erase(std::vector<WindowId>& list, WindowId id) { std::erase(list, id); }

}  // namespace

std::vector<int> ScreensAt(int x, int y, int width, int height) {
  const int mx = width / 2;
  const int my = height / 2;
  const bool left = x >= 1 && x <= mx;
  const bool right = x >= mx && x <= width;
  const bool top = y >= 1 && y <= my;
  const bool bottom = y >= my && y <= height;
  std::vector<int> screens;
  if (left && top) screens.push_back(1);
  if (right && top) screens.push_back(2);
  if (left && bottom) screens.push_back(3);
  if (right && bottom) screens.push_back(4);
  return screens;
}

QuarterArea LightenedArea(int screen, int width, int height) {
  const int mx = width / 2;
  const int my = height / 2;
  const bool right = screen == 2 || screen == 4;
  const bool bottom = screen == 3 || screen == 4;
  QuarterArea a;
  a.left = right ? mx + 1 : 1;
  a.right = right ? width - 2 : mx - 1;
  a.top = bottom ? my + 1 : 1;
  a.bottom = bottom ? height - 2 : my - 1;
  return a;
}

std::array<MarkPixel, 4> ScreenMark(int screen, int width, int height) {
  const bool right = screen == 2 || screen == 4;
  const bool bottom = screen == 3 || screen == 4;
  // The same pattern in every corner: yellow, olive to its right and below, brown diagonally.
  const int x0 = right ? width - 4 : 3;
  const int y0 = bottom ? height - 4 : 3;
  return {{{x0, y0, kMarkYellow},
           {x0 + 1, y0, kMarkOlive},
           {x0 + 1, y0 + 1, kMarkBrown},
           {x0, y0 + 1, kMarkOlive}}};
}

const std::vector<WindowId>& VirtualScreens::List(int screen) const {
  static const std::vector<WindowId> kNone;
  if (screen < 1 || screen > kScreenCount) return kNone;
  return lists_[static_cast<std::size_t>(screen - 1)];
}

std::vector<WindowId> VirtualScreens::Hidden() const {
  std::vector<WindowId> hidden;
  for (int s = 1; s <= kScreenCount; ++s) {
    if (s == active_) continue;
    for (const WindowId id : List(s)) {
      if (!Holds(hidden, id)) hidden.push_back(id);
    }
  }
  return hidden;
}

VirtualScreens::Orders VirtualScreens::Tick(const std::vector<WindowId>& live) {
  Orders orders;
  std::array<bool, kScreenCount> hadWindows{};
  for (int s = 1; s <= kScreenCount; ++s) hadWindows[static_cast<std::size_t>(s - 1)] = !List(s).empty();
  const std::size_t before = List(active_).size();
  // A window hidden by the module that still shows is on its way to its own screen, not a window
  // of this one (it would then belong to two screens and show on both); one that shows for too
  // long stays where it is seen.
  std::vector<WindowId>& active = At(active_);
  active.clear();
  for (const WindowId id : live) {
    const auto it =
        std::find_if(leaving_.begin(), leaving_.end(), [id](const Leaving& l) { return l.id == id; });
    if (it != leaving_.end() && ++it->ticks <= kHideTicks) continue;
    active.push_back(id);
  }
  std::erase_if(leaving_, [&live](const Leaving& l) { return !Holds(live, l.id) || l.ticks > kHideTicks; });

  if (!handFen_.empty()) {
    const char first = handFen_[0];
    const auto id = ParseHandleText(std::string_view(handFen_).substr(1));
    if (first >= '1' && first <= '4' && id && *id != 0) {
      const int target = first - '0';
      // A window sent to the active screen is already there; hiding it would lose it.
      if (target != active_ && !Holds(At(target), *id)) {
        for (int s = 1; s <= kScreenCount; ++s) {
          if (s != target) Erase(At(s), *id);
        }
        At(target).push_back(*id);
        orders.hide.push_back(*id);
      }
    }
    handFen_.clear();
  }
  Hiding(orders.hide);

  orders.repaint = List(active_).size() != before;
  for (int s = 1; s <= kScreenCount; ++s) {
    if (hadWindows[static_cast<std::size_t>(s - 1)] != !List(s).empty()) orders.repaint = true;
  }
  return orders;
}

VirtualScreens::Orders VirtualScreens::Click(int x, int y, int width, int height, WindowId keep) {
  Orders orders;
  const std::vector<int> screens = ScreensAt(x, y, width, height);
  if (screens.empty() || std::find(screens.begin(), screens.end(), active_) != screens.end()) return orders;
  for (const WindowId id : List(active_)) {
    if (id != keep) orders.hide.push_back(id);
  }
  active_ = screens.back();
  orders.show = List(active_);
  orders.repaint = true;
  Hiding(orders.hide);
  Showing(orders.show);
  return orders;
}

void VirtualScreens::Hiding(const std::vector<WindowId>& hidden) {
  for (const WindowId id : hidden) {
    if (std::none_of(leaving_.begin(), leaving_.end(), [id](const Leaving& l) { return l.id == id; })) {
      leaving_.push_back({id, 0});
    }
  }
}

void VirtualScreens::Showing(const std::vector<WindowId>& shown) {
  std::erase_if(leaving_, [&shown](const Leaving& l) { return Holds(shown, l.id); });
}

VirtualScreens::Orders VirtualScreens::ShowAll() {
  Orders orders;
  for (auto& list : lists_) {
    for (const WindowId id : list) {
      if (!Holds(orders.show, id)) orders.show.push_back(id);
    }
    list.clear();
  }
  orders.repaint = active_ != 1 || !orders.show.empty();
  active_ = 1;
  handFen_.clear();
  leaving_.clear();
  return orders;
}

std::vector<HiddenWindow> ReadHiddenJournal(const StoreKey& key) {
  std::vector<HiddenWindow> windows;
  for (const std::string& name : key.Names()) {
    const auto id = ParseHandleText(name);
    const auto text = key.ReadString(name);
    const auto process = text ? ParseHandleText(*text) : std::nullopt;
    if (id && *id != 0 && process) windows.push_back({*id, *process});
  }
  return windows;
}

void WriteHiddenJournal(StoreKey& key, const std::vector<HiddenWindow>& windows) {
  std::set<std::string> wanted;
  for (const HiddenWindow& w : windows) {
    std::string name = HandleText(w.id);
    const std::string process = HandleText(w.process);
    if (key.ReadString(name) != process) key.WriteString(name, process);
    wanted.insert(std::move(name));
  }
  for (const std::string& name : key.Names()) {
    if (!wanted.contains(name)) key.Remove(name);
  }
}

}  // namespace ql
