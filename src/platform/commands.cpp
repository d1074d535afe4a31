#include "platform/commands.h"

#include <array>

namespace tyld::platform {
namespace {
std::array<CommandTarget*, static_cast<std::size_t>(Role::kCount)>& Targets() {
  static std::array<CommandTarget*, static_cast<std::size_t>(Role::kCount)> targets{};
  return targets;
}
}  // namespace

void Publish(Role role, CommandTarget* target) { Targets()[static_cast<std::size_t>(role)] = target; }

void Withdraw(Role role, const CommandTarget* target) {
  auto& slot = Targets()[static_cast<std::size_t>(role)];
  if (slot == target) slot = nullptr;
}

CommandTarget* Published(Role role) { return Targets()[static_cast<std::size_t>(role)]; }

bool SendCommand(Role role, int id, std::intptr_t param) {
  CommandTarget* t = Published(role);
  return t != nullptr && t->OnCommand(id, param);
}

}  // namespace tyld::platform
