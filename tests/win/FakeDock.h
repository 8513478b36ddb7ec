// Test helper: the dock as the dialogs see it (DockOps), over a list and options of the test's
// own, counting the named operations it is asked for.
#pragma once

#include <string>
#include <vector>

#include "dialogs/DockOps.h"

namespace ql::test {

class FakeDock final : public DockOps {
 public:
  ButtonList& Boutons() override { return boutons; }
  TConfig& Config() override { return config; }
  void EffaceBarreBoutons() override { ++effacements; }
  void DessineBarre() override { ++dessins; }
  void EcritBaseRegistre() override { ++ecritures; }
  TKovaBtn* GetBtn(std::int32_t) const override { return nullptr; }
  std::string MainIconPath() const override { return mainIconPath; }
  HBITMAP MainTexture() const override { return mainTexture; }
  bool Closed() const override { return closed; }
  void RebuildMainMenu() override { ++menus; }
  void SetDesktopIconsHidden(bool hide) override { desktopHidden.push_back(hide); }
  void ResetHotKey() override { ++hotKeys; }
  void UpdateTaskBar(bool wasOn, bool changed) override {
    taskBarUpdates.push_back({wasOn, config.TaskBar, changed});
  }

  ButtonList boutons;
  TConfig config;
  std::string mainIconPath;
  HBITMAP mainTexture = nullptr;
  bool closed = false;
  int effacements = 0;
  int dessins = 0;
  int ecritures = 0;
  int menus = 0;
  int hotKeys = 0;
  std::vector<bool> desktopHidden;
  struct TaskBarUpdate {
    bool wasOn;
    bool isOn;
    bool changed;
  };
  std::vector<TaskBarUpdate> taskBarUpdates;
};

}  // namespace ql::test
