#include "controls/KovaBtn.h"
#include "win/Win.h"

#include <algorithm>
#include <utility>

#include "controls/Hints.h"
#include "controls/IconCache.h"
#include "controls/TileHost.h"
#include "taskbar/Drawing.h"
#include "win/Canvas.h"
#include "win/Surface.h"
#include "win/Utf.h"

namespace ql {

namespace {
constexpr std::int32_t kNoIndex = 999;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDisabledText = RGB(128, 128, 128);

// Text height of a caption in the default canvas font (the auto size and the dots use it).
int DefaultFontTextHeight(win::Canvas& canvas, const std::string& text) {
  canvas.UseDefaultFont();
  return canvas.TextHeight(text);
}

// The screen's resolution does not change while the program runs: it is read once, not for every
// new button.
int ScreenPixelsForPoints(int points) {
  static const int dpi = [] {
    win::WindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  }();
  return ::MulDiv(points, dpi, 72);
}
}  // namespace

win::Bitmap CopyPicture(HBITMAP picture) {
  BITMAP bm{};
  if (::GetObjectW(picture, sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight == 0) return {};
  const int height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::Bitmap copy(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::MemoryDc dc(::CreateCompatibleDC(nullptr));
  if (copy && dc &&
      ::GetDIBits(dc.get(), picture, 0, static_cast<UINT>(height), bits, &bi, DIB_RGB_COLORS) == height) {
    return copy;
  }
  return win::Bitmap(static_cast<HBITMAP>(::CopyImage(picture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// What a face asks of its tile. It outlives the tile while the face is inside a call of its own
// (a modal question or menu, during which the bar may be rebuilt or the dock closed): cut off, it
// answers as a tile on no window and does nothing.
class TKovaBtn::FaceSite final : public TileSite {
 public:
  explicit FaceSite(TKovaBtn* button) : button_(button) {}
  HWND Window() const override { return button_ != nullptr ? button_->ParentWindow() : nullptr; }
  SIZE Size() const override { return button_ != nullptr ? SIZE{button_->width_, button_->height_} : size_; }
  void Invalidate(bool now) override {
    if (button_ == nullptr) return;
    button_->Repaint();
    if (HWND window = button_->ParentWindow(); now && window != nullptr) ::UpdateWindow(window);
  }
  void StartedChanged() override {
    if (button_ != nullptr) button_->FaceStartedChanged();
  }
  bool Attached() const { return button_ != nullptr; }
  void Detach() {
    if (button_ != nullptr) size_ = {button_->width_, button_->height_};
    button_ = nullptr;
  }

 private:
  TKovaBtn* button_;
  SIZE size_{0, 0};
};

// The face with its site; the face is declared last so that it goes first.
struct TKovaBtn::FaceHolder {
  explicit FaceHolder(TKovaBtn* button) : site(button) {}
  FaceSite site;
  std::unique_ptr<TileFace> face;
};

TKovaBtn::TKovaBtn() { font_ = win::CreateFontPixels(L"small", ScreenPixelsForPoints(7)); }

TKovaBtn::~TKovaBtn() {
  DropFace();
  Leave();
}

bool TKovaBtn::Create(TileHost& host, int x, int y, int width, int height) {
  Leave();
  if (host.hwnd() == nullptr) return false;
  left_ = x;
  top_ = y;
  width_ = width;
  height_ = height;
  host_ = &host;
  id_ = host.Add(this);
  FaceStartedChanged();
  UpdateHint();
  Repaint();
  return true;
}

void TKovaBtn::Leave() {
  if (host_ == nullptr) return;
  StopFaceTimer();
  RemoveHint();
  const RECT r = BoundsRect();
  if (visible_) Invalidate(r);
  host_->Remove(this);
  host_ = nullptr;
  id_ = 0;
}

HWND TKovaBtn::ParentWindow() const { return host_ != nullptr ? host_->hwnd() : nullptr; }

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
      win::MemoryDc mem(::CreateCompatibleDC(nullptr));
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
  if (texture != nullptr && texture == Texture()) return;
  if (texture == nullptr) {
    texture_.reset();
  } else if (host_ != nullptr) {
    texture_ = host_->ShareTexture(texture);
  } else {
    texture_ = std::make_shared<const win::Bitmap>(CopyPicture(texture));
  }
  Repaint();
}

void TKovaBtn::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
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
  if (!enabled_ && host_ != nullptr) host_->Forget(this);
  UpdateHint();
  Repaint();
}

void TKovaBtn::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (!visible_ && host_ != nullptr) host_->Forget(this);
  UpdateHint();
  Invalidate(BoundsRect());  // shows the tile, or what lies under it
}

void TKovaBtn::SetBounds(int x, int y, int width, int height) {
  const RECT before = BoundsRect();
  left_ = x;
  top_ = y;
  width_ = width;
  height_ = height;
  const RECT after = BoundsRect();
  if (::EqualRect(&before, &after) != FALSE) return;
  if (visible_) {
    Invalidate(before);
    Invalidate(after);
  }
  if (hasHintTool_) host_->hints()->MoveRect(host_->hwnd(), id_, after);
}

void TKovaBtn::SetFont(std::wstring face, int pixelHeight) {
  win::Font font = win::CreateFontPixels(face, pixelHeight);
  if (!font) return;
  font_ = std::move(font);
  Repaint();
}

TileFace* TKovaBtn::Face() const { return face_ ? face_->face.get() : nullptr; }

void TKovaBtn::SetFace(const FaceMaker& make) {
  DropFace();
  if (make) {
    auto holder = std::make_shared<FaceHolder>(this);
    face_ = holder;  // the face may call its site while it is being made
    holder->face = make(holder->site);
    if (!holder->face) {
      DropFace();
    } else {
      FaceStartedChanged();
      RefreshFaceHint();
    }
  }
  Repaint();
}

void TKovaBtn::DropFace() {
  StopFaceTimer();
  faceHeld_ = MouseButton::None;
  if (!face_) return;
  face_->site.Detach();
  face_.reset();  // the face goes now, or when the call it is in returns
}

void TKovaBtn::StartFace(bool on) {
  if (TileFace* face = Face()) face->Start(on);  // the face tells its site, which runs the timer
}

void TKovaBtn::StopFaceTimer() {
  if (faceTimer_ == 0) return;
  if (host_ != nullptr) host_->Timers().Stop(faceTimer_);
  faceTimer_ = 0;
}

void TKovaBtn::FaceStartedChanged() {
  const TileFace* face = Face();
  const bool run = face != nullptr && face->Started() && face->TickMs() > 0 && host_ != nullptr;
  if (run && faceTimer_ == 0) {
    faceTimer_ = host_->Timers().Start(face->TickMs(), [this] { FaceTick(); });
  } else if (!run) {
    StopFaceTimer();
  }
  RefreshFaceHint();  // a stopped face may say so in its hint
}

void TKovaBtn::FaceTick() {
  const std::shared_ptr<FaceHolder> holder = face_;
  if (!holder || !holder->face) return;
  bool repaint = false;
  try {
    repaint = holder->face->Tick();
  } catch (...) {
    return;  // a failed tick keeps the tile's last look
  }
  if (!holder->site.Attached()) return;  // the tile went during the tick
  if (repaint) Repaint();
  RefreshFaceHint();
}

void TKovaBtn::RefreshFaceHint(bool pointerHere) {
  const TileFace* face = Face();
  if (face == nullptr) return;
  std::string hint;
  try {
    hint = face->HintAt(facePointer_);
  } catch (...) {
    return;
  }
  if (hint == hint_ && !hintStale_) return;
  if (hasHintTool_ && !hint.empty() && !pointerHere && !CursorOnTile()) {
    hint_ = std::move(hint);  // nobody sees it now: told at the next move on the tile
    hintStale_ = true;
    return;
  }
  hintStale_ = false;
  SetHint(std::move(hint));
}

bool TKovaBtn::CursorOnTile() const {
  HWND window = ParentWindow();
  POINT at{};
  if (window == nullptr || ::GetCursorPos(&at) == FALSE || ::ScreenToClient(window, &at) == FALSE)
    return false;
  const RECT r = BoundsRect();
  return ::PtInRect(&r, at) != FALSE;
}

bool TKovaBtn::DropOnFace(const std::vector<std::string>& files) {
  const std::shared_ptr<FaceHolder> holder = face_;
  if (!holder || !holder->face) return false;
  try {
    return holder->face->Drop(files);
  } catch (...) {
    return true;  // the files were the face's: they make no button
  }
}

void TKovaBtn::ReloadIcon() {
  // The button holds one icon at a time: the one it replaces is destroyed here, unless the host's
  // cache keeps it. With an empty path the icon stays but is not drawn.
  if (!iconPath_.empty()) {
    IconCache* cache = host_ != nullptr ? host_->icons() : nullptr;
    if (cache != nullptr) {
      icon_ = cache->Load(iconPath_, iconIndex_, iconSize_);
    } else {
      icon_.reset();  // before loading: never two icons of this button alive at once
      icon_ = std::make_shared<const win::Icon>(LoadPathIcon(iconPath_, iconIndex_, iconSize_));
    }
  }
  Repaint();
  if (icon_ && *icon_) return;
  // Nothing loaded: fall back to index 999 once (for a program file, the shell's icon of it).
  if (iconIndex_ != kNoIndex) {
    iconIndex_ = kNoIndex;
    ReloadIcon();
  }
}

void TKovaBtn::Repaint() {
  if (visible_) Invalidate(BoundsRect());
}

void TKovaBtn::Invalidate(const RECT& rect) {
  if (host_ != nullptr) host_->Invalidate(rect);
}

void TKovaBtn::UpdateHint() {
  if (host_ == nullptr || host_->hints() == nullptr) return;
  // A hidden or disabled tile gets no mouse, so it shows no hint either.
  const bool show = showHint_ && !hint_.empty() && visible_ && enabled_;
  if (!show) {
    RemoveHint();
    return;
  }
  host_->hints()->SetRect(host_->hwnd(), id_, BoundsRect(), hint_, true);
  hasHintTool_ = true;
}

void TKovaBtn::RemoveHint() {
  if (!hasHintTool_) return;
  hasHintTool_ = false;
  if (host_ != nullptr && host_->hints() != nullptr) host_->hints()->Remove(host_->hwnd(), id_);
}

win::Bitmap TKovaBtn::Compose() const {
  win::Surface surface(width_, height_);
  if (!surface) return {};
  Draw(surface.dc());
  ::GdiFlush();
  return surface.Release();
}

void TKovaBtn::Draw(HDC mem) const {
  const int w = width_;
  const int h = height_;
  win::Canvas canvas(mem);

  if (const TileFace* face = Face()) {
    DrawFaceTile(mem, *face, w, h, TileLook{color_, Texture(), border_});
    return;
  }

  DrawBackground(canvas, w, h, color_, Texture(), border_);

  if (HasIcon()) {
    const TilePoint at = IconOrigin(w, h, iconSize_);
    ::DrawIconEx(mem, at.x, at.y, Icon(), iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
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

  // An empty caption shows nothing: no strip and no text to measure or draw.
  if (caption_.empty()) return;
  canvas.SetFont(font_.get());
  canvas.SetTextColor(kWhite);
  const LabelLayout label = CaptionLayout(w, h, canvas.TextWidth(caption_), canvas.TextHeight(caption_));
  DrawSunkenBox(canvas, label.stripLeft, label.stripTop, label.stripWidth, label.stripHeight,
                GetRValue(kLabelColor), GetGValue(kLabelColor), GetBValue(kLabelColor));
  canvas.SetBrushClear();
  if (!enabled_) {
    // Embossed: a white shadow one pixel right and below, the caption in grey over it.
    canvas.TextOut(label.Shadow().x, label.Shadow().y, caption_);
    canvas.SetTextColor(kDisabledText);
  }
  canvas.TextOut(label.Text().x, label.Text().y, caption_);
}

void TKovaBtn::Paint(HDC dc) const {
  const TKovaBtn* self = this;
  PaintTiles(&self, 1, dc, BoundsRect());
}

void TKovaBtn::PaintTiles(const TKovaBtn* const* tiles, std::size_t count, HDC dc, const RECT& clip) {
  // One off-screen surface for them all, as big as the biggest tile to paint: each tile is drawn
  // on it and copied from it in one BitBlt.
  int width = 0;
  int height = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const TKovaBtn& tile = *tiles[i];
    const RECT bounds = tile.BoundsRect();
    RECT part{};
    if (!tile.visible_ || ::IntersectRect(&part, &bounds, &clip) == FALSE) continue;
    width = std::max(width, tile.width_);
    height = std::max(height, tile.height_);
  }
  if (width == 0) return;
  win::Surface surface(width, height);
  if (!surface) return;
  for (std::size_t i = 0; i < count; ++i) {
    const TKovaBtn& tile = *tiles[i];
    const RECT bounds = tile.BoundsRect();
    RECT part{};
    if (!tile.visible_ || ::IntersectRect(&part, &bounds, &clip) == FALSE) continue;
    tile.Draw(surface.dc());
    ::BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, surface.dc(),
             part.left - tile.left_, part.top - tile.top_, SRCCOPY);
  }
}

bool TKovaBtn::FaceMouseMessage(UINT msg, WPARAM wParam, int x, int y) {
  const std::shared_ptr<FaceHolder> holder = face_;
  const FaceMouse m = FaceMouseEvent(msg, wParam, x, y);
  facePointer_ = {x, y};
  bool taken = false;
  try {
    taken = holder->face->Mouse(m.action, m.event);
  } catch (...) {
    taken = false;  // the dock handles what the face could not
  }
  if (!holder->site.Attached()) return true;  // the tile went while the face had the mouse
  switch (m.action) {
    case MouseAction::Down:
      faceHeld_ = taken ? m.event.button : MouseButton::None;
      return taken;
    case MouseAction::Up:
      if (faceHeld_ != MouseButton::None && faceHeld_ == m.event.button) {
        faceHeld_ = MouseButton::None;
        return true;  // the release of a press the face took
      }
      return taken;
    case MouseAction::Move:
      RefreshFaceHint(true);
      return taken;
  }
  return taken;
}

bool TKovaBtn::MouseMessage(UINT msg, WPARAM wParam, int x, int y) {
  if (face_ && face_->face) {
    const std::weak_ptr<int> alive = alive_;
    if (FaceMouseMessage(msg, wParam, x, y) || alive.expired()) return true;
  }
  MouseEvent e;
  e.x = x;
  e.y = y;
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

  // The handler may destroy this button: copy it first and look at `alive` before going on.
  const std::weak_ptr<int> alive = alive_;
  auto handler = kind == Kind::Down ? OnMouseDown : kind == Kind::Up ? OnMouseUp : OnMouseMove;
  if (handler) handler(*this, e);
  if (alive.expired() || msg != WM_LBUTTONDBLCLK) return false;
  auto dblClick = OnDblClick;
  if (dblClick) dblClick(*this);
  return false;
}

}  // namespace ql
