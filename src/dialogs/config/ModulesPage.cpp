#include "dialogs/config/ModulesPage.h"

#include <array>

#include "controls/KovaBtn.h"
#include "modules/KovaClock.h"
#include "modules/KovaRecycler.h"
#include "modules/ModuleFaces.h"

namespace ql {

namespace {

using P = ModulesPage;

constexpr std::array kControls{
    ControlRow{0, Ctl::Group, " Date and Time ", 8, 4, 190, 74},
    ControlRow{P::MAddClock, Ctl::Button, "Add", 16, 24, 80, 23},
    ControlRow{P::MRemClock, Ctl::Button, "Remove", 104, 24, 80, 23},
    ControlRow{P::ChkModeClk, Ctl::Check, "Mode AM/PM", 16, 54, 170, 17},
    ControlRow{0, Ctl::Group, " Virtual Screens ", 206, 4, 192, 74},
    ControlRow{P::MAddVDesk, Ctl::Button, "Add", 214, 24, 80, 23},
    ControlRow{P::MRemVDesk, Ctl::Button, "Remove", 302, 24, 80, 23},
    ControlRow{0, Ctl::Group, " RAM/CPU ", 8, 82, 190, 74},
    ControlRow{P::MAddRam, Ctl::Button, "Add", 16, 102, 80, 23},
    ControlRow{P::MRemRam, Ctl::Button, "Remove", 104, 102, 80, 23},
    ControlRow{P::Label12, Ctl::Label, "Works only for Win95/98", 16, 132, 170, 17},
    ControlRow{0, Ctl::Group, " Recycle Bin ", 206, 82, 192, 110},
    ControlRow{P::MAddRecy, Ctl::Button, "Add", 214, 102, 80, 23},
    ControlRow{P::MRemRecy, Ctl::Button, "Remove", 302, 102, 80, 23},
    ControlRow{P::ChkConfDel, Ctl::Check, "&Confirm delete", 214, 132, 170, 17},
    ControlRow{P::Label13, Ctl::Label, "To change the recycle bin icon, double-right click on it.", 214, 152,
               176, 34},
    ControlRow{0, Ctl::Group, " Protection ", 8, 196, 390, 110},
    ControlRow{P::HotKeyLabel, Ctl::Label, "Hotkey :", 16, 219, 56, 17},
    ControlRow{P::Cle, Ctl::Check, "&Lock Windows", 216, 216, 170, 17},
    ControlRow{P::StartLock, Ctl::Check, "Lock on &startup", 216, 238, 170, 17},
    ControlRow{P::Label18, Ctl::Label,
               "If you lock Windows, a password is  asked to unlock it (empty by default)", 16, 266, 374, 32},
};

struct ModuleButtons {
  std::string_view kind;
  int add;
  int remove;
};
// In the order the opening looks them up.
constexpr std::array<ModuleButtons, 4> kModules{{
    {kModuleVirtualDesk, P::MAddVDesk, P::MRemVDesk},
    {kModuleSysInfo, P::MAddRam, P::MRemRam},
    {kModuleClock, P::MAddClock, P::MRemClock},
    {kModuleRecycler, P::MAddRecy, P::MRemRecy},
}};

TBouton* Find(DockOps& dock, std::string_view kind) {
  TBouton* found = nullptr;
  return dock.Boutons().FindPtrText(kind, found) ? found : nullptr;
}

TileFace* FaceOf(DockOps& dock, std::string_view kind) {
  const TBouton* rec = Find(dock, kind);
  if (rec == nullptr) return nullptr;
  TKovaBtn* tile = dock.GetBtn(rec->Numero);
  return tile != nullptr ? tile->Face() : nullptr;
}

}  // namespace

std::span<const ControlRow> ModulesPage::Table() const { return kControls; }

void ModulesPage::Build() {
  // Only Control combinations: every other set of modifiers is invalid and becomes Control.
  HWND hot = ::CreateWindowExW(WS_EX_CLIENTEDGE, HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 76,
                               215, 124, 21, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(HotKey1)),
                               win::ModuleInstance(), nullptr);
  if (hot == nullptr) return;
  ::SendMessageW(hot, WM_SETFONT, reinterpret_cast<WPARAM>(ctx_->font), FALSE);
  constexpr WPARAM kInvalid =
      HKCOMB_NONE | HKCOMB_S | HKCOMB_A | HKCOMB_SA | HKCOMB_SC | HKCOMB_CA | HKCOMB_SCA;
  ::SendMessageW(hot, HKM_SETRULES, kInvalid, MAKELPARAM(HOTKEYF_CONTROL, 0));
  ::SendMessageW(hot, HKM_SETHOTKEY, MAKEWORD('A', HOTKEYF_CONTROL), 0);
}

