#include "document/startup_state.h"

namespace tyld::document {

StartupState& Startup() {
  static StartupState state;
  return state;
}

}  // namespace tyld::document
