#include "dialogs/config/ConfigPage.h"

#include <vector>

#include "win/Utf.h"

namespace ql {

namespace {

constexpr wchar_t kPageClass[] = L"QlConfigPage";

}  // namespace

std::string FolderOf(std::string_view path) {
  const std::size_t at = path.find_last_of("\\:");
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

bool ConfigChoosers::ChooseColour(HWND owner, COLORREF& colour) {
  static COLORREF custom[16] = {};  // the chooser's custom colours, kept for the run
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = colour;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (::ChooseColorW(&cc) == FALSE) return false;
  colour = cc.rgbResult;
  return true;
}

bool ConfigChoosers::ChooseFontFor(HWND owner, FontChoice& font) {
  LOGFONTW lf{};
  {
    win::WindowDc screen(nullptr);
    lf.lfHeight = -::MulDiv(font.size, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  }
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  const std::wstring face = win::Widen(font.name);
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.rgbColors = font.colour;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;  // no size limits
  if (::ChooseFontW(&cf) == FALSE) return false;
  font.name = win::Narrow(lf.lfFaceName);
  font.size = cf.iPointSize / 10;
  font.bold = lf.lfWeight >= FW_BOLD;
  font.italic = lf.lfItalic != FALSE;
  font.colour = cf.rgbColors;
  return true;
}

ConfigPage::~ConfigPage() = default;

bool ConfigPage::Create(ConfigContext& ctx, int x, int y) {
  ctx_ = &ctx;
  if (!RegisterClassOnce(kPageClass, 0)) return false;
  // A control parent, so that Tab and the accelerators reach the controls on it.
  if (!win::Window::Create(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, x, y, kWidth,
                           kHeight, ctx.dialog, nullptr)) {
    return false;
  }
  for (const ControlRow& row : Table()) Make(row);
  Build();
  for (const auto& g : groups_) g->SinkToBottom();
  SyncComboTexts();
  return true;
}

void ConfigPage::SyncComboTexts() const {
  for (const auto& [id, combo] : combos_) {
    if (combo->hwnd() != nullptr) ::SetWindowTextW(combo->hwnd(), win::Widen(combo->Text()).c_str());
  }
}

void ConfigPage::Make(const ControlRow& s) {
  HWND page = hwnd();
  const std::string caption = s.caption != nullptr ? s.caption : "";
  HWND made = nullptr;
  switch (s.cls) {
    case Ctl::Group: {
      auto g = std::make_unique<TKovaGrpBox>();
      g->Create(page, s.x, s.y, s.w, s.h, caption);
      g->SetFont(ctx_->font);
      groups_.push_back(std::move(g));
      return;
    }
    case Ctl::Check: {
      auto c = std::make_unique<TKovaCheckBox>();
      c->Create(page, s.id, s.x, s.y, s.w, s.h, caption);
      c->SetFont(ctx_->font);
      c->OnClick = [this, id = s.id](TKovaCheckBox&) { Clicked(id); };
      checks_[s.id] = std::move(c);
      return;
    }
    case Ctl::Radio: {
      auto r = std::make_unique<TKovaRadioBtn>();
      r->Create(page, s.id, s.x, s.y, s.w, s.h, caption);
      r->SetFont(ctx_->font);
      // The handler sees the button checked, as the check boxes' handlers see their new state.
      r->OnClick = [this, id = s.id](TKovaRadioBtn& b) {
        b.SetChecked(true);
        Clicked(id);
      };
      radios_[s.id] = std::move(r);
      return;
    }
    case Ctl::Combo: {
      auto c = std::make_unique<TKovaComboBox>();
      c->Create(page, s.id, s.x, s.y, s.w);
      // The items: the caption's texts separated by "|".
      std::vector<std::string> items;
      std::string_view rest = caption;
      while (!rest.empty()) {
        const std::size_t bar = rest.find('|');
        items.emplace_back(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
      }
      c->SetElements(std::move(items));
      c->OnChange = [this, id = s.id](TKovaComboBox&) {
        SyncComboTexts();
        Changed(id);
      };
      combos_[s.id] = std::move(c);
      return;
    }
    case Ctl::Edit:
      made = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", win::Widen(caption).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | WS_CLIPSIBLINGS, s.x,
                               s.y, s.w, s.h, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                               win::ModuleInstance(), nullptr);
      break;
    case Ctl::Button:
      made = ::CreateWindowExW(0, L"BUTTON", win::Widen(caption).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS, s.x, s.y,
                               s.w, s.h, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                               win::ModuleInstance(), nullptr);
      break;
    case Ctl::Label:
    case Ctl::Link: {
      const DWORD notify = s.cls == Ctl::Link ? static_cast<DWORD>(SS_NOTIFY) : 0U;
      made = ::CreateWindowExW(0, L"STATIC", win::Widen(caption).c_str(),
                               WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS | notify, s.x,
                               s.y, s.w, s.h, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                               win::ModuleInstance(), nullptr);
      if (s.cls == Ctl::Link && made != nullptr) {
        if (!linkFont_) {
          LOGFONTW lf{};
          ::GetObjectW(ctx_->font, sizeof lf, &lf);
          lf.lfUnderline = TRUE;
          linkFont_.reset(::CreateFontIndirectW(&lf));
        }
        ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
        return;
      }
      break;
    }
  }
  if (made != nullptr) ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(ctx_->font), FALSE);
}

std::string ConfigPage::Text(int id) const { return win::WindowText(Item(id)); }

void ConfigPage::SetText(int id, std::string_view text) const {
  if (HWND h = Item(id); h != nullptr) ::SetWindowTextW(h, win::Widen(text).c_str());
}

void ConfigPage::Enable(int id, bool enabled) const {
  if (HWND h = Item(id); h != nullptr) ::EnableWindow(h, enabled ? TRUE : FALSE);
}

LRESULT ConfigPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == STN_CLICKED) Clicked(LOWORD(wParam));
      return 0;
    case WM_ERASEBKGND: {
      RECT r{};
      ::GetClientRect(hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      const bool link = ::GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWL_STYLE) & SS_NOTIFY;
      if (link) {
        // Blue, red once clicked (the control's user data marks it).
        const bool visited = ::GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_USERDATA) != 0;
        ::SetTextColor(dc, visited ? RGB(255, 0, 0) : RGB(0, 0, 255));
      }
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (::GetWindowLongPtrW(reinterpret_cast<HWND>(wParam), GWL_STYLE) & SS_NOTIFY) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return win::Window::HandleMessage(msg, wParam, lParam);
    default:
      return win::Window::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace ql
