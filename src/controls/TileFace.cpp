#include "controls/TileFace.h"

#include <algorithm>

#include "taskbar/Drawing.h"
#include "win/Utf.h"

namespace ql {

namespace {
// A top-down 32-bit DIB section selected into its own memory DC; the bitmap is put back out of the
// DC before either goes.
class FaceSurface {
 public:
  FaceSurface(int width, int height) {
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(::CreateCompatibleDC(nullptr));
    if (bitmap_ && dc_) old_ = ::SelectObject(dc_.get(), bitmap_.get());
  }
  FaceSurface(const FaceSurface&) = delete;
  FaceSurface& operator=(const FaceSurface&) = delete;
  ~FaceSurface() {
    if (old_ != nullptr) ::SelectObject(dc_.get(), old_);
  }
  explicit operator bool() const { return old_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  win::Bitmap Release() {
    if (old_ != nullptr) ::SelectObject(dc_.get(), old_);
    old_ = nullptr;
    return std::move(bitmap_);
  }

 private:
  win::Bitmap bitmap_;
  win::MemoryDc dc_;
  HGDIOBJ old_ = nullptr;
};
}  // namespace

void DrawFaceTile(HDC dc, const TileFace& face, int width, int height, const TileLook& look) {
  win::Canvas canvas(dc);
  DrawBackground(canvas, width, height, look.color, look.texture, look.border && face.Framed());
  face.Paint(canvas, width, height);
}

win::Bitmap ComposeFaceTile(const TileFace& face, int width, int height, const TileLook& look) {
  FaceSurface surface(width, height);
  if (!surface) return {};
  DrawFaceTile(surface.dc(), face, width, height, look);
  ::GdiFlush();
  return surface.Release();
}

void PaintFaceTile(HDC dc, int x, int y, const TileFace& face, int width, int height, const TileLook& look) {
  FaceSurface surface(width, height);
  if (!surface) return;
  DrawFaceTile(surface.dc(), face, width, height, look);
  ::BitBlt(dc, x, y, width, height, surface.dc(), 0, 0, SRCCOPY);
}

FaceMouse FaceMouseEvent(UINT msg, WPARAM wParam, int x, int y) {
  FaceMouse m;
  MouseEvent& e = m.event;
  e.x = x;
  e.y = y;
  e.shift = (wParam & MK_SHIFT) != 0;
  e.ctrl = (wParam & MK_CONTROL) != 0;
  e.alt = ::GetKeyState(VK_MENU) < 0;
  e.left = (wParam & MK_LBUTTON) != 0;
  e.right = (wParam & MK_RBUTTON) != 0;
  e.middle = (wParam & MK_MBUTTON) != 0;
  switch (msg) {
    case WM_LBUTTONDBLCLK:
      e.doubleClick = true;
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      e.button = MouseButton::Left;
      break;
    case WM_RBUTTONDBLCLK:
      e.doubleClick = true;
      [[fallthrough]];
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      e.button = MouseButton::Right;
      break;
    case WM_MBUTTONDBLCLK:
      e.doubleClick = true;
      [[fallthrough]];
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      e.button = MouseButton::Middle;
      break;
    default:
      break;
  }
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      m.action = MouseAction::Down;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      m.action = MouseAction::Up;
      break;
    default:
      break;
  }
  return m;
}

win::Font CreateFaceFont(std::wstring_view face, int height, bool italic) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  face.copy(lf.lfFaceName, std::min(face.size(), static_cast<std::size_t>(LF_FACESIZE - 1)));
  return win::Font(::CreateFontIndirectW(&lf));
}

int ScreenPoints(int points) {
  static const int dpi = [] {
    win::WindowDc screen(nullptr);
    const int d = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    return d > 0 ? d : 96;
  }();
  return ::MulDiv(points, dpi, 72);
}

std::vector<std::string> DroppedFiles(HDROP drop) {
  std::vector<std::string> names;
  if (drop == nullptr) return names;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT len = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(len + 1, L'\0');
    const UINT got = ::DragQueryFileW(drop, i, name.data(), len + 1);
    name.resize(got);
    names.push_back(win::Narrow(name));
  }
  return names;
}

}  // namespace ql
