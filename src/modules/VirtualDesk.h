// The virtual screens module (kind "Virtual Desktop"). Two parts:
//
// DeskScreens, owned by the dock for as long as the bar holds the module: the four screens' lists,
// the active screen and the pending move order (core VirtualScreens), carried out on the real
// windows. It outlives the tiles, so a rebuild of the bar loses no screen; destroying it (the
// module removed, the dock closed) shows every window again. The windows it keeps hidden are
// written to the store ("...\Quaylite\VirtualScreens") so that the next start shows them again
// when the dock ended without doing so.
//
// TVirtualDesk, the face of one tile, lent the dock's DeskScreens: the miniature of the four
// screens (the active quarter lightened, a mark on every screen that holds windows), the titles of
// a screen's windows as the hint, a left click to switch, and the 1000 ms tick that rebuilds the
// active screen's list and carries out a pending `HandFen` order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <memory>
#include "controls/TileFace.h"

#include "core/VirtualScreens.h"
#include "core/WindowLists.h"
#include "core/WindowSystem.h"
#include "win/Win.h"

namespace ql {

class KeyValueStore;

// Shows the windows a previous run of the dock left hidden on other screens (those still alive,
// hidden and of the same process), and empties the journal. Called once at start. With nullptr,
// through the system's own window system.
void RestoreHiddenWindows(KeyValueStore& store, WindowSystem* system = nullptr);

class DeskScreens {
 public:
  // `appWindow`: the application's main window (never listed, never hidden). `store`: where the
  // hidden windows are journaled (nullptr: nowhere); it must outlive this object. Restores what
  // the journal holds first. `system`: the windows are listed, shown and hidden through it
  // (nullptr: the system's own); it must outlive this object.
  explicit DeskScreens(HWND appWindow, KeyValueStore* store = nullptr, WindowSystem* system = nullptr);
  DeskScreens(const DeskScreens&) = delete;
  DeskScreens& operator=(const DeskScreens&) = delete;
  // Shows every window of every screen.
  ~DeskScreens();

  HWND AppWindow() const { return appWindow_; }
  const VirtualScreens& Screens() const { return screens_; }
  int Active() const { return screens_.Active(); }
  const std::vector<WindowId>& List(int screen) const { return screens_.List(screen); }
  // A window's title, read without a message to it.
  std::string Title(WindowId window) const { return system_.Title(window); }

  // The task bar's "Send app to...": screen 1..4 and the window, carried out by the next tick.
  void SetHandFen(std::string order) { screens_.SetHandFen(std::move(order)); }
  void SendToScreen(HWND window, int screen);
  const std::string& HandFen() const { return screens_.HandFen(); }

  // The tick: the active list becomes the application windows now visible, the pending order is
  // carried out. True when the miniature must be repainted.
  bool Tick();
  // A left click at (x, y) of a W x H tile; `repaintNow` runs between hiding and showing.
  bool Click(int x, int y, int width, int height, const std::function<void()>& repaintNow);
  // Every window shown, the lists emptied, screen 1 active.
  void ShowAll();

 private:
  void Journal(const std::vector<WindowId>& hidden);
  bool OwnWindow(WindowId window) const;

  HWND appWindow_;
  KeyValueStore* store_;
  std::unique_ptr<WindowSystem> ownSystem_;  // when none was given
  WindowSystem& system_;
  VirtualScreens screens_;
  WindowLists lists_;
  std::vector<std::string> listed_;  // working list of the enumeration
};

class TVirtualDesk final : public TileFace {
 public:
  static constexpr unsigned kTickMs = 1000;

  TVirtualDesk(TileSite& site, DeskScreens& screens);

  void Paint(win::Canvas& canvas, int width, int height) const override;
  bool Framed() const override { return false; }
  unsigned TickMs() const override { return kTickMs; }
  bool Tick() override { return screens_.Tick(); }
  // Runs from creation.
  bool Started() const override { return true; }
  bool Mouse(MouseAction action, const MouseEvent& e) override;
  // The titles of the windows of every screen whose range holds the point, one a line ("\r").
  std::string HintAt(POINT at) const override;

 private:
  TileSite& site_;
  DeskScreens& screens_;
};

}  // namespace ql
