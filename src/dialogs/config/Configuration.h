// TConfiguration, "Quaylite Configuration": the modal options dialog of the dock. Five pages
// (Config, Buttons, Modules, Taskbar, Info) chosen by a row of page buttons; the working copies of
// the settings; OK, Cancel, and the export and import of .qlx files.
//
// The opener (the main menu's "Quaylite Configuration") saves the bar's position and remembers
// TaskBar, shows the dialog, and after OK rebuilds the menu, redraws the bar when BarChanged(),
// writes the store and brings the task bar in line (DockOps::UpdateTaskBar). Cancel, Escape and
// the close box apply nothing of the working copies; what the Modules page and "Reset Textures"
// did to the dock stays. After an import the dialog can only be closed: the file is applied to the
// dock at once.
#pragma once

#include <array>
#include <string>

#include "core/ConfigDraft.h"
#include "core/Qlx.h"
#include "dialogs/DockOps.h"
#include "dialogs/config/AidePage.h"
#include "dialogs/config/ConfigMainPage.h"
#include "dialogs/config/ConfigPage.h"
#include "dialogs/config/ModulesPage.h"
#include "dialogs/config/ShellPage.h"
#include "dialogs/config/ViewPage.h"
#include "win/ModalForm.h"

namespace ql {

inline constexpr std::string_view kQlxFilter = "Quaylite conf ( *.qlx )|*.qlx";

class TConfiguration final : public win::ModalForm {
 public:
  static constexpr int kClientWidth = 428;
  static constexpr int kClientHeight = 418;
  enum : int {
    SBConf = 100,
    SpeedButton2,
    SpeedButton3,
    SpeedButton4,
    SpeedButton1,
    Importer,
    Exporter,
    Strip
  };
  enum class Page : std::uint8_t { Config, Buttons, Modules, Taskbar, Info };

  TConfiguration();
  ~TConfiguration() override;

  // Creates the hidden dialog and every page, once for the whole run.
  bool Create(HWND owner, DockOps& dock);

  // The opening: the Config page, fresh working copies, every control loaded.
  void FormShow();
  void Init();
  // Applies the working copies to the dock's settings (OK's steps).
  void OKClick();
  void ExporterClick();
  void ImporterClick();
  // Writes the dock's configuration to `file` through a scratch file; false when it failed.
  bool SauveConfig(const std::string& file) const;
  // Reads `file`, and applies it to the dock when it is a good one; false (with a message) when
  // nothing changed.
  bool OuvreConfig(const std::string& file);
  void ShowPage(Page page);

  // Set by OK.
  bool BarChanged() const { return barChanged_; }
  bool TaskBarChanged() const { return taskBarChanged_; }

  ConfigDraft& Draft() { return draft_; }
  ConfigChoosers& Choosers() { return choosers_; }
  ConfigMainPage& ConfigMain() { return configMain_; }
  ViewPage& View() { return view_; }
  ModulesPage& Modules() { return modules_; }
  ShellPage& Shell() { return shell_; }
  AidePage& Aide() { return aide_; }
  HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }

 protected:
  void OnShowModal() override { FormShow(); }
  bool OnOk() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::array<ConfigPage*, 5> Pages();
  void PaintStrip(HDC dc) const;

  DockOps* dock_ = nullptr;
  ConfigDraft draft_{};
  ConfigChoosers choosers_;
  ConfigContext ctx_;
  ConfigMainPage configMain_;
  ViewPage view_;
  ModulesPage modules_;
  ShellPage shell_;
  AidePage aide_;
  bool barChanged_ = false;
  bool taskBarChanged_ = false;
};

}  // namespace ql
