// What the dialogs use of the dock: its records, its settings, the named operations that rebuild
// the bar and write the store, and the main button's look for the previews. The dock window
// implements it; the dialogs never include the dock's own headers, and tests give them a fake.
#pragma once

#include <cstdint>
#include <string>

#include "core/Bouton.h"
#include "core/Config.h"
#include "win/Win.h"

namespace ql {

class TKovaBtn;

class DockOps {
 public:
  DockOps() = default;
  DockOps(const DockOps&) = delete;
  DockOps& operator=(const DockOps&) = delete;
  virtual ~DockOps() = default;

  virtual ButtonList& Boutons() = 0;
  virtual TConfig& Config() = 0;

  virtual void EffaceBarreBoutons() = 0;
  virtual void DessineBarre() = 0;
  virtual void EcritBaseRegistre() = 0;
  // The control that shows the record numbered `numero` (the main bar first, then the branch).
  virtual TKovaBtn* GetBtn(std::int32_t numero) const = 0;

  // The main button's icon file and texture (nullptr: none), which the previews show.
  virtual std::string MainIconPath() const = 0;
  virtual HBITMAP MainTexture() const = 0;

  // The main menu built again from the settings (after an accepted configuration or an import).
  virtual void RebuildMainMenu() = 0;
  // The desktop's icons hidden (true) or shown again.
  virtual void SetDesktopIconsHidden(bool hide) = 0;
  // The dock's hot key unregistered, then registered again from the HotKey setting (none when
  // it is empty).
  virtual void ResetHotKey() = 0;
  // The task bar brought in line with the settings after they changed: `wasOn` is TaskBar before
  // the change, `changed` whether the task buttons' look changed. Started, removed, rebuilt,
  // shown or hidden as the case is.
  virtual void UpdateTaskBar(bool wasOn, bool changed) = 0;

  // True once the dock has closed: the records are gone and nothing may be written any more.
  virtual bool Closed() const = 0;
};

}  // namespace ql
