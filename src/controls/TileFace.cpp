#include "controls/TileFace.h"

#include <algorithm>

#include "taskbar/Drawing.h"
#include "win/Surface.h"
#include "win/Utf.h"

namespace ql {

void DrawFaceTile(HDC dc, const TileFace& face, int width, int height, const TileLook& look) {
  win::Canvas canvas(dc);
  DrawBackground(canvas, width, height, look.color, look.texture, look.border && face.Framed());
  face.Paint(canvas, width, height);
}

win::Bitmap ComposeFaceTile(const TileFace& face, int width, int height, const TileLook& look) {
  win::Surface surface(width, height);
  if (!surface) return {};
  DrawFaceTile(surface.dc(), face, width, height, look);
  ::GdiFlush();
  return surface.Release();
}

void PaintFaceTile(HDC dc, int x, int y, const TileFace& face, int width, int height, const TileLook& look) {
  win::Surface surface(width, height);
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
