// A window system for the core tests: a desktop of top-level windows that tests open, change and
// close at will (hundreds of them if need be), some of them hung, and a record of every command
// given, in order.
//
// A hung window behaves as on Windows: its title is still read at once (the system keeps it), a
// command to it returns at once and waits in its queue until the test wakes it, and asking it for
// its icon gives up after the timeout. The fake adds up that time in waitedMs(), so a test can
// show how long a caller would have stood still on hung windows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/WindowSystem.h"

namespace ql::test {

// Styles the tests give their windows (the window system's values).
inline constexpr std::uint32_t kOverlappedWindow = 0x00CF0000U;  // caption, frame, system menu, boxes
inline constexpr std::uint32_t kPopup = 0x80000000U;
inline constexpr std::uint32_t kCaption = 0x00C00000U;
inline constexpr std::uint32_t kSysMenu = 0x00080000U;
inline constexpr std::uint32_t kMinimizeBox = 0x00020000U;
inline constexpr std::uint32_t kDisabled = 0x08000000U;
inline constexpr std::uint32_t kDialogStyle = kPopup | kCaption | kSysMenu;  // a dialog box
inline constexpr std::uint32_t kExToolWindow = 0x00000080U;

// A window as a test opens it, described by chained setters:
//   system.Open(FakeWindow().Titled("Save as").Style(kDialogStyle).OwnedBy(editor));
struct FakeWindow {
  WindowId id = kNoWindow;  // kNoWindow: the fake picks a handle number no live window has
  std::string title;
  std::string className = "Notepad";
  bool visible = true;
  std::uint32_t style = kOverlappedWindow;
  std::uint32_t exStyle = 0;
  WindowId owner = kNoWindow;  // as GetParent does, the fake gives a popup's owner as its parent
  bool iconic = false;
  bool hung = false;          // its thread does not answer
  bool refusesClose = false;  // a close request shows "Save changes?" and the window stays
  IconHandle smallIcon = 0;
  IconHandle largeIcon = 0;
  IconHandle classSmallIcon = 0;
  IconHandle classLargeIcon = 0;

  // clang-format off
  FakeWindow& Id(WindowId v) { id = v; return *this; }
  FakeWindow& Titled(std::string v) { title = std::move(v); return *this; }
  FakeWindow& Class(std::string v) { className = std::move(v); return *this; }
  FakeWindow& Hidden() { visible = false; return *this; }
  FakeWindow& Style(std::uint32_t v) { style = v; return *this; }
  FakeWindow& ExStyle(std::uint32_t v) { exStyle = v; return *this; }
  FakeWindow& OwnedBy(WindowId v) { owner = v; return *this; }
  FakeWindow& Minimized() { iconic = true; return *this; }
  FakeWindow& Hung() { hung = true; return *this; }
  FakeWindow& RefusesClose() { refusesClose = true; return *this; }
  FakeWindow& Icons(IconHandle small, IconHandle large) { smallIcon = small; largeIcon = large; return *this; }
  FakeWindow& ClassIcons(IconHandle small, IconHandle large) {
    classSmallIcon = small; classLargeIcon = large; return *this;
  }
  // clang-format on
};

struct CommandRecord {
  WindowId window = kNoWindow;
  WindowCommand command = WindowCommand::Minimize;
  bool operator==(const CommandRecord&) const = default;
};

class FakeWindowSystem final : public WindowSystem {
 public:
  // Simulated time an icon question to a hung window costs, as the real timeout.
  static constexpr int kIconTimeoutMs = 100;

  // Opens a window at the end of the system's order; its handle.
  WindowId Open(FakeWindow window) {
    if (window.id == kNoWindow) {
      do {
        next_ += 0x10;
      } while (Find(next_) != nullptr);
      window.id = next_;
    }
    windows_.push_back(window);
    return window.id;
  }

  // `count` windows like `prototype`, titled "<title> 1", "<title> 2", ...
  std::vector<WindowId> OpenMany(int count, const FakeWindow& prototype = FakeWindow()) {
    std::vector<WindowId> ids;
    for (int i = 1; i <= count; ++i) {
      FakeWindow w = prototype;
      w.id = kNoWindow;
      w.title = prototype.title + (prototype.title.empty() ? "" : " ") + std::to_string(i);
      ids.push_back(Open(w));
    }
    return ids;
  }

  // The window goes, and the windows it owns with it.
  void Close(WindowId id) {
    std::vector<WindowId> owned;
    for (const FakeWindow& w : windows_) {
      if (w.owner == id) owned.push_back(w.id);
    }
    std::erase_if(windows_, [id](const FakeWindow& w) { return w.id == id; });
    pending_.erase(id);
    for (WindowId o : owned) Close(o);
  }

  // A live window, to change its title, class, styles or state. The window must exist.
  FakeWindow& At(WindowId id) { return *Find(id); }

  void SetForeground(WindowId id) { foreground_ = id; }

