// Test helpers for the module faces: a site that records what a face asks of it, and a window that
// carries one module tile (a TKovaBtn showing a face) on the tile window base, as the bar does.
#pragma once

#include <memory>
#include <utility>

#include "TileWindow.h"
#include "controls/KovaBtn.h"
#include "controls/TileFace.h"
#include "win/Handles.h"

namespace ql::test {

class FakeSite final : public TileSite {
 public:
  explicit FakeSite(int width = 64, int height = 64, HWND window = nullptr)
      : width_(width), height_(height), window_(window) {}
  HWND Window() const override { return window_; }
  SIZE Size() const override { return {width_, height_}; }
  void Invalidate(bool now) override {
    ++invalidations;
    if (now) ++immediate;
  }
  void StartedChanged() override { ++startedChanges; }

  int invalidations = 0;
  int immediate = 0;
  int startedChanges = 0;

 private:
  int width_;
  int height_;
  HWND window_;
};

// A visible window with one tile at (0, 0), its face's timer and paint routed by the host.
class FaceWindow {
 public:
  explicit FaceWindow(int width = 64, int height = 64) : window_(width, height) {
    tile.Create(window_.host(), 0, 0, width, height);
  }
  HWND hwnd() const { return window_.hwnd(); }

  // Shows a face of type F made for the tile's site; returns it.
  template <typename F, typename... Args>
  F* Show(Args&&... args) {
    F* made = nullptr;
    tile.SetFace([&](TileSite& site) {
      auto face = std::make_unique<F>(site, std::forward<Args>(args)...);
      made = face.get();
      return face;
    });
    return made;
  }

  // Pumps messages until `done` holds or `ms` pass; true when it holds.
  template <typename Done>
  bool PumpUntil(Done done, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
      if (::GetTickCount() - start > ms) return false;
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      ::Sleep(5);
    }
    return true;
  }

 private:
  TileWindow window_;  // before the tile: the tile leaves it first

 public:
  TKovaBtn tile;
};

}  // namespace ql::test
