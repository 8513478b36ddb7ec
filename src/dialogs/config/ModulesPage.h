// The Modules page: Add and Remove of the four modules (acting on the dock at once), the clock's
// AM/PM mode, the recycle bin's confirmation, and the protection: the hot key and the lock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/config/ConfigPage.h"

namespace ql {

class ModulesPage final : public ConfigPage {
 public:
  enum : int {
    MAddClock = 400,
    MRemClock,
    ChkModeClk,
    MAddVDesk,
    MRemVDesk,
    MAddRam,
    MRemRam,
    Label12,
    MAddRecy,
    MRemRecy,
    ChkConfDel,
    Label13,
    HotKeyLabel,
    HotKey1,
    Cle,
    StartLock,
    Label18,
  };

  void Load(const ConfigDraft& draft) override;
  void Save(ConfigDraft& draft) const override;
  void Clicked(int id) override;

  // The hot key field as a shortcut text: "Ctrl+" and the key, or empty for none; nothing for a
  // key that cannot be stored as one character (a function key...), which keeps the setting.
  std::optional<std::string> HotKeyText() const;
  void SetHotKeyText(std::string_view text) const;

  void AddModule(std::string_view kind) const;
  void RemoveModule(std::string_view kind) const;

 protected:
  std::span<const ControlRow> Table() const override;
  void Build() override;

 private:
  void ShowPresence(std::string_view kind, int add, int remove) const;
};

}  // namespace ql
