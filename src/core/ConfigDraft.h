// The configuration dialog's working copies and what its OK decides, as data: the dialog reads
// its boxes into OkTexts, ApplyOk changes the live settings and says what the window side must do
// (desktop icons, hot key), and the dock decides from the flags how to rebuild the bar and the
// task bar.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Bouton.h"
#include "core/Config.h"

namespace ql {

struct ConfigDraft {
  TConfig cfg;                  // the working settings; cfg.Task the working task settings
  std::string previewTexture;   // the bar texture last chosen, kept while Standard is selected
  std::uint32_t previewColour;  // the bar colour last chosen
};

// Fresh working copies of the live records (the whole records, strings included).
ConfigDraft TakeDraft(const TConfig& live);

// A setting of the bar's look or place differs (texts compared exactly).
bool BarChanged(const TConfig& working, const TConfig& live);
// A setting of the task buttons' look differs; ShowTray takes no part.
bool TaskBarChanged(const TConfigTask& live, const TConfigTask& working);

// The texts of the dialog's boxes that OK reads.
struct OkTexts {
  std::string openWav;   // the Open Group sound box
  std::string closeWav;  // the Close Dock sound box
  std::string hotKey;    // the hot key field as a shortcut text: "Ctrl+" and the key, or empty
  std::string menNorm;
  std::string menSel;
};

struct OkOutcome {
  bool barChanged = false;
  bool taskBarChanged = false;
  std::optional<bool> hideDesktop;  // HideDesktop changed: hide (true) or show the desktop icons
  bool hotKeyChanged = false;       // unregister, then register the new HotKey unless empty
};

// OK's steps on the live settings, in order: the bar flag, the desktop icons, the emptied sounds,
// the working settings replacing the live ones, the task bar flag, the hot key (emptying it
// switches the lock off), the menu bitmaps as typed.
OkOutcome ApplyOk(const ConfigDraft& draft, const OkTexts& texts, TConfig& live);

// What the dock does with its task bar after an accepted configuration, from the TaskBar value
// before the dialog, the one after, and the task bar flag.
enum class TaskBarStep : std::uint8_t {
  Nothing,  // off before and after
  Start,    // switched on: created, filled, shown or hidden by ShowTray
  Stop,     // switched off: removed and hidden
  Rebuild,  // on before and after, its look changed: removed, created, filled, then shown/hidden
  Show,     // on before and after, unchanged: only shown or hidden by ShowTray
};
TaskBarStep TaskBarAfterOk(bool wasOn, bool isOn, bool taskBarChanged);

// The kind names in the order the dialog checks them at opening.
inline constexpr std::string_view kModuleKinds[] = {kModuleVirtualDesk, kModuleSysInfo, kModuleClock,
                                                    kModuleRecycler};

}  // namespace ql
