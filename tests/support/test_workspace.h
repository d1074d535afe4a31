#pragma once
// A fresh set of what the application object owns, for one test: make it a member of the
// test's fixture (or a local of the test) and hand `workspace` to the parts under test.
// Nothing is shared between tests, so no test has state to reset.
#include "pages/shared_state.h"

namespace tyld::testing_support {

struct TestWorkspace : pages::SharedState {
  // The printer is the system default or the PDF printer, as at start-up.
  TestWorkspace() { printers.Initialise({}); }
};

}  // namespace tyld::testing_support
