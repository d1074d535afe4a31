#pragma once
// The document's byte blocks: zeroed by the system, untouched pages cost nothing.
#include <cstdint>
#include <vector>

#include "platform/large_block.h"

namespace tyld::document {

using ByteBlock = std::vector<std::uint8_t, platform::LargeBlockAllocator<std::uint8_t>>;

}  // namespace tyld::document
