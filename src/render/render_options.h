#pragma once
// The command line of tyld-render.
#include <optional>
#include <string>
#include <vector>

namespace tyld::render {

enum class Screen { Ascii, Binary };
enum class Format { Pdf, Png, Txt, Decoded };

struct RenderOptions {
  Screen screen = Screen::Ascii;
  Format format = Format::Pdf;
  std::string out;           // "" = derived from FILE, "-" = standard output
  int firstPage = 1;         // 1-based, inclusive
  int lastPage = 0;          // 0 = the last page
  int pageNumber = -1;       // 0 none, -1 equal to the page, else the first page's number
  bool mono = false;
  int orientation = 0;       // 0 as stored, 1 portrait, 2 landscape
  std::string settingsPath;  // "" = YDsettei.bin in the current directory when present
  bool colTag = false;
  bool utf8 = false;
  int lineBreakRules = -1;   // -1 as tyld.ini beside the settings file says, 0 off, 1 on
  std::optional<std::string> printName;
  std::string printer;       // "" = the built-in PDF printer
  int dpi = 150;
  std::string file;                // the input one rendering reads
  std::vector<std::string> files;  // every input given, "-" = standard input
  std::string outDir;              // "" = none; else one output per input in it
};

struct ParseResult {
  std::optional<RenderOptions> options;
  std::string error;  // names the bad option
  bool help = false;
  bool version = false;
};

// `args` are the arguments after the program name.
ParseResult ParseRenderArguments(const std::vector<std::string>& args);

// The text of --help and of a usage error.
std::string UsageText();
// The text of --version.
std::string VersionText();

}  // namespace tyld::render
