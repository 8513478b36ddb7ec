#include "controls/TileHost.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "controls/Hints.h"
#include "controls/KovaBtn.h"

namespace ql {

namespace {
constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

// 0 for the left button, 1 for the right one, 2 for the middle one; -1 for a move.
int ButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return 1;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return 2;
    default:
      return -1;
  }
}

bool IsDoubleClick(UINT msg) {
  return msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}
bool IsPress(UINT msg) {
  return IsDoubleClick(msg) || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}
bool IsRelease(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP; }

// The bytes of a DIB section's pixels, or an empty view for any other picture.
struct PixelBytes {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};
PixelBytes BitsOf(const DIBSECTION& ds) {
  if (ds.dsBm.bmBits == nullptr) return {};
  const int rows = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
  return {static_cast<const std::uint8_t*>(ds.dsBm.bmBits),
          static_cast<std::size_t>(ds.dsBm.bmWidthBytes) * static_cast<std::size_t>(rows)};
}

bool SameHeader(const DIBSECTION& a, const DIBSECTION& b) {
  return a.dsBm.bmType == b.dsBm.bmType && a.dsBm.bmWidth == b.dsBm.bmWidth &&
         a.dsBm.bmHeight == b.dsBm.bmHeight && a.dsBm.bmWidthBytes == b.dsBm.bmWidthBytes &&
         a.dsBm.bmPlanes == b.dsBm.bmPlanes && a.dsBm.bmBitsPixel == b.dsBm.bmBitsPixel &&
         a.dsBm.bmBits == b.dsBm.bmBits && std::memcmp(&a.dsBmih, &b.dsBmih, sizeof a.dsBmih) == 0 &&
         std::memcmp(a.dsBitfields, b.dsBitfields, sizeof a.dsBitfields) == 0;
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
}  // namespace

TileHost::~TileHost() {
  if (captured_ != nullptr) {
    captured_ = nullptr;
    if (window_ != nullptr && ::GetCapture() == window_) ::ReleaseCapture();
  }
  for (TKovaBtn* tile : tiles_) {
    tile->RemoveHint();
    tile->host_ = nullptr;
    tile->id_ = 0;
    tile->faceTimer_ = 0;  // the host's timers go with it
  }
}

void TileHost::Attach(HWND window, Hints* hints, IconCache* icons) {
  for (TKovaBtn* tile : tiles_) tile->RemoveHint();
  Forget(captured_);
  window_ = window;
  hints_ = hints;
  icons_ = icons;
  invalid_.clear();
  timers_.Attach(window);  // the faces' timers of the old window are killed: started again below
  for (TKovaBtn* tile : tiles_) {
    tile->faceTimer_ = 0;
    tile->FaceStartedChanged();
    tile->UpdateHint();
    tile->Repaint();
  }
}

UINT_PTR TileHost::Add(TKovaBtn* tile) {
  tiles_.push_back(tile);
  return nextId_++;
}

void TileHost::Remove(TKovaBtn* tile) {
  Forget(tile);
  for (UINT_PTR& id : lastPress_) {
    if (id == tile->id_) id = 0;
  }
  if (menuTile_ == tile->id_) menuTile_ = 0;
  const auto it = std::find(tiles_.begin(), tiles_.end(), tile);
  if (it != tiles_.end()) tiles_.erase(it);
}

void TileHost::Forget(const TKovaBtn* tile) {
  if (tile == nullptr || captured_ != tile) return;
  captured_ = nullptr;
  if (window_ != nullptr && ::GetCapture() == window_) ::ReleaseCapture();
}

std::shared_ptr<const win::Bitmap> TileHost::ShareTexture(HBITMAP picture) {
  std::erase_if(textures_, [](const SharedTexture& t) { return t.copy.expired(); });
  DIBSECTION ds{};
  const bool dib = ::GetObjectW(picture, sizeof ds, &ds) == static_cast<int>(sizeof ds);
  const PixelBytes bits = dib ? BitsOf(ds) : PixelBytes{};
  if (bits.data != nullptr) ::GdiFlush();  // drawing on the picture may still be queued
  for (const SharedTexture& t : textures_) {
    auto copy = t.copy.lock();
    if (!copy) continue;
    if (copy->get() == picture) return copy;  // a tile's own copy, passed on to another
    // The palette of a DIB section of 8 bits or less is not compared: it is changed in place by
    // hardly anyone, and reading it needs a DC, which costs as much as the copy.
    if (bits.data != nullptr && t.picture == picture && SameHeader(t.header, ds) &&
        t.bits.size() == bits.size && std::memcmp(t.bits.data(), bits.data, bits.size) == 0) {
      return copy;
    }
  }
  auto copy = std::make_shared<const win::Bitmap>(CopyPicture(picture));
  if (bits.data != nullptr && *copy) {
    textures_.push_back({picture, ds, std::vector<std::uint8_t>(bits.data, bits.data + bits.size), copy});
  }
  return copy;
}

bool TileHost::Holds(const TKovaBtn* tile) const { return tile != nullptr && tile->host_ == this; }

