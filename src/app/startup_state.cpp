#include "app/startup_state.h"

namespace tyld::app {

StartupState& Startup() {
  static StartupState state;
  return state;
}

}  // namespace tyld::app
