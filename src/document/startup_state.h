#pragma once
// How the program was started, set once from the command line and read everywhere.
#include <cstdint>
#include <string>

namespace tyld::document {

struct StartupState {
  std::int32_t StartMode = 0;      // 0 empty command line, 1 child mode, 2 line taken as a path
  std::string DfPath;              // data file to load at start-up (UTF-8)
  std::string PrintName;           // "印刷名"; file name printed in page headers unless StartMode is 0
  std::int32_t ProgramType = 0;    // 0..5, selects the print-file filter list
  std::int32_t ColourTagMode = 0;  // 1: the data is a print file with colour tags
  std::string RecentPath;          // recent-file entry the main frame opens at start-up
  std::string SettingsArg;         // value of "S="; kept, the settings path does not follow it
};

}  // namespace tyld::document
