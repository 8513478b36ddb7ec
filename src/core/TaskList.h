// The task bar's list of buttons, one slot per application window, and its poll: which windows
// get a button, where each button stands, which icon a new one shows, and when a button is
// relabelled or changes state. The buttons themselves (host windows, painting) are the Win32
// side's, made and told through TaskButtonMaker and TaskButtonView; every question to the
// windows goes through the WindowSystem, so nothing here waits on another program.
//
// Slots: a closed window's slot stays with its place so the next window takes it; free slots at
// the end are trimmed and the next new button takes the place of the first of them. Rows fill
// the bottom of the screen from the left and stack upwards.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Command.h"
#include "core/Config.h"
#include "core/IconAssociations.h"
#include "core/WindowLists.h"
#include "core/WindowSystem.h"

namespace ql {

enum class TaskState : std::uint8_t { Up, Down };  // Down: the window is the foreground window
enum class TaskStyle : std::uint8_t { sQL, sNS };  // label style, tile style

struct TaskButtonSize {
  int width = 0;
  int height = 0;
};

// Label style 130 x 20; tile style 48 x 48, or 64 x 64 with big icons.
TaskButtonSize TaskButtonSizeOf(const TConfigTask& cfg);
TaskStyle TaskStyleOf(const TConfigTask& cfg);

// The label drawn on a button: front trimming for folder windows and for dialogs whose first
// "%" stands in the second half (a copy's progress), end trimming otherwise. `text` is the
// lower-cased caption; `width` measures a text. Front trimming puts "..." in place of the first
// three characters once the text is too wide, then drops the character after them until it fits.
bool FrontTrimming(std::string_view text, std::string_view className);
std::string TrimTaskLabel(std::string text, std::string_view className, int limit,
                          const std::function<int(std::string_view)>& width);

// What a task button shows.
struct TaskButtonInfo {
  std::string Caption;    // the window's title as last read
  std::string ClasseFen;  // the window's class
  std::string IconPath;   // the icon file chosen for it; empty: the window's own icon
  TaskState State = TaskState::Up;
  bool IconOnly = false;  // the label is not drawn (tile style, window open)
};

enum class TaskChange : std::uint8_t {
  Window,    // caption, class or icon file read again: ask the window for its icon again
  State,     // State (and IconOnly with it) changed: the icon is asked again too
  IconOnly,  // only IconOnly changed
};

// One button of the Win32 side, destroyed with its host window when the slot is freed.
class TaskButtonView {
 public:
  TaskButtonView() = default;
  TaskButtonView(const TaskButtonView&) = delete;
  TaskButtonView& operator=(const TaskButtonView&) = delete;
  virtual ~TaskButtonView() = default;
  virtual void Changed(TaskChange change) = 0;
};

// A slot of the list (TTaskNode). HFen 0: free.
struct TaskEntry {
  WindowId HFen = kNoWindow;
  int X = 0;
  int Y = 0;
  TaskButtonInfo Bouton;
  std::unique_ptr<TaskButtonView> View;
};

class TaskButtonMaker {
 public:
  TaskButtonMaker() = default;
  TaskButtonMaker(const TaskButtonMaker&) = delete;
  TaskButtonMaker& operator=(const TaskButtonMaker&) = delete;
  virtual ~TaskButtonMaker() = default;
  // The button and its host window for the entry (window, place and what it shows are set),
  // shown there; the entry outlives the view. Then the new window is given the foreground back.
  virtual std::unique_ptr<TaskButtonView> Make(TaskEntry& entry) = 0;
};

// The dock's part in choosing a new button's icon: the last launched button's number (reset
// once taken), and the icon file of the dock button with a number (empty for none).
struct TaskDock {
  std::int32_t* DernierLance = nullptr;
  std::function<std::string(std::int32_t)> IconOf;
};

// Where rows end: the notification area's left edge when it is shown, else the screen's width.
struct TaskScreen {
  int width = 0;
  int height = 0;
  bool showTray = false;
  int trayLeft = 0;
};

class TaskList {
 public:
  TaskList(WindowSystem& system, const TConfigTask& cfg, TaskButtonMaker& maker,
           const IconAssociations& icons, TaskDock dock = {});

  // Empties the list and starts over: the first row's top at the screen's bottom less one button,
  // the next button at its left; the next poll compares the whole window list.
  void Init(int screenHeight);
  // Every button goes, from the last to the first; the place of the next button is kept.
  void EffaceBtn();
  // One tick of the poll (the notification area already adjusted).
  void Tick(const TaskScreen& screen);
  // 1: minimise every tracked window, 2: restore them, 3: ask each to close.
  void GestionFenetre(int mode);

  // The icon a new button for this window shows (empty: the window's own).
  std::string ChooseIcon(std::string_view className, std::string_view title);

  // The slots after the head, in list order.
  const std::vector<std::unique_ptr<TaskEntry>>& Entries() const { return entries_; }
  TaskEntry* EntryOf(WindowId window) const;
  int HeadY() const { return headY_; }
  int PosX() const { return posX_; }
  int PosY() const { return posY_; }
  bool Rafraichir = false;

 private:
  void Remove(const std::vector<WindowId>& listed);
  void Add(const std::vector<WindowId>& listed, const TaskScreen& screen);
  void Fill(TaskEntry& entry, WindowId window);
  void Titles(const std::vector<WindowId>& listed);
  void States();

  WindowSystem& system_;
  const TConfigTask& cfg_;
  TaskButtonMaker& maker_;
  const IconAssociations& icons_;
  TaskDock dock_;
  WindowLists lists_;
  std::vector<std::unique_ptr<TaskEntry>> entries_;
  std::unordered_map<WindowId, TaskEntry*> tracked_;
  std::vector<std::string> texts_;  // the enumeration's list, kept between ticks
  std::vector<WindowId> listed_;
  int headY_ = 0;
  int posX_ = 0;
  int posY_ = 0;
};

}  // namespace ql
