#include "platform/font_description.h"

#include <algorithm>
#include <cstring>

namespace tyld::platform {

const char* const kDefaultFaceSjis = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

void FontDescription::SetFace(const std::string& sjis) {
  std::memset(faceName, 0, sizeof faceName);
  std::memcpy(faceName, sjis.data(), std::min(sjis.size(), sizeof faceName - 1));
}

std::string FontDescription::Face() const {
  return std::string(faceName, strnlen(faceName, sizeof faceName));
}

}  // namespace tyld::platform