  // The hung window answers again and carries out the commands waiting in its queue, in order.
  void Wake(WindowId id) {
    if (FakeWindow* w = Find(id)) w->hung = false;
    const std::vector<WindowCommand> queued = std::move(pending_[id]);
    pending_.erase(id);
    for (WindowCommand c : queued) Carry(id, c);
  }

  const std::vector<CommandRecord>& commands() const { return commands_; }
  std::vector<WindowCommand> CommandsFor(WindowId id) const {
    std::vector<WindowCommand> out;
    for (const CommandRecord& r : commands_) {
      if (r.window == id) out.push_back(r.command);
    }
    return out;
  }
  void ClearCommands() { commands_.clear(); }
  // Commands a hung window has not carried out yet.
  std::vector<WindowCommand> Pending(WindowId id) const {
    const auto it = pending_.find(id);
    return it == pending_.end() ? std::vector<WindowCommand>() : it->second;
  }
  const std::vector<TileMode>& tiles() const { return tiles_; }

  int enumerations() const { return enumerations_; }
  int titleReads() const { return titleReads_; }
  int iconQueries() const { return iconQueries_; }
  // The time callers would have waited on windows that did not answer.
  int waitedMs() const { return waitedMs_; }

  // --- WindowSystem ---
  void TopLevel(std::vector<TopWindow>& out) override {
    ++enumerations_;
    out.clear();
    for (const FakeWindow& w : windows_) {
      const WindowId parent = (w.style & kPopup) != 0 ? w.owner : kNoWindow;
      out.push_back(TopWindow{w.id, w.visible, w.style, w.exStyle, parent, w.owner});
    }
  }
  std::string Title(WindowId id) override {
    ++titleReads_;
    const FakeWindow* w = Find(id);
    return w != nullptr ? w->title.substr(0, 255) : std::string();
  }
  std::string ClassName(WindowId id) override {
    const FakeWindow* w = Find(id);
    return w != nullptr ? w->className.substr(0, 255) : std::string();
  }
  WindowId Foreground() override { return Find(foreground_) != nullptr ? foreground_ : kNoWindow; }
  WindowId Owner(WindowId id) override {
    const FakeWindow* w = Find(id);
    return w != nullptr ? w->owner : kNoWindow;
  }
  bool IsIconic(WindowId id) override {
    const FakeWindow* w = Find(id);
    return w != nullptr && w->iconic;
  }
  bool IsWindow(WindowId id) override { return Find(id) != nullptr; }
  void Command(WindowId id, WindowCommand command) override {
    commands_.push_back({id, command});
    const FakeWindow* w = Find(id);
    if (w == nullptr) return;
    if (w->hung) {
      pending_[id].push_back(command);
    } else {
      Carry(id, command);
    }
  }
  std::optional<IconHandle> WindowIcon(WindowId id, IconSize size) override {
    ++iconQueries_;
    const FakeWindow* w = Find(id);
    if (w == nullptr) return std::nullopt;
    if (w->hung) {
      waitedMs_ += kIconTimeoutMs;
      return std::nullopt;
    }
    return size == IconSize::Large ? w->largeIcon : w->smallIcon;
  }
  IconHandle ClassIcon(WindowId id, IconSize size) override {
    const FakeWindow* w = Find(id);
    if (w == nullptr) return 0;
    return size == IconSize::Large ? w->classLargeIcon : w->classSmallIcon;
  }
  void Tile(TileMode mode) override { tiles_.push_back(mode); }

 private:
  FakeWindow* Find(WindowId id) {
    const auto it =
        std::find_if(windows_.begin(), windows_.end(), [id](const FakeWindow& w) { return w.id == id; });
    return it == windows_.end() ? nullptr : &*it;
  }

  // What the window's own program does with a command once it gets to it.
  void Carry(WindowId id, WindowCommand command) {
    FakeWindow* w = Find(id);
    if (w == nullptr) return;
    switch (command) {
      case WindowCommand::Minimize:
        w->iconic = true;
        break;
      case WindowCommand::Restore:
        w->iconic = false;
        w->visible = true;
        break;
      case WindowCommand::Show:
        w->visible = true;
        break;
      case WindowCommand::Hide:
        w->visible = false;
        break;
      case WindowCommand::Activate:
        foreground_ = id;
        break;
      case WindowCommand::Close:
        if (!w->refusesClose) Close(id);
        break;
    }
  }

  std::vector<FakeWindow> windows_;  // in the system's order
  std::map<WindowId, std::vector<WindowCommand>> pending_;
  std::vector<CommandRecord> commands_;
  std::vector<TileMode> tiles_;
  WindowId next_ = 0x10000;
  WindowId foreground_ = kNoWindow;
  int enumerations_ = 0;
  int titleReads_ = 0;
  int iconQueries_ = 0;
  int waitedMs_ = 0;
};

}  // namespace ql::test
