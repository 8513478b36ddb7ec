// Starting a button's command, and `DernierLance`: the number of the button launched last, which
// the task bar reads (and puts back to "none") to give the new program's task button that
// button's icon.
#pragma once

#include <cstdint>

#include "core/Bouton.h"
#include "core/Command.h"

namespace ql {

class Launcher {
 public:
  // Starts `record`'s command as the shell would: the text before the first "|" is the target,
  // the rest its parameters, the target's folder the working directory. `DernierLance` takes the
  // record's number, and goes back to "none" when the start fails. Nothing is shown to the user.
  bool Run(const TBouton& record);

  std::int32_t DernierLance = kNoLaunch;
};

}  // namespace ql
