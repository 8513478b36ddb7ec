// TKovaTask, the task button: one application window on the dock's own task bar. It shows the
// window's icon and, by style and state, its title in lower case; a left click activates,
// restores or minimises the window, Ctrl+click asks it to close, Ctrl+Alt+click names its class,
// and an icon file dropped on it is associated with the window's class or title (QL.TMP).
//
// Its own child window, composed off-screen and copied in one step. When it has a host window
// (HandleHost), the host is cut to the shape of the painted image's non-magenta pixels; the
// region is given again only when that shape changes, since setting it repaints the button.
//
// The window's icon is asked when the tracked window is set, when its title or icon file changes
// and after a state change, never at a paint: the question may go to a program that does not
// answer, and then waits a short time at most. Everything else it tells the window is posted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/IconAssociations.h"
#include "core/TaskList.h"
#include "core/WindowSystem.h"
#include "win/Handles.h"
#include "win/Registrations.h"
#include "win/Window.h"

namespace ql {

class Hints;

// The exact set of shift keys and buttons of a press (the task button acts on exact sets only).
struct TaskShift {
  bool left = false;
  bool right = false;
  bool middle = false;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool doubleClick = false;
  bool operator==(const TaskShift&) const = default;
};

class TKovaTask final : public win::Window {
 public:
  static constexpr COLORREF kSilver = 0xC0C0C0;
  static constexpr COLORREF kMagenta = RGB(255, 0, 255);

  explicit TKovaTask(WindowSystem& system);
  ~TKovaTask() override;

  // The button as a child of `parent` at (x, y), of the size of its style; hidden until shown.
  bool Create(HWND parent, int x, int y);

  // Properties: a setter stores a different value and repaints.
  void SetColorOn(COLORREF c);
  void SetColorOff(COLORREF c);
  void SetTColorOn(COLORREF c);
  void SetTColorOff(COLORREF c);
  void SetRColor(COLORREF c);
  void SetBorder(bool on);
  void SetShadow(bool on);
  void SetRectLbl(bool on);
  void SetIconOnly(bool on);
  void SetBigIcon(bool on);
  // The button keeps copies of the bitmaps (nullptr: none).
  void SetTexture(HBITMAP bitmap);
  void SetTextSelec(HBITMAP bitmap);
  // sNS: 48 x 48, or 64 x 64 with BigIcon; sQL: 130 x 20.
  void SetStyle(TaskStyle style);
  // The label font of the label style.
  void SetLabelFont(const std::string& face, int points, bool bold, bool italic);
  // Stores the state; IconOnly follows whether the window is minimised; the icon is asked again.
  void SetState(TaskState state);
  // The tracked window: its title and class are read, its icon asked.
  void SetHandleFen(WindowId window);
  // The tracked window with the title and class already read (the task bar's poll read them) and
  // its icon file: the icon is loaded once.
  void SetWindow(WindowId window, std::string caption, std::string classe, std::string iconPath);
  // Always stores, loads the icon and repaints.
  void SetIconPath(std::string path);
  void SetHandleHost(HWND host) { handleHost_ = host; }
  void SetHints(Hints* hints) { hints_ = hints; }
  void SetAssociations(const IconAssociations* icons) { associations_ = icons; }

  const std::string& Caption() const { return caption_; }
  const std::string& ClasseFen() const { return classeFen_; }
  const std::string& IconPath() const { return iconPath_; }
  WindowId HandleFen() const { return handleFen_; }
  TaskState State() const { return state_; }
  TaskStyle Style() const { return style_; }
  bool IconOnly() const { return iconOnly_; }
  bool HasIcon() const { return static_cast<bool>(icone_); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The right button: the task bar shows its menu for this button at a screen point.
  std::function<void(TKovaTask&, POINT)> OnPopup;
  // An icon file was associated with the window by a drop.
  std::function<void(const std::string&)> OnIconAssociated;
  // How "Class=..." is shown; a message box of the program unless replaced (tests).
  std::function<void(const std::string&)> ShowMessage;

  // The mouse rules of a press (the window procedure calls this with the press's keys).
  void MouseDown(const TaskShift& shift);
  // The association of a dropped icon file (QL.TMP rewritten, the button shows the icon).
  void AssocieIcone(const std::string& path);

  // The button composed as it is painted: an off-screen image of its size.
  win::Bitmap Compose();
  // The host window's shape from an image of the button (magenta runs cut away).
  void DecoupeRegion(HBITMAP image);
  // How often the host was given a new region (the shape changed).
  int RegionsSet() const { return regionsSet_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  void Repaint() const;
  void ChargeIcone();

  WindowSystem& system_;
  COLORREF colorOn_ = kSilver;
  COLORREF colorOff_ = kSilver;
  COLORREF tColorOn_ = 0;
  COLORREF tColorOff_ = 0;
  COLORREF rColor_ = 0;
  bool border_ = false;
  bool shadow_ = false;
  bool rectLbl_ = true;
  bool iconOnly_ = false;
  bool bigIcon_ = false;
  TaskState state_ = TaskState::Up;
  TaskStyle style_ = TaskStyle::sQL;
  int width_ = 130;
  int height_ = 20;
  WindowId handleFen_ = kNoWindow;
  std::string caption_;
  std::string classeFen_;
  std::string iconPath_;
  win::Icon icone_;
  win::Bitmap texture_;
  win::Bitmap textSelec_;
  win::Font labelFont_;
  win::Font smallFont_;
  HWND handleHost_ = nullptr;
  Hints* hints_ = nullptr;
  std::string hintShown_;
  const IconAssociations* associations_ = nullptr;
  win::DropTarget drop_;
  std::vector<int> shape_;  // the magenta runs of the last region given: row, first, end
  bool shaped_ = false;
  int regionsSet_ = 0;
};

}  // namespace ql
