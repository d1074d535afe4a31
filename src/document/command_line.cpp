#include "document/command_line.h"

#include <algorithm>
#include <cstdio>

namespace tyld::document {
namespace {

struct Key {
  std::string_view name;
  enum class Kind { DfPath, Settings, PrintName, ProgramType, Cv, ColourTag } kind;
};

// Matched against the beginning of each item, in this order, case-sensitively.
constexpr Key kKeys[] = {
    {"F=", Key::Kind::DfPath},      {"S=", Key::Kind::Settings}, {"PF=", Key::Kind::PrintName},
    {"PGM=", Key::Kind::ProgramType}, {"CV=", Key::Kind::Cv},    {"COLTAG=", Key::Kind::ColourTag},
};

bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

char FirstOf(std::string_view value) { return value.empty() ? '\0' : value.front(); }

void Apply(Key::Kind kind, std::string_view value, StartupState& state) {
  switch (kind) {
    case Key::Kind::DfPath: state.DfPath = value; break;
    case Key::Kind::Settings: state.SettingsArg = value; break;
    case Key::Kind::PrintName: state.PrintName = value; break;
    case Key::Kind::ProgramType: {
      const char c = FirstOf(value);
      state.ProgramType = (c >= '1' && c <= '5') ? c - '0' : 0;
      break;
    }
    case Key::Kind::Cv: break;  // accepted for old callers; it changes nothing
    case Key::Kind::ColourTag: state.ColourTagMode = FirstOf(value) == '1' ? 1 : 0; break;
  }
}

CommandLineWarning BadItemWarning(std::size_t index, const std::string& item) {
  const int n = std::snprintf(nullptr, 0, kBadItemCaptionFormat, static_cast<int>(index), item.c_str());
  std::string caption(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  std::snprintf(caption.data(), caption.size() + 1, kBadItemCaptionFormat,
                static_cast<int>(index), item.c_str());
  return {kBadItemText, caption};
}

void NameFromDfPath(StartupState& state) {
  if (state.PrintName.empty()) state.PrintName = FinalComponent(state.DfPath);
}

}  // namespace

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

std::vector<std::string> SplitItems(std::string_view line) {
  const std::size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::string_view s = line.substr(first);
  const auto len = static_cast<std::ptrdiff_t>(s.size());

  // Start and end (inclusive) of each item; an end may lie before its start.
  std::vector<std::ptrdiff_t> starts, ends;
  for (std::ptrdiff_t p = 0; p < len; ++p) {
    if (s[static_cast<std::size_t>(p)] != '=') continue;
    std::ptrdiff_t space = p - 1;
    while (space >= 0 && s[static_cast<std::size_t>(space)] != ' ') --space;
    if (!ends.empty()) ends.back() = space - 1;
    starts.push_back(space + 1);
    ends.push_back(len - 1);
  }

  std::vector<std::string> items;
  items.reserve(starts.size());
  for (std::size_t k = 0; k < starts.size(); ++k) {
    const std::ptrdiff_t count = std::max<std::ptrdiff_t>(1, ends[k] - starts[k] + 1);
    std::string item(s.substr(static_cast<std::size_t>(starts[k]), static_cast<std::size_t>(count)));
    const std::size_t last = item.find_last_not_of(' ');
    item.resize(last == std::string::npos ? 1 : last + 1);
    items.push_back(std::move(item));
  }
  return items;
}

int ParseChildCommandLine(std::string_view line, StartupState& state,
                          std::optional<CommandLineWarning>& warning) {
  const std::vector<std::string> items = SplitItems(line);
  if (items.empty()) return 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string_view item = items[i];
    bool known = false;
    for (const Key& key : kKeys) {
      if (item.starts_with(key.name)) {
        Apply(key.kind, item.substr(key.name.size()), state);
        known = true;
        break;
      }
    }
    if (!known) {
      warning = BadItemWarning(i, items[i]);
      return 0;
    }
  }
  NameFromDfPath(state);
  return 1;
}

int TakeCommandLineAsPath(std::string_view line, StartupState& state) {
  if (line.empty()) return 0;
  state.DfPath = line;
  NameFromDfPath(state);
  return 1;
}

std::optional<CommandLineWarning> ApplyCommandLine(std::string_view line, StartupState& state) {
  std::optional<CommandLineWarning> warning;
  state.StartMode = 0;
  // A line of spaces names no file.
  if (IsBlank(line)) return warning;
  if (ParseChildCommandLine(line, state, warning) == 1)
    state.StartMode = 1;
  else if (TakeCommandLineAsPath(line, state) == 1)
    state.StartMode = 2;
  return warning;
}

std::string_view FinalComponent(std::string_view path) {
  const std::size_t sep = path.find_last_of("/\\");
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

}  // namespace tyld::document
