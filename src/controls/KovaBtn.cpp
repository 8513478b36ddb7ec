#include "controls/KovaBtn.h"

#include <shellapi.h>

#include <utility>

#include "controls/Hints.h"
#include "taskbar/Drawing.h"
#include "win/Canvas.h"
#include "win/Utf.h"

namespace ql {

namespace {
constexpr std::int32_t kNoIndex = 999;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDisabledText = RGB(128, 128, 128);

win::Icon ShellIcon(const std::wstring& path, std::int32_t size) {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_ICON | (UsesSmallIcon(size) ? SHGFI_SMALLICON : SHGFI_LARGEICON);
  ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, flags);
  return win::Icon(info.hIcon);
}

// Text height of a caption in the default canvas font (the auto size and the dots use it).
int DefaultFontTextHeight(win::Canvas& canvas, const std::string& text) {
  canvas.UseDefaultFont();
  return canvas.TextHeight(text);
}
}  // namespace

win::Icon LoadPathIcon(const std::string& path, std::int32_t index, std::int32_t size) {
  const IconSource source = ClassifyIconPath(path);
  if (source == IconSource::None) return {};
  const std::wstring wide = win::Widen(path);
  if (source == IconSource::IcoFile) {
    return win::Icon(
        static_cast<HICON>(::LoadImageW(nullptr, wide.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
  }
  if (source == IconSource::Extract) {
    // One icon pair; the large one, or the small one up to 16 pixels. The handles count only
    // when the call says it extracted something (Wine leaves junk in them otherwise).
    HICON largeHandle = nullptr;
    HICON smallHandle = nullptr;
    const UINT got = ::ExtractIconExW(wide.c_str(), index, &largeHandle, &smallHandle, 1);
    if (got == 0 || got == UINT_MAX) largeHandle = smallHandle = nullptr;
    win::Icon largeIcon(largeHandle);
    win::Icon smallIcon(smallHandle);
    win::Icon chosen = UsesSmallIcon(size) ? std::move(smallIcon) : std::move(largeIcon);
    if (chosen) return chosen;
  }
  return ShellIcon(wide, size);
}

TKovaBtn::TKovaBtn() {
  win::WindowDc screen(nullptr);
  font_ = win::CreateFontPoints(screen.get(), L"small", 7);
}

TKovaBtn::~TKovaBtn() {
  // Here, not in the base: WM_DESTROY must still reach this class (it removes the hint).
  Destroy();
}

bool TKovaBtn::Create(HWND parent, int x, int y, int width, int height, Hints* hints) {
  if (!RegisterClassOnce(kClassName, CS_DBLCLKS)) return false;
  Destroy();  // a window made before leaves its hint with the hints it was made with
  hints_ = hints;
  left_ = x;
  top_ = y;
  width_ = width;
  height_ = height;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) style |= WS_VISIBLE;
  if (!enabled_) style |= WS_DISABLED;
  const std::wstring title = win::Widen(caption_);
  if (!Window::Create(0, kClassName, title.c_str(), style, x, y, width, height, parent, nullptr))
    return false;
  UpdateHint();
  return true;
}

void TKovaBtn::SetIconPath(std::string path) {
  iconPath_ = std::move(path);
  ReloadIcon();
}

void TKovaBtn::SetIconIndex(std::int32_t index) {
  if (index == iconIndex_) return;
  iconIndex_ = index;
  ReloadIcon();
}

void TKovaBtn::SetIconSource(std::string path, std::int32_t index) {
  iconPath_ = std::move(path);
  iconIndex_ = index;
  ReloadIcon();
}

void TKovaBtn::SetIconSize(std::int32_t size) {
  iconSize_ = size;
  if (autoSize_) {
    int edge = AutoTileSize(size, false, 0);
    if (!caption_.empty()) {
      // Measured in the default canvas font, never in the button's own font.
      win::WindowDc screen(nullptr);
      win::MemoryDc mem(::CreateCompatibleDC(screen.get()));
      win::Canvas canvas(mem.get());
      edge = AutoTileSize(size, true, DefaultFontTextHeight(canvas, caption_));
    }
    SetBounds(left_, top_, edge, edge);
  }
  ReloadIcon();  // the icon chosen depends on the size
}

void TKovaBtn::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  Repaint();
}

void TKovaBtn::SetBorder(bool border) {
  if (border == border_) return;
  border_ = border;
  Repaint();
}

void TKovaBtn::SetShowDots(bool showDots) {
  if (showDots == showDots_) return;
  showDots_ = showDots;
  Repaint();
}

void TKovaBtn::SetGroupe(TGroupeState groupe) {
  if (groupe == groupe_) return;
  groupe_ = groupe;
  Repaint();
}

void TKovaBtn::SetTexture(HBITMAP texture) {
  if (texture != nullptr && texture == texture_.get()) return;
  if (texture == nullptr) {
    texture_.reset();
  } else {
    texture_.reset(static_cast<HBITMAP>(::CopyImage(texture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  Repaint();
}

void TKovaBtn::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  if (hwnd() != nullptr) ::SetWindowTextW(hwnd(), win::Widen(caption_).c_str());
  Repaint();
}

void TKovaBtn::SetHint(std::string hint) {
  hint_ = std::move(hint);
  UpdateHint();
}

void TKovaBtn::SetShowHint(bool showHint) {
  showHint_ = showHint;
  UpdateHint();
}

void TKovaBtn::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (hwnd() != nullptr) ::EnableWindow(hwnd(), enabled ? TRUE : FALSE);
  Repaint();
}

void TKovaBtn::SetVisible(bool visible) {
  visible_ = visible;
  if (hwnd() != nullptr) ::ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}

void TKovaBtn::SetBounds(int x, int y, int width, int height) {
  left_ = x;
  top_ = y;
  width_ = width;
  height_ = height;
  if (hwnd() != nullptr) ::MoveWindow(hwnd(), x, y, width, height, TRUE);
}

void TKovaBtn::SetFont(std::wstring face, int pixelHeight) {
  win::Font font = win::CreateFontPixels(face, pixelHeight);
  if (!font) return;
  font_ = std::move(font);
  Repaint();
}

void TKovaBtn::ReloadIcon() {
  // The button keeps one icon at a time: the one it replaces is destroyed here. With an empty
  // path the icon stays but is not drawn.
  if (!iconPath_.empty()) icon_ = LoadPathIcon(iconPath_, iconIndex_, iconSize_);
  Repaint();
  if (icon_) return;
  // Nothing loaded: fall back to index 999 once (for a program file, the shell's icon of it).
  if (iconIndex_ != kNoIndex) {
    iconIndex_ = kNoIndex;
    ReloadIcon();
  }
}

void TKovaBtn::Repaint() {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void TKovaBtn::UpdateHint() {
  if (hints_ != nullptr && hwnd() != nullptr) hints_->Set(hwnd(), hint_, showHint_);
}

win::Bitmap TKovaBtn::Compose() const {
  const int w = width_;
  const int h = height_;
  if (w <= 0 || h <= 0) return {};
  win::WindowDc screen(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::Bitmap tile(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::MemoryDc mem(::CreateCompatibleDC(screen.get()));
  if (!tile || !mem) return {};
  {
    win::SelectGuard select(mem.get(), tile.get());
    win::Canvas canvas(mem.get());

    DrawBackground(canvas, w, h, color_, texture_.get(), border_);

    if (HasIcon()) {
      const TilePoint at = IconOrigin(w, h, iconSize_);
      ::DrawIconEx(mem.get(), at.x, at.y, icon_.get(), iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
    }

    if (HasGroupDots(groupe_, showDots_)) {
      const GroupDots dots = DotsLayout(groupe_, w, h, DefaultFontTextHeight(canvas, caption_));
      for (int k = 0; k < GroupDots::kCount; ++k) {
        for (int row = 0; row < 2; ++row) {
          for (int dx = 0; dx < GroupDots::kDotWidth; ++dx) {
            canvas.SetPixel(dots.x0 + k * GroupDots::kStep + dx, dots.yd - 1 + row,
                            DotPixelIsWhite(dx, row) ? kWhite : kBlack);
          }
        }
      }
    }

    canvas.SetFont(font_.get());
    canvas.SetTextColor(kWhite);
    const LabelLayout label = CaptionLayout(w, h, canvas.TextWidth(caption_), canvas.TextHeight(caption_));
    if (!caption_.empty()) {
      DrawSunkenBox(canvas, label.stripLeft, label.stripTop, label.stripWidth, label.stripHeight,
                    GetRValue(kLabelColor), GetGValue(kLabelColor), GetBValue(kLabelColor));
    }
    canvas.SetBrushClear();
    if (!enabled_) {
      // Embossed: a white shadow one pixel right and below, the caption in grey over it.
      canvas.TextOut(label.Shadow().x, label.Shadow().y, caption_);
      canvas.SetTextColor(kDisabledText);
    }
    canvas.TextOut(label.Text().x, label.Text().y, caption_);
  }
  ::GdiFlush();
  return tile;
}

void TKovaBtn::PaintTo(HDC dc) const {
  if (!visible_) return;
  win::Bitmap tile = Compose();
  if (!tile) return;
  win::MemoryDc mem(::CreateCompatibleDC(dc));
  if (!mem) return;
  win::SelectGuard select(mem.get(), tile.get());
  ::BitBlt(dc, 0, 0, width_, height_, mem.get(), 0, 0, SRCCOPY);
}

LRESULT TKovaBtn::MouseButtonMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  MouseEvent e;
  e.x = static_cast<short>(LOWORD(lParam));
  e.y = static_cast<short>(HIWORD(lParam));
  e.shift = (wParam & MK_SHIFT) != 0;
  e.ctrl = (wParam & MK_CONTROL) != 0;
  e.alt = ::GetKeyState(VK_MENU) < 0;
  e.left = (wParam & MK_LBUTTON) != 0;
  e.right = (wParam & MK_RBUTTON) != 0;
  e.middle = (wParam & MK_MBUTTON) != 0;

  enum class Kind { Down, Up, Move } kind = Kind::Move;
  switch (msg) {
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      e.doubleClick = true;
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      kind = Kind::Down;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      kind = Kind::Up;
      break;
    default:
      break;
  }
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      e.button = MouseButton::Left;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      e.button = MouseButton::Right;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      e.button = MouseButton::Middle;
      break;
    default:
      break;
  }

  const HWND self = hwnd();
  if (kind == Kind::Down) ::SetCapture(self);
  if (kind == Kind::Up && !e.left && !e.right && !e.middle && ::GetCapture() == self) ::ReleaseCapture();

  // The handler may destroy this button: copy it first and look at `alive` before going on.
  const std::weak_ptr<int> alive = alive_;
  auto handler = kind == Kind::Down ? OnMouseDown : kind == Kind::Up ? OnMouseUp : OnMouseMove;
  if (handler) handler(*this, e);
  if (alive.expired() || hwnd() == nullptr) return 0;

  if (msg == WM_LBUTTONDBLCLK) {
    auto dblClick = OnDblClick;
    if (dblClick) dblClick(*this);
    if (alive.expired() || hwnd() == nullptr) return 0;
  }
  // The default processing of a right button release raises WM_CONTEXTMENU.
  return ::DefWindowProcW(self, msg, wParam, lParam);
}

LRESULT TKovaBtn::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole tile
    case WM_PAINT: {
      win::PaintDc paint(hwnd());
      PaintTo(paint.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return MouseButtonMessage(msg, wParam, lParam);
    case WM_CONTEXTMENU: {
      auto handler = OnContextMenu;
      if (!handler) break;  // the default passes it on to the parent
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (lParam == -1) {  // from the keyboard: the middle of the button
        at = {width_ / 2, height_ / 2};
        ::ClientToScreen(hwnd(), &at);
      }
      handler(*this, at);
      return 0;
    }
    case WM_ENABLE:
      enabled_ = wParam != 0;
      Repaint();
      return 0;
    case WM_SHOWWINDOW:
      if (lParam == 0) visible_ = wParam != 0;
      break;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((pos->flags & SWP_NOMOVE) == 0) {
        left_ = pos->x;
        top_ = pos->y;
      }
      if ((pos->flags & SWP_NOSIZE) == 0) {
        width_ = pos->cx;
        height_ = pos->cy;
        // Dots, strip and caption depend on the size: the whole tile is drawn again.
        Repaint();
      }
      break;
    }
    case WM_DESTROY:
      if (hints_ != nullptr) hints_->Remove(hwnd());
      break;
    default:
      break;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
