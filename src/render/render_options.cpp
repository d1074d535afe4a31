#include "render/render_options.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <charconv>

#include "platform/version.h"

namespace tyld::render {

namespace {

bool ToInt(const std::string& s, int& out) {
  if (s.empty()) return false;
  const char* end = s.data() + s.size();
  const auto r = std::from_chars(s.data(), end, out);
  return r.ec == std::errc() && r.ptr == end;
}

struct OptionInfo {
  const char* name;
  const char* valueName;  // nullptr = a switch
  const char* help;
  const char* missing;    // the message when the value is missing
};

constexpr OptionInfo kOptions[] = {
    {"screen", "ascii|binary", "The screen to render (default ascii).", "--screen needs ascii or binary"},
    {"format", "pdf|png|txt|decoded", "Output format (default pdf).", "--format needs pdf, png, txt or decoded"},
    {"out", "PATH|-", "Output file (PNG: file prefix); - is standard output.", "--out needs a path or -"},
    {"out-dir", "DIR", "One output per input in DIR, named after the input.", "--out-dir needs a directory"},
    {"pages", "FIRST-LAST", "Range of pages, from 1; LAST may be left out.", "--pages needs FIRST-LAST"},
    {"page-number", "N", "Number printed on the first page: 0 none, -1 equal to the page.",
     "--page-number needs a number of -1 or more"},
    {"mono", nullptr, "Print in black and white.", nullptr},
    {"orientation", "portrait|landscape", "Paper orientation instead of the stored one.",
     "--orientation needs portrait or landscape"},
    {"settings", "FILE", "Settings file (default YDsettei.bin here when present).", "--settings needs a file"},
    {"coltag", nullptr, "Read the input as a print file with colour tags.", nullptr},
    {"utf8", nullptr, "Read the input as UTF-8.", nullptr},
    {"line-break-rules", "on|off",
     "Japanese line-breaking rules on the ASCII screen (default: as tyld.ini beside the settings file).",
     "--line-break-rules needs on or off"},
    {"print-name", "NAME", "Name printed in the footer instead of the file name.", "--print-name needs a name"},
    {"printer", "NAME", "Print on this system printer instead of writing a file.", "--printer needs a name"},
    {"dpi", "N", "Resolution of PNG output, 10 to 1200 (default 150).", "--dpi needs a number from 10 to 1200"},
};

void AddOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral("Renders files as Tyld's ASCII or binary screen prints them."));
  parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")));
  parser.addOption(QCommandLineOption(QStringLiteral("version"), QStringLiteral("Show the version.")));
  for (const OptionInfo& info : kOptions) {
    QCommandLineOption option(QString::fromLatin1(info.name), QString::fromLatin1(info.help));
    if (info.valueName != nullptr) option.setValueName(QString::fromLatin1(info.valueName));
    parser.addOption(option);
  }
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Input files; - is standard input."),
                               QStringLiteral("FILE..."));
}

// The message for a failed parse: an unknown option, or a value option given last.
std::string ParseError(const QCommandLineParser& parser, const std::vector<std::string>& args) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    const QString& n = unknown.first();
    return "unknown option '" + std::string(n.size() == 1 ? "-" : "--") + n.toStdString() + "'";
  }
  // The parser takes the argument after a value option whatever it is, so only the last
  // argument can lack its value.
  if (!args.empty()) {
    for (const OptionInfo& info : kOptions) {
      if (info.missing != nullptr && args.back() == std::string("--") + info.name) return info.missing;
    }
  }
  return parser.errorText().toStdString();
}

}  // namespace

std::string UsageText() {
  QCommandLineParser parser;
  AddOptions(parser);
  return parser.helpText().toStdString() +
         "\nExit status: 0 done, 2 usage error, 3 nothing to print, 4 output not writable;\n"
         "with several inputs the highest status of them all.\n";
}

std::string VersionText() { return std::string("tyld-render ") + platform::kVersionText + "\n"; }

