// The dock's part in running its own task bar.
#include "dock/Quaylite.h"
#include "win/Win.h"

namespace ql {

void TQuaylite::StartTaskBar() {
  // The dock's own task bar is started here once it exists.
}

void TQuaylite::StopTaskBar() {
  // The dock's own task bar is removed here, and the notification area given back to the
  // system's task bar, once it exists.
}

void TQuaylite::RebuildTaskBar() {}

void TQuaylite::ShowTaskBar(bool /*show*/) {}

void TQuaylite::SuspendTaskBar() {}

void TQuaylite::ResumeTaskBar() {}

bool TQuaylite::TaskBarRunning() const { return false; }

}  // namespace ql
