#pragma once
// What the parts of one running viewer share. Its owner (the application object, tyld-render
// or a test) keeps one instance of each and hands these references down; nothing reaches them
// through a global.
namespace tyld::settings {
struct SettingsPaths;
struct SettingsRecord;
struct LiveSettings;
}  // namespace tyld::settings
namespace tyld::document {
class DocumentBuffer;
struct StartupState;
}  // namespace tyld::document
namespace tyld::search {
struct SearchStates;
}  // namespace tyld::search
namespace tyld::platform {
class PrinterSelection;
}  // namespace tyld::platform

namespace tyld::pages {

class PrintingNotice;

struct Workspace {
  settings::SettingsPaths& paths;
  settings::SettingsRecord& record;
  settings::LiveSettings& live;
  document::DocumentBuffer& document;
  document::StartupState& startup;
  search::SearchStates& searches;
  platform::PrinterSelection& printers;
  PrintingNotice& notice;
};

}  // namespace tyld::pages
