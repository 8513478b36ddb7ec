// TTaskBar, the dock's own task bar: it hides the system task bar, takes the system's
// notification area ("TrayNotifyWnd") into a form of its own at the bottom right of the screen,
// and shows a task button (TKovaTask, each in a host window of its own) for every application
// window, polled every 72 ms (core/TaskList). Its menu SendMnu acts on all windows at once or on
// the clicked button's window.
//
// The system task bar comes back whatever way the dock ends: Enleve at a normal close, at the end
// of the session, from an exception filter, and at the next start after a kill
// (RecoverSystemTaskBar). The notification area is given back before this form can go.
//
// Without a system task bar or without a notification area the task bar still runs: there is then
// nothing to show in the form, and rows run to the full screen width.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "controls/Hints.h"
#include "core/Config.h"
#include "core/IconAssociations.h"
#include "core/TaskList.h"
#include "core/WindowSystem.h"
#include "taskbar/KovaTask.h"
#include "win/Form.h"
#include "win/Handles.h"
#include "win/PopupMenu.h"
#include "win/TimerSet.h"

namespace ql {

// What the task bar needs of the dock.
struct TaskBarDock {
  std::int32_t* DernierLance = nullptr;
  std::function<std::string(std::int32_t)> IconOf;     // icon file of the dock button with a number
  std::function<bool()> HasVirtualDesk;                // a virtual screens module is on the dock
  std::function<void(WindowId, int)> SendFenToScreen;  // "Send app to..." screen 1 to 4
};

// The folder of QL.TMP: the program's own when it can be written, else the user's application
// data folder ("Quaylite" in it).
std::filesystem::path IconFolder();

// A dock killed while its task bar ran left the system task bar hidden, perhaps without its
// notification area: both are shown and given back. Runs first at every start.
void RecoverSystemTaskBar();

class TTaskBar final : public win::Form {
 public:
  static constexpr UINT kPollMs = 72;

  TTaskBar();
  ~TTaskBar() override;

  // The window system the buttons and the poll use (the real one unless a test gives another)
  // and the folder of QL.TMP; before Cree.
  void UseWindowSystem(WindowSystem& system) { system_ = &system; }
  void UseIconFolder(std::filesystem::path folder) { iconFolder_ = std::move(folder); }
  void Attach(TaskBarDock dock) { dock_ = std::move(dock); }

  // Sets the task bar up with these settings (kept by reference for the whole run).
  void Cree(const TConfigTask& cfg);
  // Starts the poll over an empty list.
  void Init();
  // Every button goes (the poll is stopped meanwhile).
  void EffaceBtn();
  // Undoes Cree: the buttons go, the poll stops, the notification area and the system task bar
  // come back. Nothing when not set up.
  void Enleve();
  // Around the lock: the buttons go and the form hides; then everything comes back.
  void Suspend();
  void Resume();
  // Shows the form (the notification area) or hides it.
  void ShowForm(bool show);

  bool SetUp() const { return cfg_ != nullptr; }
  bool Polling() const { return timers_.Running(timer1_); }
  HWND HTray() const { return hTray_; }
  const RECT& RectTray() const { return rectTray_; }
  TaskList* List() const { return list_.get(); }
  const IconAssociations& Icons() const { return icons_; }
  // The button of a tracked window, nullptr for none.
  TKovaTask* ButtonOf(WindowId window) const;

  // One poll tick (the timer calls it).
  void Timer1Timer();
  // The menu's commands, for the button whose window is `window`.
  void RunMenuCommand(MenuAction action, std::int32_t value, WindowId window);
  // The menu as it opens: "Send app to..." is enabled only with a virtual screens module.
  void SendMnuPopup();
  const win::PopupMenu& SendMnu() const { return sendMnu_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void DoInvisible();
  void GiveTrayBack();
  void PopupAt(TKovaTask& button, POINT screen);

  class Maker;
  class HostView;

  std::unique_ptr<WindowSystem> ownSystem_;
  WindowSystem* system_;
  TaskBarDock dock_;
  const TConfigTask* cfg_ = nullptr;
  std::filesystem::path iconFolder_;
  IconAssociations icons_;
  std::unique_ptr<Maker> maker_;
  std::unique_ptr<TaskList> list_;
  win::TimerSet timers_;
  win::TimerSet::Id timer1_ = 0;
  win::Bitmap bmpTexture_;
  win::Bitmap bmpTextSelec_;
  HWND systemTray_ = nullptr;  // the system task bar we hid
  HWND hTray_ = nullptr;       // its notification area, while it sits in this form
  POINT trayPlace_{};          // where the notification area sat in the system task bar
  RECT rectTray_{};
  RECT lastRead_{};
  bool trayRead_ = false;
  Hints hints_;
  win::PopupMenu sendMnu_;
};

}  // namespace ql
