#pragma once
// Test helpers: expected Shift-JIS written as UTF-8 literals.
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace tyld::mail::test {

inline std::string Sjis(std::string_view utf8) { return platform::codepage::FromUtf8(utf8); }

inline constexpr std::string_view kSubstitute = "\x81\x45";
inline std::string Sub() { return std::string(kSubstitute); }

}  // namespace tyld::mail::test
