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
// permission bits, owner, group and extended attributes where allowed; a symbolic link is
// followed and its target replaced. On failure the temporary file is removed and the
// target is untouched. The temporary file is ".<name>.tyld-save-XXXXXX" beside the
// target; ones left by an earlier, interrupted save of the same target are removed.
[[nodiscard]] FileWriteResult WriteFileAtomically(const std::string& path,
                                                  std::span<const std::uint8_t> bytes);

// Same, with the low-level write replaced; it behaves like write(2): bytes written, or -1
// with errno set. Tests use it to simulate short writes and full disks.
using ChunkWriter = std::function<long(int fd, const std::uint8_t* data, std::size_t size)>;
[[nodiscard]] FileWriteResult WriteFileAtomically(const std::string& path,
                                                  std::span<const std::uint8_t> bytes,
                                                  const ChunkWriter& writer);

// How a save of the target has to go, found before anything is written.
enum class SaveWay {
  Refused,   // the user may not write the target (or create it); nothing may be written
  Replace,   // a new file beside the target replaces it: old or new, never a mixture
  InPlace,   // only rewriting the file itself keeps it as it is; an interruption damages it
};
// Why a replacement would not keep the file as it is.
enum class InPlaceReason { None, FolderNotWritable, HardLinks, Ownership, NoRoom };

struct SavePlan {
  SaveWay way = SaveWay::Refused;
  InPlaceReason reason = InPlaceReason::None;
  FileWriteResult refusal;  // errno and text when Refused
};

// Decides how `size` bytes can be saved to `path` (a symbolic link is followed).
[[nodiscard]] SavePlan PlanSave(const std::string& path, std::uint64_t size);

// Rewrites the existing file itself: the same inode, links, owner, group and mode. Room
// for the new size is reserved first, so a full disk fails before a byte is written.
[[nodiscard]] FileWriteResult WriteFileInPlace(const std::string& path,
                                               std::span<const std::uint8_t> bytes);
[[nodiscard]] FileWriteResult WriteFileInPlace(const std::string& path,
                                               std::span<const std::uint8_t> bytes,
                                               const ChunkWriter& writer);

}  // namespace tyld::platform
