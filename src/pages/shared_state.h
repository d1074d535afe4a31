#pragma once
// One instance of each thing a Workspace refers to, for whoever runs the parts: the
// application object, tyld-render, a benchmark or a test. Members come before `workspace`,
// so the references are made to constructed objects.
#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "pages/page_dialogs.h"
#include "pages/workspace.h"
#include "platform/printer.h"
#include "search/search_state.h"
#include "settings/settings_file.h"

namespace tyld::pages {

struct SharedState {
  settings::SettingsPaths paths;
  settings::SettingsRecord record;
  settings::LiveSettings live;
  document::StartupState startup;
  document::DocumentBuffer document;
  search::SearchStates searches;
  platform::PrinterSelection printers;
  PrintingNotice notice;
  Workspace workspace{paths, record, live, document, startup, searches, printers, notice};
};

}  // namespace tyld::pages
