// The program's windows after the dock, in the order they are made: the dock creates them once
// its own FormCreate has run, and keeps them (hidden until used) for the whole run.
#pragma once

#include "dialogs/PassWD.h"
#include "dialogs/Proprietes.h"
#include "dialogs/SendTo.h"
#include "dialogs/config/Configuration.h"
#include "dock/BarreBranche.h"
#include "taskbar/TaskBar.h"
#include "win/Form.h"

namespace ql {

struct DockPeers {
  TBarreBranche branch;
  TConfiguration configuration;
  TProprietes proprietes;
  TSendTo sendTo;
  TFrmPassWD password;  // WM_CLOSE to the dock is refused while it shows
  TTaskBar taskBar;
};

}  // namespace ql
