#include "dialogs/config/Configuration.h"

#include <fstream>
#include <iterator>

#include "win/ModalScope.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr wchar_t kClassName[] = L"TConfiguration";
constexpr int kStripWidth = 12;
constexpr int kPageLeft = 18;
constexpr int kPageTop = 46;
constexpr int kBottomTop = 372;

struct PageButton {
  int id;
  const wchar_t* caption;
};
constexpr std::array<PageButton, 5> kPageButtons{{{TConfiguration::SBConf, L"Config"},
                                                  {TConfiguration::SpeedButton2, L"Buttons"},
                                                  {TConfiguration::SpeedButton3, L"Modules"},
                                                  {TConfiguration::SpeedButton4, L"Taskbar"},
                                                  {TConfiguration::SpeedButton1, L"Info"}}};

// The whole file, or nothing when it cannot be read (or is larger than any .qlx may be).
std::optional<std::string> ReadWholeFile(const std::string& file, bool& tooLarge) {
  tooLarge = false;
  win::KernelHandle h(::CreateFileW(win::Widen(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (h.get() == INVALID_HANDLE_VALUE) {
    h.release();
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(h.get(), &size) == FALSE) return std::nullopt;
  if (size.QuadPart > static_cast<LONGLONG>(kQlxMaxBytes)) {
    tooLarge = true;
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() &&
      (::ReadFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) == FALSE ||
       got != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

TConfiguration::TConfiguration() {
  choosers_.Message = [](HWND owner, std::string_view text, std::string_view caption, UINT type) {
    return win::MessageBoxModal(owner, text, caption, type);
  };
}

TConfiguration::~TConfiguration() = default;

std::array<ConfigPage*, 5> TConfiguration::Pages() {
  return {&configMain_, &view_, &modules_, &shell_, &aide_};
}

bool TConfiguration::Create(HWND owner, DockOps& dock) {
  dock_ = &dock;
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_HOTKEY_CLASS};
  ::InitCommonControlsEx(&icc);
  if (!CreateModal(owner, kClassName, L"Quaylite Configuration", kClientWidth, kClientHeight)) return false;
  ctx_ = ConfigContext{dock_, &draft_, &choosers_, hwnd(), DialogFont()};
  draft_ = TakeDraft(dock.Config());

  // The page buttons: one group of push-like radio buttons, each reached by Tab and the arrows.
  for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
    const DWORD style = WS_TABSTOP | BS_AUTORADIOBUTTON | BS_PUSHLIKE | (i == 0 ? WS_GROUP : 0);
    AddControl(L"BUTTON", kPageButtons[i].caption, style, kPageLeft + static_cast<int>(i) * 81, 6, 79, 34,
               kPageButtons[i].id);
  }
  bool ok = true;
  for (ConfigPage* page : Pages()) ok = page->Create(ctx_, kPageLeft, kPageTop) && ok;
  AddControl(L"STATIC", L"", SS_ETCHEDHORZ, kPageLeft, kBottomTop - 8, ConfigPage::kWidth, 2, -1);
  AddControl(L"BUTTON", L"&Import config.", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, kPageLeft, kBottomTop, 95,
             25, Importer);
  AddControl(L"BUTTON", L"&Export config.", WS_TABSTOP | BS_PUSHBUTTON, kPageLeft + 99, kBottomTop, 95, 25,
             Exporter);
  AddControl(L"BUTTON", L"&Cancel", WS_TABSTOP | BS_PUSHBUTTON, 268, kBottomTop, 75, 25, IDCANCEL);
  AddControl(L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 349, kBottomTop, 75, 25, IDOK);
  ShowPage(Page::Config);
  return ok;
}

void TConfiguration::ShowPage(Page page) {
  const auto index = static_cast<std::size_t>(page);
  if (page == Page::Info) aide_.FillInfo();  // on every visit
  const std::array<ConfigPage*, 5> pages = Pages();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    ::SendMessageW(Control(kPageButtons[i].id), BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  pages[index]->ShowPage(true);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i != index) pages[i]->ShowPage(false);
  }
}

void TConfiguration::FormShow() {
  ShowPage(Page::Config);
  Init();
}

void TConfiguration::Init() {
  draft_ = TakeDraft(dock_->Config());
  barChanged_ = taskBarChanged_ = false;
  ::SetWindowTextW(Control(IDOK), L"&OK");
  ::EnableWindow(Control(IDOK), TRUE);
  ::SetWindowTextW(Control(IDCANCEL), L"&Cancel");
  for (ConfigPage* page : Pages()) {
    page->Load(draft_);
    page->SyncComboTexts();
  }
}

void TConfiguration::OKClick() {
  for (ConfigPage* page : Pages()) page->Save(draft_);
  const OkTexts texts{view_.Text(ViewPage::OpenWav), view_.Text(ViewPage::CloseWav),
                      modules_.HotKeyText().value_or(draft_.cfg.HotKey),
                      configMain_.Text(ConfigMainPage::MenNorm), configMain_.Text(ConfigMainPage::MenSel)};
  const OkOutcome out = ApplyOk(draft_, texts, dock_->Config());
  barChanged_ = out.barChanged;
  taskBarChanged_ = out.taskBarChanged;
  if (out.hideDesktop) dock_->SetDesktopIconsHidden(*out.hideDesktop);
  if (out.hotKeyChanged) dock_->ResetHotKey();
}

bool TConfiguration::OnOk() {
  if (dock_ == nullptr || dock_->Closed()) return true;
  OKClick();
  return true;
}

bool TConfiguration::SauveConfig(const std::string& file) const {
  const std::string text = WriteQlx(dock_->Config(), dock_->Boutons());
  // A scratch file beside the target, which then replaces it in one step: a failed export
  // leaves an earlier file whole.
  const std::wstring target = win::Widen(file);
  const std::wstring scratch = target + L".tmp";
  {
    win::KernelHandle h(::CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h.get() == INVALID_HANDLE_VALUE) {
      h.release();
      return false;
    }
    DWORD written = 0;
    const bool done =
        ::WriteFile(h.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE &&
        written == text.size() && ::FlushFileBuffers(h.get()) != FALSE;
    if (!done) {
      h.reset();
      ::DeleteFileW(scratch.c_str());
      return false;
    }
  }
  if (::MoveFileExW(scratch.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ==
      FALSE) {
    ::DeleteFileW(scratch.c_str());
    return false;
  }
  return true;
}

bool TConfiguration::OuvreConfig(const std::string& file) {
  if (dock_->Closed()) return false;
  bool tooLarge = false;
  const std::optional<std::string> bytes = ReadWholeFile(file, tooLarge);
  QlxRead read;
  if (!bytes) {
    read.error = tooLarge ? QlxError::TooLarge : QlxError::Missing;
  } else {
    read = ReadQlx(*bytes, dock_->Config());
  }
  if (read.error != QlxError::None) {
    if (choosers_.Message) {
      const std::string text =
          "The configuration was not imported: " + std::string(QlxErrorText(read.error)) +
          ". Nothing was changed.";
      choosers_.Message(hwnd(), text, "Quaylite", MB_ICONERROR | MB_OK);
    }
    return false;
  }
  // A good file goes into the live records at once: the bar, the menu, the store, the task bar.
  TConfig& live = dock_->Config();
  const TConfig before = live;
  dock_->EffaceBarreBoutons();
  ApplyQlx(read.import, live, dock_->Boutons());
  if (live.HideDesktop != before.HideDesktop) dock_->SetDesktopIconsHidden(live.HideDesktop);
  if (live.HotKey != before.HotKey) dock_->ResetHotKey();
  dock_->DessineBarre();
  dock_->RebuildMainMenu();
  dock_->EcritBaseRegistre();
  dock_->UpdateTaskBar(before.TaskBar, ql::TaskBarChanged(before.Task, live.Task));
  return true;
}

void TConfiguration::ExporterClick() {
  FileChoice choice{std::string(kQlxFilter), 1, {}, {}};
  if (!choosers_.Save || !choosers_.Save(hwnd(), choice)) return;
  if (!choosers_.Message) return;
  if (SauveConfig(WithQlxExtension(choice.fileName))) {
    choosers_.Message(hwnd(), "Configuration saved !", "Quaylite", MB_ICONINFORMATION | MB_OK);
  } else {
    choosers_.Message(hwnd(), "The configuration could not be saved.", "Quaylite", MB_ICONERROR | MB_OK);
  }
}

void TConfiguration::ImporterClick() {
  FileChoice choice{std::string(kQlxFilter), 1, {}, {}};
  if (!choosers_.Open || !choosers_.Open(hwnd(), choice)) return;
  if (!OuvreConfig(choice.fileName)) return;  // nothing changed: the dialog stays as it was
  ::EnableWindow(Control(IDOK), FALSE);
  ::SetWindowTextW(Control(IDCANCEL), L"&Close");
}

void TConfiguration::OnCommand(int id, int code, HWND /*control*/) {
  if (code != BN_CLICKED) return;
  for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
    if (kPageButtons[i].id == id) {
      ShowPage(static_cast<Page>(i));
      return;
    }
  }
  if (id == Importer) ImporterClick();
  if (id == Exporter) ExporterClick();
}

void TConfiguration::PaintStrip(HDC dc) const {
  // The decorative strip at the left edge: the program's label colour fading to the face.
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const int h = client.bottom;
  for (int y = 0; y < h; y += 2) {
    const int k = h > 0 ? y * 255 / h : 0;
    auto mix = [k](int a, int b) { return static_cast<BYTE>(a + (b - a) * k / 255); };
    const COLORREF c = RGB(mix(34, GetRValue(face)), mix(36, GetGValue(face)), mix(75, GetBValue(face)));
    win::Brush brush(::CreateSolidBrush(c));
    const RECT band{0, y, kStripWidth, y + 2};
    ::FillRect(dc, &band, brush.get());
  }
}

LRESULT TConfiguration::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ERASEBKGND) {
    const LRESULT r = ModalForm::HandleMessage(msg, wParam, lParam);
    PaintStrip(reinterpret_cast<HDC>(wParam));
    return r;
  }
  return ModalForm::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
