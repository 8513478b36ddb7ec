// "Quaylite Configuration": the dialog and what the dock does after its OK.
#include "dock/Quaylite.h"
#include "win/Win.h"

namespace ql {

void TQuaylite::ConfigurationClick() {
  // Opens the configuration dialog once it exists.
}

}  // namespace ql
