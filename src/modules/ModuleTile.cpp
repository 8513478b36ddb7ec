#include "modules/ModuleTile.h"

#include <utility>

#include "controls/KovaBtn.h"

namespace ql {

ModuleTile::~ModuleTile() {
  timers_.StopAll();
  face_.reset();
}

bool ModuleTile::Create(HWND window, int x, int y, int width, int height) {
  if (window == nullptr) return false;
  window_ = window;
  timers_.Attach(window);
  tick_ = 0;
  SetBounds(x, y, width, height);
  StartedChanged();
  return true;
}

void ModuleTile::SetFace(std::unique_ptr<TileFace> face) {
  if (tick_ != 0) timers_.Stop(std::exchange(tick_, 0));
  face_ = std::move(face);
  StartedChanged();
  Invalidate();
}

void ModuleTile::SetBounds(int x, int y, int width, int height) {
  Invalidate();
  left_ = x;
  top_ = y;
  width_ = width;
  height_ = height;
  Invalidate();
}

void ModuleTile::SetBorder(bool border) {
  if (border == border_) return;
  border_ = border;
  Invalidate();
}

void ModuleTile::SetTexture(HBITMAP texture) {
  if (texture != nullptr && texture == texture_.get()) return;
  texture_ = texture != nullptr ? CopyPicture(texture) : win::Bitmap();
  Invalidate();
}

void ModuleTile::Start(bool on) {
  if (face_) face_->Start(on);
}

void ModuleTile::Invalidate(bool now) {
  if (window_ == nullptr) return;
  const RECT r = BoundsRect();
  ::InvalidateRect(window_, &r, FALSE);
  if (now) ::UpdateWindow(window_);
}

void ModuleTile::StartedChanged() {
  const bool run = face_ && face_->Started() && face_->TickMs() > 0 && window_ != nullptr;
  if (run && tick_ == 0) {
    tick_ = timers_.Start(face_->TickMs(), [this] { OnTick(); });
  } else if (!run && tick_ != 0) {
    timers_.Stop(std::exchange(tick_, 0));
  }
}

void ModuleTile::OnTick() {
  // Runs inside the window's procedure: a failed tick keeps the tile's last look.
  try {
    if (!face_ || !face_->Tick()) return;
  } catch (...) {
    return;
  }
  Invalidate();
  if (OnTicked) OnTicked();
}

bool ModuleTile::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!timers_.HandleMessage(msg, wParam, lParam)) return false;
  result = 0;
  return true;
}

void ModuleTile::Paint(HDC dc, const RECT& update) const {
  const RECT bounds = BoundsRect();
  RECT part{};
  if (!face_ || ::IntersectRect(&part, &bounds, &update) == FALSE) return;
  PaintFaceTile(dc, left_, top_, *face_, width_, height_, Look());
}

bool ModuleTile::OnMouse(UINT msg, WPARAM wParam, int x, int y) {
  if (!face_) return false;
  const FaceMouse m = FaceMouseEvent(msg, wParam, x - left_, y - top_);
  return face_->Mouse(m.action, m.event);
}

bool ModuleTile::OnDrop(const std::vector<std::string>& files) { return face_ && face_->Drop(files); }

std::string ModuleTile::HintAt(int x, int y) const {
  return face_ ? face_->HintAt(POINT{x - left_, y - top_}) : std::string();
}

}  // namespace ql
