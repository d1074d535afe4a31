#include "search/search_state.h"

namespace tyld::search {

SearchStates& Searches() {
  static SearchStates states;
  return states;
}

}  // namespace tyld::search
