#include "render/render_options.h"

#include <charconv>

namespace tyld::render {

const char* const kUsage =
    "usage: tyld-render [--screen ascii|binary] [--format pdf|png|txt|decoded] [--out PATH|-]\n"
    "                   [--pages FIRST-LAST] [--page-number N] [--mono]\n"
    "                   [--orientation portrait|landscape] [--settings FILE] [--coltag] [--utf8]\n"
    "                   [--print-name NAME] [--printer NAME] [--dpi N] FILE\n";

namespace {
bool ToInt(const std::string& s, int& out) {
  if (s.empty()) return false;
  const char* end = s.data() + s.size();
  const auto r = std::from_chars(s.data(), end, out);
  return r.ec == std::errc() && r.ptr == end;
}
}  // namespace

ParseResult ParseRenderArguments(const std::vector<std::string>& args) {
  ParseResult result;
  RenderOptions o;
  auto fail = [&result](const std::string& why) {
    result.error = why;
    return result;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) return false;
      v = args[++i];
      return true;
    };
    std::string v;
    if (a == "-h" || a == "--help") {
      result.help = true;
      return result;
    } else if (a == "--screen") {
      if (!value(v)) return fail("--screen needs ascii or binary");
      if (v == "ascii") o.screen = Screen::Ascii;
      else if (v == "binary") o.screen = Screen::Binary;
      else return fail("--screen: unknown screen '" + v + "'");
    } else if (a == "--format") {
      if (!value(v)) return fail("--format needs pdf, png, txt or decoded");
      if (v == "pdf") o.format = Format::Pdf;
      else if (v == "png") o.format = Format::Png;
      else if (v == "txt") o.format = Format::Txt;
      else if (v == "decoded") o.format = Format::Decoded;
      else return fail("--format: unknown format '" + v + "'");
    } else if (a == "--out") {
      if (!value(o.out) || o.out.empty()) return fail("--out needs a path or -");
    } else if (a == "--pages") {
      if (!value(v)) return fail("--pages needs FIRST-LAST");
      const auto dash = v.find('-');
      int first = 0;
      int last = 0;
      if (dash == std::string::npos) {
        if (!ToInt(v, first)) return fail("--pages: '" + v + "' is not FIRST-LAST");
        last = first;
      } else if (!ToInt(v.substr(0, dash), first) ||
                 (dash + 1 < v.size() && !ToInt(v.substr(dash + 1), last))) {
        return fail("--pages: '" + v + "' is not FIRST-LAST");
      }
      if (first < 1 || (last != 0 && last < first)) return fail("--pages: '" + v + "' is not a range of pages from 1");
      o.firstPage = first;
      o.lastPage = last;
    } else if (a == "--page-number") {
      if (!value(v) || !ToInt(v, o.pageNumber) || o.pageNumber < -1)
        return fail("--page-number needs a number of -1 or more");
    } else if (a == "--mono") {
      o.mono = true;
    } else if (a == "--orientation") {
      if (!value(v)) return fail("--orientation needs portrait or landscape");
      if (v == "portrait") o.orientation = 1;
      else if (v == "landscape") o.orientation = 2;
      else return fail("--orientation: unknown orientation '" + v + "'");
    } else if (a == "--settings") {
      if (!value(o.settingsPath) || o.settingsPath.empty()) return fail("--settings needs a file");
    } else if (a == "--coltag") {
      o.colTag = true;
    } else if (a == "--utf8") {
      o.utf8 = true;
    } else if (a == "--print-name") {
      if (!value(v)) return fail("--print-name needs a name");
      o.printName = v;
    } else if (a == "--printer") {
      if (!value(o.printer) || o.printer.empty()) return fail("--printer needs a name");
    } else if (a == "--dpi") {
      if (!value(v) || !ToInt(v, o.dpi) || o.dpi < 10 || o.dpi > 1200) return fail("--dpi needs a number from 10 to 1200");
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return fail("unknown option '" + a + "'");
    } else {
      if (!o.file.empty()) return fail("more than one FILE: '" + a + "'");
      o.file = a;
    }
  }
  if (o.file.empty()) return fail("FILE is missing");
  result.options = o;
  return result;
}

}  // namespace tyld::render
