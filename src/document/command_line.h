#pragma once
// The command line: child-mode KEY=value items, or the whole line as a file path.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/startup_state.h"

namespace tyld::document {

// The message box the caller shows (warning icon) for an unknown item.
struct CommandLineWarning {
  std::string text;
  std::string caption;
};

inline constexpr char kBadItemText[] = "ﾁｬｲﾙﾄﾞﾓｰﾄﾞのｺﾏﾝﾄﾞ不良、中断します";
inline constexpr char kBadItemCaptionFormat[] = "%d 番目のｺﾏﾝﾄﾞ[%s]";

// The line that follows the program name: its arguments joined by single spaces.
[[nodiscard]] std::string JoinArguments(int argc, const char* const* argv);

// Splits the line into items at each "=" (an item starts after the space nearest before
// its "="); trailing spaces of each item are dropped, the first character always kept.
[[nodiscard]] std::vector<std::string> SplitItems(std::string_view line);

// 1 when the line holds at least one item and every item is known; then DfPath,
// PrintName, ProgramType, ColourTagMode are set ("CV=" is accepted and ignored). An unknown item stops the
// interpretation (earlier items keep their effect), fills `warning` and gives 0.
int ParseChildCommandLine(std::string_view line, StartupState& state,
                          std::optional<CommandLineWarning>& warning);
// 1 for a non-empty line: DfPath = the line as it stands.
int TakeCommandLineAsPath(std::string_view line, StartupState& state);

// Sets StartMode from the line (0, 1 or 2); returns the warning to show, if any.
std::optional<CommandLineWarning> ApplyCommandLine(std::string_view line, StartupState& state);

// Final path component; "/" and "\" both separate.
[[nodiscard]] std::string_view FinalComponent(std::string_view path);

}  // namespace tyld::document