ParseResult ParseRenderArguments(const std::vector<std::string>& args) {
  ParseResult result;
  auto fail = [&result](const std::string& why) {
    result.error = why;
    return result;
  };
  QCommandLineParser parser;
  AddOptions(parser);
  QStringList list{QStringLiteral("tyld-render")};
  for (const std::string& a : args) list << QString::fromStdString(a);
  if (!parser.parse(list)) return fail(ParseError(parser, args));
  if (parser.isSet(QStringLiteral("help"))) {
    result.help = true;
    return result;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    result.version = true;
    return result;
  }
  // A value given twice: the last one counts, as on most command lines.
  auto value = [&parser](const char* name) { return parser.value(QString::fromLatin1(name)).toStdString(); };
  auto isSet = [&parser](const char* name) { return parser.isSet(QString::fromLatin1(name)); };

  RenderOptions o;
  if (isSet("line-break-rules")) {
    const std::string v = value("line-break-rules");
    if (v == "on") o.lineBreakRules = 1;
    else if (v == "off") o.lineBreakRules = 0;
    else return fail("--line-break-rules: unknown value '" + v + "'");
  }
  if (isSet("screen")) {
    const std::string v = value("screen");
    if (v == "ascii") o.screen = Screen::Ascii;
    else if (v == "binary") o.screen = Screen::Binary;
    else return fail("--screen: unknown screen '" + v + "'");
  }
  if (isSet("format")) {
    const std::string v = value("format");
    if (v == "pdf") o.format = Format::Pdf;
    else if (v == "png") o.format = Format::Png;
    else if (v == "txt") o.format = Format::Txt;
    else if (v == "decoded") o.format = Format::Decoded;
    else return fail("--format: unknown format '" + v + "'");
  }
  if (isSet("out")) {
    o.out = value("out");
    if (o.out.empty()) return fail("--out needs a path or -");
  }
  if (isSet("out-dir")) {
    o.outDir = value("out-dir");
    if (o.outDir.empty()) return fail("--out-dir needs a directory");
    if (!o.out.empty()) return fail("--out and --out-dir exclude each other");
  }
  if (isSet("pages")) {
    const std::string v = value("pages");
    const auto dash = v.find('-');
    int first = 0;
    int last = 0;
    if (dash == std::string::npos) {
      if (!ToInt(v, first)) return fail("--pages: '" + v + "' is not FIRST-LAST");
      last = first;
    } else if (!ToInt(v.substr(0, dash), first) || (dash + 1 < v.size() && !ToInt(v.substr(dash + 1), last))) {
      return fail("--pages: '" + v + "' is not FIRST-LAST");
    }
    if (first < 1 || (last != 0 && last < first)) return fail("--pages: '" + v + "' is not a range of pages from 1");
    o.firstPage = first;
    o.lastPage = last;
  }
  if (isSet("page-number") && (!ToInt(value("page-number"), o.pageNumber) || o.pageNumber < -1))
    return fail("--page-number needs a number of -1 or more");
  o.mono = isSet("mono");
  if (isSet("orientation")) {
    const std::string v = value("orientation");
    if (v == "portrait") o.orientation = 1;
    else if (v == "landscape") o.orientation = 2;
    else return fail("--orientation: unknown orientation '" + v + "'");
  }
  if (isSet("settings")) {
    o.settingsPath = value("settings");
    if (o.settingsPath.empty()) return fail("--settings needs a file");
  }
  o.colTag = isSet("coltag");
  o.utf8 = isSet("utf8");
  if (isSet("print-name")) o.printName = value("print-name");
  if (isSet("printer")) {
    o.printer = value("printer");
    if (o.printer.empty()) return fail("--printer needs a name");
  }
  if (isSet("dpi") && (!ToInt(value("dpi"), o.dpi) || o.dpi < 10 || o.dpi > 1200))
    return fail("--dpi needs a number from 10 to 1200");

  for (const QString& f : parser.positionalArguments()) {
    if (f.isEmpty()) return fail("an empty FILE name");
    o.files.push_back(f.toStdString());
  }
  if (o.files.empty()) return fail("FILE is missing");
  if (std::count(o.files.begin(), o.files.end(), "-") > 1) return fail("standard input (-) can be read only once");
  if (o.files.size() > 1) {
    // One named output cannot hold several renderings; text may follow text on standard output.
    const bool textOut = o.format == Format::Txt || o.format == Format::Decoded;
    if (!o.out.empty() && !(o.out == "-" && textOut))
      return fail("--out names one output; give --out-dir DIR for several files");
  }
  o.file = o.files.front();
  result.options = o;
  return result;
}

}  // namespace tyld::render
