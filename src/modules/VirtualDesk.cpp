#include "modules/VirtualDesk.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/Store.h"
#include "core/Text.h"
#include "core/WindowRules.h"
#include "win/Win32WindowSystem.h"

namespace ql {

namespace {

std::uint32_t ProcessOf(WindowId window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(win::ToHwnd(window), &process);
  return process;
}

}  // namespace

void RestoreHiddenWindows(KeyValueStore& store, WindowSystem* system) {
  const auto key = store.Open(kScreensKey, false);
  if (!key) return;
  win::Win32WindowSystem own;
  WindowSystem& windows = system != nullptr ? *system : own;
  for (const HiddenWindow& w : ReadHiddenJournal(*key)) {
    // A handle may have been given to another window since: only the same process's hidden one.
    if (windows.IsWindow(w.id) && ProcessOf(w.id) == w.process &&
        ::IsWindowVisible(win::ToHwnd(w.id)) == FALSE) {
      windows.Command(w.id, WindowCommand::Show);
    }
  }
  WriteHiddenJournal(*key, {});
}

DeskScreens::DeskScreens(HWND appWindow, KeyValueStore* store, WindowSystem* system)
    : appWindow_(appWindow),
      store_(store),
      ownSystem_(system == nullptr ? std::make_unique<win::Win32WindowSystem>() : nullptr),
      system_(system != nullptr ? *system : *ownSystem_),
      lists_(system_) {
  if (store_ != nullptr) RestoreHiddenWindows(*store_, &system_);
}

DeskScreens::~DeskScreens() { ShowAll(); }

void DeskScreens::SendToScreen(HWND window, int screen) {
  SetHandFen(Decimal(screen) + HandleText(win::IdOf(window)));
}

void DeskScreens::Journal(const std::vector<WindowId>& hidden) {
  if (store_ == nullptr) return;
  auto key = store_->Open(kScreensKey, !hidden.empty());
  if (!key) return;
  std::vector<HiddenWindow> entries;
  entries.reserve(hidden.size());
  for (const WindowId id : hidden) entries.push_back({id, ProcessOf(id)});
  WriteHiddenJournal(*key, entries);
}

bool DeskScreens::OwnWindow(WindowId window) const {
  // The program's own windows (the dock's hint window, owned by the dock) belong to no screen:
  // switching screens would hide them. Their owner chain ends at the application's window.
  const WindowId app = win::IdOf(appWindow_);
  WindowId owner = system_.Owner(window);
  for (int depth = 0; owner != kNoWindow && depth < 8; ++depth) {
    if (owner == app) return true;
    owner = system_.Owner(owner);
  }
  return false;
}

bool DeskScreens::Tick() {
  lists_.ListAppWindows(listed_, win::IdOf(appWindow_));
  std::vector<WindowId> live;
  live.reserve(listed_.size());
  for (const std::string& text : listed_) {
    if (const auto id = ParseHandleText(text); id && !OwnWindow(*id)) live.push_back(*id);
  }
  const VirtualScreens::Orders orders = screens_.Tick(live);
  if (!orders.hide.empty()) {
    Journal(screens_.Hidden());  // written before hiding: a crash in between loses nothing
    for (const WindowId id : orders.hide) system_.Command(id, WindowCommand::Hide);
  }
  return orders.repaint;
}

bool DeskScreens::Click(int x, int y, int width, int height, const std::function<void()>& repaintNow) {
  std::vector<WindowId> journaled = screens_.Hidden();
  const VirtualScreens::Orders orders = screens_.Click(x, y, width, height, win::IdOf(appWindow_));
  if (!orders.repaint) return false;
  for (const WindowId id : orders.hide) {
    if (std::find(journaled.begin(), journaled.end(), id) == journaled.end()) journaled.push_back(id);
  }
  Journal(journaled);
  for (const WindowId id : orders.hide) system_.Command(id, WindowCommand::Hide);
  if (repaintNow) repaintNow();
  for (const WindowId id : orders.show) system_.Command(id, WindowCommand::Show);
  Journal(screens_.Hidden());
  return true;
}

void DeskScreens::ShowAll() {
  const VirtualScreens::Orders orders = screens_.ShowAll();
  for (const WindowId id : orders.show) system_.Command(id, WindowCommand::Show);
  Journal({});
}

TVirtualDesk::TVirtualDesk(TileSite& site, DeskScreens& screens) : site_(site), screens_(screens) {}

void TVirtualDesk::Paint(win::Canvas& canvas, int width, int height) const {
  // The active quarter mixed half and half with white, through a copy of its pixels.
  const QuarterArea a = LightenedArea(screens_.Active(), width, height);
  const int w = a.right - a.left + 1;
  const int h = a.bottom - a.top + 1;
  if (w > 0 && h > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::Bitmap copy(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::MemoryDc dc(::CreateCompatibleDC(canvas.dc()));
    if (copy && dc && bits != nullptr) {
      const win::SelectGuard sel(dc.get(), copy.get());
      ::BitBlt(dc.get(), 0, 0, w, h, canvas.dc(), a.left, a.top, SRCCOPY);
      ::GdiFlush();
      auto* pixel = static_cast<std::uint32_t*>(bits);
      for (std::size_t i = 0, n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h); i < n; ++i) {
        pixel[i] = MixColors(pixel[i] & 0xFFFFFFU, 0xFFFFFFU);  // the same per component in any order
      }
      ::BitBlt(canvas.dc(), a.left, a.top, w, h, dc.get(), 0, 0, SRCCOPY);
    }
  }
  for (int screen = 1; screen <= kScreenCount; ++screen) {
    if (screens_.List(screen).empty()) continue;
    for (const MarkPixel& p : ScreenMark(screen, width, height)) {
      canvas.SetPixel(p.x, p.y, RGB(p.colour.r, p.colour.g, p.colour.b));
    }
  }
}

bool TVirtualDesk::Mouse(MouseAction action, const MouseEvent& e) {
  // Exactly the left button: no other button, no modifier, not the second press of a double.
  const bool plainLeft = action == MouseAction::Down && e.button == MouseButton::Left && !e.doubleClick &&
                         !e.right && !e.middle && !e.shift && !e.ctrl && !e.alt;
  if (plainLeft) {
    const SIZE size = site_.Size();
    screens_.Click(e.x, e.y, size.cx, size.cy, [this] { site_.Invalidate(true); });
  }
  return false;  // the dock handles the press as well
}

std::string TVirtualDesk::HintAt(POINT at) const {
  const SIZE size = site_.Size();
  std::string hint;
  for (const int screen : ScreensAt(at.x, at.y, size.cx, size.cy)) {
    for (const WindowId id : screens_.List(screen)) hint += screens_.Title(id) + "\r";
  }
  if (!hint.empty()) hint.pop_back();
  return hint;
}

}  // namespace ql
