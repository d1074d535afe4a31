#include <algorithm>
#include <filesystem>
#include <fstream>

#include "document/document_buffer.h"

namespace tyld::document {

bool DocumentBuffer::ReadPart(std::int64_t offset, std::int64_t count) {
  const std::int64_t begin = std::max<std::int64_t>(offset, 0);
  const std::int64_t end = std::min<std::int64_t>(offset + count, DocLength);
  if (begin >= end) return true;
  if (Reading()) return false;  // the block is the reader's
  std::ifstream in(std::filesystem::path(std::u8string(DocFullPath.begin(), DocFullPath.end())), std::ios::binary);
  if (!in || !in.seekg(static_cast<std::streamoff>(begin))) return false;
  in.read(reinterpret_cast<char*>(DocData.data() + begin), static_cast<std::streamsize>(end - begin));
  // The final 0x00 is shown as 0x1A, as after a whole load.
  if (ShownNulAt >= begin && ShownNulAt < begin + in.gcount() && !ShownNulWritten)
    DocData[static_cast<std::size_t>(ShownNulAt)] = 0x1A;
  return !in.bad();
}

}  // namespace tyld::document
