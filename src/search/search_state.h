#pragma once
// The search states that outlive their dialogs.
#include <cstdint>

#include "search/byte_search.h"
#include "search/sequence_search.h"
#include "search/string_search.h"

namespace tyld::search {

struct SearchStates {
  StringSearchState strings;
  ByteSearchState bytes;
  SequenceSearchState sequence;
  std::uint32_t ByteMaintenanceStart = 0;  // set to 0 whenever a maintenance window opens
};

}  // namespace tyld::search
