#pragma once
// Synchronous command routing between windows: each window publishes itself as the
// target of its role; a command sent to a role nobody has published is skipped.
#include <cstdint>

namespace tyld::platform {

class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // Returns true when the id was handled.
  virtual bool OnCommand(int id, std::intptr_t param) = 0;
  // Whether a menu or tool bar command of this target can run now (greyed otherwise).
  [[nodiscard]] virtual bool IsCommandEnabled(int /*id*/) const { return false; }
};

enum class Role { MainFrame, AscDraw, BinView, AscFormDialog, BinFormDialog, kCount };

// Publishes (or, with nullptr, withdraws) the target of a role. Newer targets replace older.
void Publish(Role role, CommandTarget* target);
// Withdraws the role only when it is still published by this target.
void Withdraw(Role role, const CommandTarget* target);
[[nodiscard]] CommandTarget* Published(Role role);
// Sends the command to the published target; false when none is published or unhandled.
bool SendCommand(Role role, int id, std::intptr_t param = 0);

}  // namespace tyld::platform
