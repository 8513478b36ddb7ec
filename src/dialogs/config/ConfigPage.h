// What the pages of the configuration dialog share: the page itself (a borderless child panel of
// the dialog, shown alone), its controls made from a table, and the context the dialog gives it
// (the dock, the working copies, the choosers).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/KovaCheckBox.h"
#include "controls/KovaComboBox.h"
#include "controls/KovaGrpBox.h"
#include "controls/KovaRadioBtn.h"
#include "core/ConfigDraft.h"
#include "dialogs/DockOps.h"
#include "dialogs/Proprietes.h"
#include "win/Window.h"

namespace ql {

// The font chooser's exchange.
struct FontChoice {
  std::string name;
  int size = 8;  // points
  bool bold = false;
  bool italic = false;
  COLORREF colour = 0;
};

// The dialog's choosers and message box; tests replace them.
struct ConfigChoosers {
  FileChooser Open = ChooseFileToOpen;     // sounds and import
  FileChooser OpenBMP = ChooseFileToOpen;  // pictures
  FileChooser Save = ChooseFileToSave;     // export
  std::function<bool(HWND owner, COLORREF& colour)> Colour = ChooseColour;
  std::function<bool(HWND owner, FontChoice& font)> Font = ChooseFontFor;
  std::function<int(HWND owner, std::string_view text, std::string_view caption, UINT type)> Message;

  static bool ChooseColour(HWND owner, COLORREF& colour);
  static bool ChooseFontFor(HWND owner, FontChoice& font);
};

struct ConfigContext {
  DockOps* dock = nullptr;
  ConfigDraft* draft = nullptr;
  ConfigChoosers* choosers = nullptr;
  HWND dialog = nullptr;
  HFONT font = nullptr;
};

// The kinds of control a page table names.
enum class Ctl : std::uint8_t { Group, Check, Radio, Combo, Edit, Button, Label, Link };

struct ControlRow {
  int id;
  Ctl cls;
  const char* caption;
  int x, y, w, h;
};

class ConfigPage : public win::Window {
 public:
  static constexpr int kWidth = 406;
  static constexpr int kHeight = 311;

  ~ConfigPage() override;

  // Makes the hidden panel at (x, y) of the dialog and the page's controls.
  bool Create(ConfigContext& ctx, int x, int y);
  // Fills the controls from the working copies (the dialog's opening).
  virtual void Load(const ConfigDraft& draft) = 0;
  // Puts the controls' states into the working copies (OK).
  virtual void Save(ConfigDraft& draft) const = 0;

  // Each combo box's window text becomes its shown element, so that screen readers and
  // automation tools read the choice as the caption of the control.
  void SyncComboTexts() const;

  void ShowPage(bool show) const { ::ShowWindow(hwnd(), show ? SW_SHOW : SW_HIDE); }
  // Whether the page is the one shown (while the dialog itself may be hidden).
  bool Shown() const { return (::GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }

  TKovaCheckBox& Check(int id) const { return *checks_.at(id); }
  TKovaRadioBtn& Radio(int id) const { return *radios_.at(id); }
  TKovaComboBox& Combo(int id) const { return *combos_.at(id); }
  HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
  std::string Text(int id) const;
  void SetText(int id, std::string_view text) const;
  void Enable(int id, bool enabled) const;
  bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }

  // The handlers the controls raise; public so that tests drive them without the mouse.
  virtual void Clicked(int /*id*/) {}  // a button, check box or radio button
  virtual void Changed(int /*id*/) {}  // a combo box's choice

 protected:
  ConfigPage() = default;
  virtual std::span<const ControlRow> Table() const = 0;
  // After the table's controls: previews and anything else of the page.
  virtual void Build() {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  ConfigContext* ctx_ = nullptr;

 private:
  void Make(const ControlRow& row);

  std::vector<std::unique_ptr<TKovaGrpBox>> groups_;
  std::map<int, std::unique_ptr<TKovaCheckBox>> checks_;
  std::map<int, std::unique_ptr<TKovaRadioBtn>> radios_;
  std::map<int, std::unique_ptr<TKovaComboBox>> combos_;
  win::Font linkFont_;
};

// The folder part of a path: up to and including its last "\" or ":".
std::string FolderOf(std::string_view path);

}  // namespace ql
