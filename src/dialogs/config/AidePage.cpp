#include "dialogs/config/AidePage.h"

#include <array>

#include "modules/Sysinfo.h"
#include "taskbar/WinUtil.h"
#include "win/Utf.h"

namespace ql {

namespace {

using P = AidePage;

constexpr std::array kControls{
    ControlRow{0, Ctl::Group, " Info : ", 8, 4, 390, 300},
    ControlRow{P::WinVersionLabel, Ctl::Label, "Windows Version :", 20, 24, 200, 17},
    ControlRow{P::Label6, Ctl::Label, "", 20, 44, 370, 80},
    ControlRow{P::VersionLabel, Ctl::Label, "Version 4.20", 100, 158, 200, 17},
    ControlRow{P::Mail, Ctl::Link, kContactAddress, 20, 226, 370, 17},
    ControlRow{P::Web, Ctl::Link, kWebAddress, 20, 250, 370, 17},
};

}  // namespace

AidePage::AidePage() {
  OpenLink = [](const std::string& target) {
    ::ShellExecuteW(::GetDesktopWindow(), L"open", win::Widen(target).c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
  };
}

AidePage::~AidePage() = default;

std::span<const ControlRow> AidePage::Table() const { return kControls; }

void AidePage::Build() {
  HWND iconCtl = ::CreateWindowExW(
      0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, 20, 134, 64, 64, hwnd(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ProgramIcon)), win::ModuleInstance(), nullptr);
  icon_.reset(
      static_cast<HICON>(::LoadImageW(win::ModuleInstance(), MAKEINTRESOURCEW(1), IMAGE_ICON, 64, 64, 0)));
  if (iconCtl != nullptr && icon_) {
    ::SendMessageW(iconCtl, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
  }
  hints_.Create(hwnd());
  hints_.Set(Item(Mail), "Contact", true);
  hints_.Set(Item(Web), "Web site", true);
}

void AidePage::FillInfo() const {
  SetText(Label6, GetWindowsVersion() + "\r\r" + "Mémoire dispo : " + FreeRamPct() + " %");
}

void AidePage::Clicked(int id) {
  if (id != Mail && id != Web) return;
  if (OpenLink) OpenLink(id == Mail ? std::string("mailto:") + kContactAddress : std::string(kWebAddress));
  // The link turns red until the program ends.
  ::SetWindowLongPtrW(Item(id), GWLP_USERDATA, 1);
  ::InvalidateRect(Item(id), nullptr, TRUE);
}

}  // namespace ql
