#pragma once
// A fresh set of what the application object owns, for one test: make it a member of the
// test's fixture (or a local of the test) and hand `workspace` to the parts under test.
// Nothing is shared between tests, so no test has state to reset.
#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "pages/page_dialogs.h"
#include "pages/workspace.h"
#include "platform/printer.h"
#include "search/search_state.h"
#include "settings/settings_file.h"

namespace tyld::testing_support {

struct TestWorkspace {
  // The printer is the system default or the PDF printer, as at start-up.
  TestWorkspace() { printers.Initialise({}); }

  settings::SettingsPaths paths;
  settings::SettingsRecord record;
  settings::LiveSettings live;
  document::StartupState startup;
  document::DocumentBuffer document;
  search::SearchStates searches;
  platform::PrinterSelection printers;
  pages::PrintingNotice notice;
  pages::Workspace workspace{paths, record, live, document, startup, searches, printers, notice};
};

}  // namespace tyld::testing_support