TKovaBtn* TileHost::TileAt(POINT client) const {
  for (auto it = tiles_.rbegin(); it != tiles_.rend(); ++it) {
    TKovaBtn* tile = *it;
    if (!tile->visible_ || !tile->enabled_) continue;
    const RECT r = tile->BoundsRect();
    if (::PtInRect(&r, client) != FALSE) return tile;
  }
  return nullptr;
}

void TileHost::Invalidate(const RECT& rect) {
  if (window_ == nullptr || ::IsRectEmpty(&rect) != FALSE) return;
  for (const RECT& r : invalid_) {
    if (r.left <= rect.left && r.top <= rect.top && r.right >= rect.right && r.bottom >= rect.bottom) return;
  }
  ::InvalidateRect(window_, &rect, FALSE);
  if (invalid_.size() >= kInvalidKept) invalid_.clear();  // forgetting one only costs a second call
  invalid_.push_back(rect);
}

void TileHost::Paint(HDC dc, const RECT& update) const {
  // The update region is validated whole when the window paints: what was invalidated before is
  // being painted now.
  invalid_.clear();
  TKovaBtn::PaintTiles(tiles_.data(), tiles_.size(), dc, update);
}

bool TileHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
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
      return MouseMessage(msg, wParam, lParam, result);
    case WM_CONTEXTMENU:
      return ContextMenu(wParam, lParam, result);
    case WM_TIMER:
      // A face's tick (it may destroy the tile, or the host: nothing of them is touched after).
      if (!timers_.HandleMessage(msg, wParam, lParam)) return false;
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the tile that held it gets no release. A capture let go
      // with no taker (a hint that shows under the held press does that under Wine) leaves the
      // press held: the window takes the capture back at the next move.
      if (lParam != 0 && reinterpret_cast<HWND>(lParam) != window_) captured_ = nullptr;
      return false;
    case WM_WINDOWPOSCHANGED:
      // A hidden window never keeps the mouse: the press it held ends here, and the next click,
      // wherever it is, goes where the pointer is.
      if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) != 0) Forget(captured_);
      return false;
    default:
      return false;
  }
}

bool TileHost::MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  menuTile_ = 0;
  if (captured_ != nullptr && ::GetCapture() != window_) {
    // The capture was let go under the held press. A move with a button still down takes it back;
    // a move with no button down, or a new press, means the press ended out of this window's sight.
    if ((wParam & kAnyButton) != 0 && !IsPress(msg)) {
      ::SetCapture(window_);
    } else {
      captured_ = nullptr;
    }
  }
  // The hints see the mouse only while no press is held: a held press is no hover.
  if (hints_ != nullptr && captured_ == nullptr) hints_->Relay(window_, msg, wParam, lParam);
  const POINT at = PointOf(lParam);
  const int button = ButtonOf(msg);
  TKovaBtn* tile = captured_ != nullptr ? captured_ : TileAt(at);
  if (tile == nullptr) {
    if (IsPress(msg)) lastPress_[button] = 0;
    return false;
  }
  if (IsPress(msg)) {
    // Two presses on different tiles are two single presses, as they were on two windows.
    if (IsDoubleClick(msg) && lastPress_[button] != tile->id_) {
      msg = button == 0 ? WM_LBUTTONDOWN : button == 1 ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
    }
    lastPress_[button] = tile->id_;
    if (captured_ == nullptr) {
      ::SetCapture(window_);
      captured_ = tile;
    }
  } else if (IsRelease(msg) && (wParam & kAnyButton) == 0) {
    Forget(tile);
  }

  // The handler may destroy the tile, every tile or the host: look before touching them again.
  const std::weak_ptr<int> hostAlive = alive_;
  const std::weak_ptr<int> tileAlive = tile->alive_;
  const UINT_PTR id = tile->id_;
  const bool taken = tile->MouseMessage(msg, wParam, at.x - tile->left_, at.y - tile->top_);
  result = 0;
  if (hostAlive.expired() || tileAlive.expired() || !Holds(tile)) return true;
  if (msg == WM_RBUTTONUP && !taken) {
    // DefWindowProc turns the release into WM_CONTEXTMENU, which comes back here for this tile.
    menuTile_ = id;
    return false;
  }
  return true;
}

bool TileHost::ContextMenu(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const UINT_PTR released = std::exchange(menuTile_, 0);
  if (reinterpret_cast<HWND>(wParam) != window_ || window_ == nullptr) return false;  // a child window's
  TKovaBtn* tile = nullptr;
  POINT screen{};
  if (lParam == -1) {
    // From the keyboard: the tile that holds the mouse, at its middle.
    tile = captured_;
    if (tile == nullptr) return false;
    screen = {tile->left_ + tile->width_ / 2, tile->top_ + tile->height_ / 2};
    ::ClientToScreen(window_, &screen);
  } else {
    screen = PointOf(lParam);
    for (TKovaBtn* t : tiles_) {
      if (released != 0 && t->id_ == released && t->visible_ && t->enabled_) tile = t;
    }
    if (tile == nullptr) {
      POINT client = screen;
      ::ScreenToClient(window_, &client);
      tile = TileAt(client);
    }
  }
  if (tile == nullptr || !tile->OnContextMenu) return false;  // the window's own menu, if any
  auto handler = tile->OnContextMenu;
  handler(*tile, screen);
  result = 0;
  return true;
}

}  // namespace ql
