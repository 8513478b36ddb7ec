// Move-only owners of the program's registrations with the system: what one call sets up and
// another must undo (a hot key, a window that accepts dropped files, a shell item identifier
// list). Each undoes its registration when it goes, so no "registered" flag is kept by hand.
#pragma once

#include <utility>

#include "win/Handles.h"

namespace ql::win {

// A system-wide hot key registered on a window (RegisterHotKey / UnregisterHotKey).
class HotKey {
 public:
  HotKey() = default;
  HotKey(const HotKey&) = delete;
  HotKey& operator=(const HotKey&) = delete;
  HotKey(HotKey&& o) noexcept : window_(std::exchange(o.window_, nullptr)), id_(o.id_) {}
  HotKey& operator=(HotKey&& o) noexcept {
    if (this != &o) {
      Release();
      window_ = std::exchange(o.window_, nullptr);
      id_ = o.id_;
    }
    return *this;
  }
  ~HotKey() { Release(); }

  // Registers (modifiers, virtualKey) as hot key `id` of `window`, releasing any key held
  // before. False when the system refuses (the combination is taken): nothing is held then.
  bool Register(HWND window, int id, UINT modifiers, UINT virtualKey) {
    Release();
    if (window == nullptr || ::RegisterHotKey(window, id, modifiers, virtualKey) == FALSE) return false;
    window_ = window;
    id_ = id;
    return true;
  }
  void Release() {
    if (window_ != nullptr) ::UnregisterHotKey(std::exchange(window_, nullptr), id_);
  }
  bool Registered() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
  int id_ = 0;
};

// A window that accepts files dropped from the shell (DragAcceptFiles on, then off).
class DropTarget {
 public:
  DropTarget() = default;
  DropTarget(const DropTarget&) = delete;
  DropTarget& operator=(const DropTarget&) = delete;
  DropTarget(DropTarget&& o) noexcept : window_(std::exchange(o.window_, nullptr)) {}
  DropTarget& operator=(DropTarget&& o) noexcept {
    if (this != &o) {
      Release();
      window_ = std::exchange(o.window_, nullptr);
    }
    return *this;
  }
  ~DropTarget() { Release(); }

  void Accept(HWND window) {
    if (window == window_) return;
    Release();
    if (window == nullptr) return;
    ::DragAcceptFiles(window, TRUE);
    window_ = window;
  }
  void Release() {
    if (window_ != nullptr && ::IsWindow(window_) != FALSE) ::DragAcceptFiles(window_, FALSE);
    window_ = nullptr;
  }
  bool Accepting() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
};

// A shell item identifier list allocated by the shell (freed with CoTaskMemFree).
struct ItemIdListTraits {
  static void Close(LPITEMIDLIST list) { ::CoTaskMemFree(list); }
};
using ItemIdList = UniqueHandle<LPITEMIDLIST, ItemIdListTraits>;

// An image list made by the program (ImageList_Destroy). The system's shared image lists are
// never owned.
struct ImageListTraits {
  static void Close(HIMAGELIST list) { ::ImageList_Destroy(list); }
};
using ImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;

// COM on the calling thread (apartment-threaded) while the object lives.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (ok_) ::CoUninitialize();
  }

 private:
  bool ok_;
};

}  // namespace ql::win
