#include "settings/page_format.h"

namespace tyld::settings {

LiveSettings& Live() {
  static LiveSettings live;
  return live;
}

}  // namespace tyld::settings
