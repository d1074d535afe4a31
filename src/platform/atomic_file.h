#pragma once
// Writing a whole file so that the target is never left truncated or half-written: the
// bytes go to a new file beside the target, reach the disk, and only then replace it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tyld::platform {

struct FileWriteResult {
  bool ok = false;
  int errorNumber = 0;  // errno of the step that failed
  std::string error;    // "<step> <path>: <system text>", empty on success
};

// Writes `bytes` as the whole content of `path` (UTF-8). An existing target keeps its
// permission bits (and, where allowed, its owner); a symbolic link is followed and its
// target replaced. On failure the temporary file is removed and the target is untouched.
[[nodiscard]] FileWriteResult WriteFileAtomically(const std::string& path,
                                                  std::span<const std::uint8_t> bytes);

// Same, with the low-level write replaced; it behaves like write(2): bytes written, or -1
// with errno set. Tests use it to simulate short writes and full disks.
using ChunkWriter = std::function<long(int fd, const std::uint8_t* data, std::size_t size)>;
[[nodiscard]] FileWriteResult WriteFileAtomically(const std::string& path,
                                                  std::span<const std::uint8_t> bytes,
                                                  const ChunkWriter& writer);

}  // namespace tyld::platform
