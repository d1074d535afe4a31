#pragma once
// Comparisons of mail keywords, which ignore the case of ASCII letters only.
#include <cstddef>
#include <string_view>

namespace tyld::mail {

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(s[i]) != AsciiLower(prefix[i])) return false;
  return true;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

inline std::size_t FindNoCase(std::string_view s, std::string_view needle) {
  if (needle.empty() || s.size() < needle.size()) return std::string_view::npos;
  for (std::size_t i = 0; i + needle.size() <= s.size(); ++i)
    if (AsciiLower(s[i]) == AsciiLower(needle[0]) && StartsWithNoCase(s.substr(i), needle)) return i;
  return std::string_view::npos;
}

}  // namespace tyld::mail
