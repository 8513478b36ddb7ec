#include "taskbar/KovaTask.h"
#include "win/Win.h"

#include <cstdint>
#include <utility>

#include "controls/Hints.h"
#include "core/Text.h"
#include "taskbar/Drawing.h"
#include "win/Canvas.h"
#include "win/ModalScope.h"
#include "win/Surface.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr wchar_t kClassName[] = L"TKovaTask";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = 0x808080;
constexpr int kLabelMargin = 22;
constexpr int kTileMargin = 2;
constexpr int kDefaultPoints = 8;
constexpr UINT kMaxDroppedName = 255;

HICON IconOf(IconHandle h) {
  return reinterpret_cast<HICON>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h)));
}

int ScreenDpi() {
  win::WindowDc screen(nullptr);
  return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
}

win::Font MakeFont(const std::wstring& face, int points, bool bold, bool italic) {
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(points, ScreenDpi(), 72);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return win::Font(::CreateFontIndirectW(&lf));
}

std::string LowerCase(const std::string& text) {
  std::wstring wide = win::Widen(text);
  if (!wide.empty()) ::CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return win::Narrow(wide);
}

win::Bitmap CopyOf(HBITMAP bitmap) {
  if (bitmap == nullptr) return {};
  return win::Bitmap(static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// Row, first and end column of every run of magenta pixels of a 32-bit top-down image.
std::vector<int> MagentaRuns(HBITMAP image) {
  std::vector<int> runs;
  DIBSECTION dib{};
  if (::GetObjectW(image, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr ||
      dib.dsBm.bmBitsPixel != 32) {
    return runs;
  }
  const int w = dib.dsBm.bmWidth;
  const int h = dib.dsBm.bmHeight < 0 ? -dib.dsBm.bmHeight : dib.dsBm.bmHeight;
  const auto* pixels = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
  const auto magenta = [&](int x, int y) { return (pixels[(y * w) + x] & 0xFFFFFFU) == 0xFF00FFU; };
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {
      if (!magenta(x, y)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < w && magenta(x, y)) ++x;
      runs.insert(runs.end(), {y, start, x});
    }
  }
  return runs;
}

}  // namespace

TKovaTask::TKovaTask(WindowSystem& system) : system_(system) {
  ShowMessage = [this](const std::string& text) {
    win::MessageBoxModal(hwnd(), text, "Quaylite", MB_OK | MB_ICONINFORMATION);
  };
}

TKovaTask::~TKovaTask() {
  if (hints_ != nullptr && hwnd() != nullptr) hints_->Remove(hwnd());
}

bool TKovaTask::Create(HWND parent, int x, int y) {
  if (!RegisterClassOnce(kClassName, CS_DBLCLKS)) return false;
  if (!win::Window::Create(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width_, height_,
                           parent, nullptr)) {
    return false;
  }
  drop_.Accept(hwnd());
  return true;
}

void TKovaTask::Repaint() const {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

namespace {
template <typename T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TKovaTask::SetColorOn(COLORREF c) {
  if (Store(colorOn_, c)) Repaint();
}
void TKovaTask::SetColorOff(COLORREF c) {
  if (Store(colorOff_, c)) Repaint();
}
void TKovaTask::SetTColorOn(COLORREF c) {
  if (Store(tColorOn_, c)) Repaint();
}
void TKovaTask::SetTColorOff(COLORREF c) {
  if (Store(tColorOff_, c)) Repaint();
}
void TKovaTask::SetRColor(COLORREF c) {
  if (Store(rColor_, c)) Repaint();
}
void TKovaTask::SetBorder(bool on) {
  if (Store(border_, on)) Repaint();
}
void TKovaTask::SetShadow(bool on) {
  if (Store(shadow_, on)) Repaint();
}
void TKovaTask::SetRectLbl(bool on) {
  if (Store(rectLbl_, on)) Repaint();
}
void TKovaTask::SetIconOnly(bool on) {
  if (Store(iconOnly_, on)) Repaint();
}
void TKovaTask::SetBigIcon(bool on) {
  if (Store(bigIcon_, on)) Repaint();
}

void TKovaTask::SetTexture(HBITMAP bitmap) {
  if (bitmap != nullptr && bitmap == texture_.get()) return;
  texture_ = CopyOf(bitmap);
  Repaint();
}

void TKovaTask::SetTextSelec(HBITMAP bitmap) {
  if (bitmap != nullptr && bitmap == textSelec_.get()) return;
  textSelec_ = CopyOf(bitmap);
  Repaint();
}

void TKovaTask::SetStyle(TaskStyle style) {
  style_ = style;
  if (style == TaskStyle::sNS) {
    width_ = height_ = bigIcon_ ? 64 : 48;
  } else {
    width_ = 130;
    height_ = 20;
  }
  if (hwnd() != nullptr) ::SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER);
  if (handleFen_ != kNoWindow || !iconPath_.empty()) ChargeIcone();  // the icon's size follows the style
  Repaint();
}

void TKovaTask::SetLabelFont(const std::string& face, int points, bool bold, bool italic) {
  if (face.empty()) {
    labelFont_.reset();  // the canvas's default font
  } else {
    labelFont_ = MakeFont(win::Widen(face), points > 0 ? points : kDefaultPoints, bold, italic);
  }
  Repaint();
}

void TKovaTask::SetState(TaskState state) {
  if (state == state_) return;
  state_ = state;
  iconOnly_ = !system_.IsIconic(handleFen_);
  ChargeIcone();
  Repaint();
}

void TKovaTask::SetHandleFen(WindowId window) {
  SetWindow(window, system_.Title(window), system_.ClassName(window), iconPath_);
}

void TKovaTask::SetWindow(WindowId window, std::string caption, std::string classe, std::string iconPath) {
  handleFen_ = window;
  caption_ = std::move(caption);
  // The button's own window carries the full title, for accessibility tools and window spies.
  if (hwnd() != nullptr) ::SetWindowTextW(hwnd(), win::Widen(caption_).c_str());
  classeFen_ = std::move(classe);
  iconPath_ = std::move(iconPath);
  ChargeIcone();
  Repaint();
}

void TKovaTask::SetIconPath(std::string path) {
  iconPath_ = std::move(path);
  ChargeIcone();
  Repaint();
}

void TKovaTask::ChargeIcone() {
  icone_.reset();
  const int s = style_ == TaskStyle::sQL ? 16 : (bigIcon_ ? 48 : 32);
  if (!iconPath_.empty()) {
    const std::wstring wide = win::Widen(iconPath_);
    if (ToLowerAscii(iconPath_).find(".ico") == std::string::npos) {
      SHFILEINFOW info{};
      const UINT flags = SHGFI_ICON | (s <= 16 ? SHGFI_SMALLICON : 0U);
      if (::SHGetFileInfoW(wide.c_str(), 0, &info, sizeof info, flags) != 0) icone_.reset(info.hIcon);
    } else {
      icone_.reset(
          static_cast<HICON>(::LoadImageW(nullptr, wide.c_str(), IMAGE_ICON, s, s, LR_LOADFROMFILE)));
    }
    return;
  }
  if (handleFen_ == kNoWindow) return;
  const IconHandle icon =
      TaskIcon(system_, handleFen_, style_ == TaskStyle::sQL ? IconSize::Small : IconSize::Large);
  if (icon != 0) icone_.reset(::CopyIcon(IconOf(icon)));
}

win::Bitmap TKovaTask::Compose() {
  win::Surface surface(width_, height_);
  if (!surface) return {};
  const int w = width_;
  const int h = height_;
  const bool down = state_ == TaskState::Down;
  if (style_ == TaskStyle::sQL) iconOnly_ = false;  // the label style always shows the title
  {
    win::Canvas canvas(surface.dc());
    if (HBITMAP picture = down ? textSelec_.get() : texture_.get()) {
      canvas.StretchDraw(0, 0, w, h, picture);
    } else {
      canvas.SetBrushColor(down ? colorOn_ : colorOff_);
      canvas.FillRect(0, 0, w, h);
    }
    if (border_) {
      canvas.SetPenColor(down ? kBlack : kWhite);
      canvas.MoveTo(0, h);
      canvas.LineTo(0, 0);
      canvas.LineTo(w, 0);
      canvas.SetPenColor(down ? kWhite : kBlack);
      canvas.MoveTo(w - 1, 0);
      canvas.LineTo(w - 1, h - 1);
      canvas.LineTo(0, h - 1);
    }
    if (!iconOnly_) {
      canvas.SetBrushClear();
      HFONT font = style_ == TaskStyle::sQL ? labelFont_.get() : smallFont_.get();
      if (style_ == TaskStyle::sNS && font == nullptr) {
        smallFont_ = MakeFont(L"Small", 7, false, false);
        font = smallFont_.get();
      }
      if (font != nullptr) {
        canvas.SetFont(font);
      } else {
        canvas.UseDefaultFont();
      }
      const int limit = w - (style_ == TaskStyle::sQL ? kLabelMargin : kTileMargin);
      const std::string text = TrimTaskLabel(LowerCase(caption_), classeFen_, limit,
                                             [&canvas](std::string_view t) { return canvas.TextWidth(t); });
      const COLORREF color = down ? tColorOn_ : tColorOff_;
      if (style_ == TaskStyle::sQL) {
        const int d = down ? 1 : 0;
        const int top = (h - canvas.TextHeight(text)) / 2;
        if (shadow_) {
          canvas.SetTextColor(kGrey);
          canvas.TextOut(20 + d, top + 1 + d, text);
        }
        canvas.SetTextColor(color);
        canvas.TextOut(19 + d, top + d, text);
      } else {
        if (rectLbl_) {
          DrawSunkenBox(canvas, 1, 2, w - 2, 11, GetRValue(rColor_), GetGValue(rColor_), GetBValue(rColor_));
        }
        const int left = (w - canvas.TextWidth(text)) / 2;
        if (shadow_) {
          canvas.SetTextColor(kGrey);
          canvas.TextOut(left + 1, 2, text);
        }
        canvas.SetTextColor(color);
        canvas.TextOut(left, 1, text);
      }
    }
    if (icone_) {
      if (style_ == TaskStyle::sQL) {
        ::DrawIconEx(canvas.dc(), 2, 2, icone_.get(), 16, 16, 0, nullptr, DI_NORMAL);
      } else {
        const int s = bigIcon_ ? 48 : 32;
        ::DrawIconEx(canvas.dc(), (w - s) / 2, iconOnly_ ? (h - s) / 2 : 14, icone_.get(), s, s, 0, nullptr,
                     DI_NORMAL);
      }
    }
  }
  return surface.Release();
}

void TKovaTask::DecoupeRegion(HBITMAP image) {
  if (handleHost_ == nullptr || image == nullptr) return;
  std::vector<int> runs = MagentaRuns(image);
  if (shaped_ && runs == shape_) return;  // the same shape: a new region would only repaint
  // The button's place in the host, and the host's client origin against its window origin.
  const RECT place = hwnd() != nullptr ? Bounds() : RECT{};
  RECT frame{};
  ::GetWindowRect(handleHost_, &frame);
  POINT client{0, 0};
  ::ClientToScreen(handleHost_, &client);
  const int ox = place.left + (client.x - frame.left);
  const int oy = place.top + (client.y - frame.top);
  win::Region region(::CreateRectRgn(ox, oy, ox + width_, oy + height_));
  if (!region) return;
  for (std::size_t i = 0; i + 2 < runs.size(); i += 3) {
    const int y = runs[i];
    const win::Region hole(::CreateRectRgn(ox + runs[i + 1], oy + y, ox + runs[i + 2], oy + y + 1));
    if (hole) ::CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
  }
  if (::SetWindowRgn(handleHost_, region.get(), TRUE) != 0) {
    region.release();  // the system owns it now
    shape_ = std::move(runs);
    shaped_ = true;
    ++regionsSet_;
  }
}

void TKovaTask::Paint() {
  // The shape first: a new region repaints the host, and this paint then covers all of it.
  win::Bitmap image = Compose();
  if (image) DecoupeRegion(image.get());
  const win::PaintDc paint(hwnd());
  if (!image) return;
  const win::MemoryDc source(::CreateCompatibleDC(paint.get()));
  const win::SelectGuard select(source.get(), image.get());
  ::BitBlt(paint.get(), 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY);
}

void TKovaTask::MouseDown(const TaskShift& shift) {
  if (shift == TaskShift{.left = true}) {
    const bool iconic = system_.IsIconic(handleFen_);
    if (state_ == TaskState::Down && !iconic) {
      system_.Command(handleFen_, WindowCommand::Minimize);
      return;
    }
    if (iconic) system_.Command(handleFen_, WindowCommand::Restore);
    system_.Command(handleFen_, WindowCommand::Activate);
  } else if (shift == TaskShift{.left = true, .ctrl = true}) {
    system_.Command(handleFen_, WindowCommand::Close);  // posted: a "Save?" box must not hold the dock
  } else if (shift == TaskShift{.left = true, .ctrl = true, .alt = true}) {
    if (ShowMessage) ShowMessage("Class=" + classeFen_);
  }
}

void TKovaTask::AssocieIcone(const std::string& path) {
  if (associations_ != nullptr) associations_->AssocieIcone(classeFen_, caption_, path);
  SetIconPath(path);
  if (OnIconAssociated) OnIconAssociated(path);
}

LRESULT TKovaTask::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      TaskShift shift;
      shift.left = (wParam & MK_LBUTTON) != 0;
      shift.right = (wParam & MK_RBUTTON) != 0;
      shift.middle = (wParam & MK_MBUTTON) != 0;
      shift.shift = (wParam & MK_SHIFT) != 0;
      shift.ctrl = (wParam & MK_CONTROL) != 0;
      shift.alt = ::GetKeyState(VK_MENU) < 0;
      shift.doubleClick = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      MouseDown(shift);
      return 0;
    }
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (lParam == -1) {
        at = POINT{width_ / 2, height_ / 2};
        ::ClientToScreen(hwnd(), &at);
      }
      if (OnPopup) OnPopup(*this, at);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (hints_ != nullptr && hintShown_ != caption_) {
        hints_->Set(hwnd(), caption_, true);  // the full title, as the window has it
        hintShown_ = caption_;
      }
      break;
    case WM_DROPFILES: {
      auto* drop = reinterpret_cast<HDROP>(wParam);
      if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) >= 1) {
        const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
        if (length < kMaxDroppedName) {
          std::wstring name(length + 1, L'\0');
          ::DragQueryFileW(drop, 0, name.data(), length + 1);
          name.resize(length);
          AssocieIcone(win::Narrow(name));
        }
      }
      ::DragFinish(drop);
      return 0;
    }
    default:
      break;
  }
  return win::Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