std::optional<std::string> ModulesPage::HotKeyText() const {
  const auto value = static_cast<WORD>(::SendMessageW(Item(HotKey1), HKM_GETHOTKEY, 0, 0));
  if (LOBYTE(value) == 0) return std::string();
  const auto vk = static_cast<char>(LOBYTE(value));
  // The key is registered by its character: letters and digits.
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string("Ctrl+") + vk;
  return std::nullopt;
}

void ModulesPage::SetHotKeyText(std::string_view text) const {
  WORD value = 0;
  if (text.size() == 6 && text.substr(0, 5) == "Ctrl+") {
    char c = text[5];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    value = MAKEWORD(static_cast<BYTE>(c), HOTKEYF_CONTROL);
  }
  ::SendMessageW(Item(HotKey1), HKM_SETHOTKEY, value, 0);
}

void ModulesPage::ShowPresence(std::string_view kind, int add, int remove) const {
  const bool present = Find(*ctx_->dock, kind) != nullptr;
  Enable(add, !present);
  Enable(remove, present);
}

void ModulesPage::Load(const ConfigDraft& d) {
  for (const ModuleButtons& m : kModules) ShowPresence(m.kind, m.add, m.remove);
  Check(ChkModeClk).SetChecked(d.cfg.ModeClock);
  Check(ChkConfDel).SetChecked(d.cfg.cfdel);
  Check(Cle).SetChecked(d.cfg.Provider);
  Check(StartLock).SetChecked(d.cfg.StartLock);
  SetHotKeyText(d.cfg.HotKey);
}

void ModulesPage::Save(ConfigDraft& d) const {
  d.cfg.ModeClock = Check(ChkModeClk).Checked();
  d.cfg.cfdel = Check(ChkConfDel).Checked();
  d.cfg.Provider = Check(Cle).Checked();
  d.cfg.StartLock = Check(StartLock).Checked();
}

void ModulesPage::AddModule(std::string_view kind) const {
  DockOps& dock = *ctx_->dock;
  if (dock.Closed()) return;
  dock.Boutons().Append(ButtonData{"", std::string(kind), "", "", 0});
  dock.EffaceBarreBoutons();
  dock.DessineBarre();  // renumbers, and makes the module's tile
  dock.EcritBaseRegistre();
}

void ModulesPage::RemoveModule(std::string_view kind) const {
  DockOps& dock = *ctx_->dock;
  if (dock.Closed()) return;
  TBouton* rec = Find(dock, kind);
  if (rec == nullptr) return;
  dock.EffaceBarreBoutons();
  dock.Boutons().DisposeBouton(rec, true);
  dock.DessineBarre();
  dock.EcritBaseRegistre();
}

void ModulesPage::Clicked(int id) {
  ConfigDraft& d = *ctx_->draft;
  for (const ModuleButtons& m : kModules) {
    if (id == m.add) {
      if (m.kind == kModuleClock) {
        // The new clock is drawn in the box's mode, and OK keeps that mode.
        ctx_->dock->Config().ModeClock = Check(ChkModeClk).Checked();
        d.cfg.ModeClock = Check(ChkModeClk).Checked();
      }
      AddModule(m.kind);
      ShowPresence(m.kind, m.add, m.remove);
      return;
    }
    if (id == m.remove) {
      RemoveModule(m.kind);
      ShowPresence(m.kind, m.add, m.remove);
      return;
    }
  }
  switch (id) {
    case ChkModeClk: {
      // The working mode follows the box even without a clock, so that a clock added later and
      // the stored setting agree.
      const bool mode = Check(ChkModeClk).Checked();
      d.cfg.ModeClock = mode;
      if (TKovaClock* clock = AsClock(FaceOf(*ctx_->dock, kModuleClock))) clock->SetMode(mode);
      break;
    }
    case ChkConfDel: {
      const bool confirm = Check(ChkConfDel).Checked();
      d.cfg.cfdel = confirm;
      if (TKovaRecycler* bin = AsRecycler(FaceOf(*ctx_->dock, kModuleRecycler))) bin->SetConfirm(confirm);
      break;
    }
    case Cle:
    case StartLock:
      Save(d);
      break;
    default:
      break;
  }
}

}  // namespace ql
