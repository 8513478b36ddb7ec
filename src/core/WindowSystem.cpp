#include "core/WindowSystem.h"

namespace ql {

IconHandle TaskIcon(WindowSystem& system, WindowId window, IconSize size) {
  const std::optional<IconHandle> own = system.WindowIcon(window, size);
  if (own.value_or(0) != 0) return *own;
  if (const IconHandle icon = system.ClassIcon(window, size); icon != 0) return icon;
  if (size == IconSize::Large) return 0;
  if (!own) return system.ClassIcon(window, IconSize::Large);
  return system.WindowIcon(window, IconSize::Large).value_or(0);
}

}  // namespace ql
