// An in-process dock on a memory store: the real dock window, tiles, branch and dialogs, without
// the registry, for tests and benchmarks of the bar.
#pragma once

#include <memory>
#include <string>

#include "core/ButtonStore.h"
#include "core/Config.h"
#include "core/ConfigStore.h"
#include "core/MemoryStore.h"
#include "dock/DockPeers.h"
#include "dock/Quaylite.h"
#include "win/Form.h"

namespace ql::testing {

class DockFixture {
 public:
  // Stores `buttons` plain buttons (every fifth one a group of two members when `groups`).
  static void FillStore(MemoryStore& store, const TConfig& cfg, int buttons, bool groups,
                        const std::string& icon) {
    ButtonList list;
    for (int i = 0; i < buttons; ++i) {
      TBouton& b = list.Append(ButtonData{"Button " + std::to_string(i), icon, icon, "", 0});
      if (groups && i % 5 == 0) {
        list.AppendMember(b, ButtonData{"Member A", icon, icon, "", 0});
        list.AppendMember(b, ButtonData{"Member B", icon, icon, "", 0});
      }
    }
    EcritBaseRegistre(store, cfg, cfg.PosTop, list);
  }

  bool Start() {
    if (!owner.CreateForm(nullptr, L"TestDockOwner", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0))
      return false;
    peers = std::make_unique<DockPeers>();
    dock = std::make_unique<TQuaylite>(store, config, *peers);
    dock->SoundPlayer = [this](const std::string& file) { sounds.push_back(file); };
    return dock->Create(owner.hwnd());
  }

  void Rebuild() {
    dock->EffaceBarreBoutons();
    dock->DessineBarre();
  }

  RECT DockRect() const {
    RECT r{};
    ::GetWindowRect(dock->hwnd(), &r);
    return r;
  }

  TBarreBranche& branch() { return peers->branch; }

  MemoryStore store;
  TConfig config;
  win::Form owner;
  std::unique_ptr<DockPeers> peers;
  std::unique_ptr<TQuaylite> dock;
  std::vector<std::string> sounds;  // the sound files played, in order
};

inline std::string SystemIconLibrary() {
  wchar_t dir[MAX_PATH] = {};
  ::GetSystemDirectoryW(dir, MAX_PATH);
  std::wstring path = std::wstring(dir) + L"\\shell32.dll";
  std::string out;
  for (wchar_t c : path) out.push_back(static_cast<char>(c));  // ASCII system path
  return out;
}

// A value of the dock's key in `store` (empty when missing).
inline std::string StoredValue(MemoryStore& store, const char* name) {
  auto key = store.Open(kDockKey, false);
  return key ? key->ReadString(name).value_or("") : "";
}

// Whether another window could take the Ctrl+key hot key now (false: someone holds it).
inline bool HotKeyFree(UINT key) {
  HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const bool free = ::RegisterHotKey(probe, 7, MOD_CONTROL, key) != FALSE;
  if (free) ::UnregisterHotKey(probe, 7);
  ::DestroyWindow(probe);
  return free;
}

// Takes away the WM_QUIT a closing dock posts (the test's thread has no loop to end).
inline void PumpQuit() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE) {
  }
}

}  // namespace ql::testing
