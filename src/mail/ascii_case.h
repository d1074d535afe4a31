#pragma once
// Comparisons of mail keywords, which ignore the case of ASCII letters only, and the
// small character tests the header and body parsers share.
#include <cstddef>
#include <string_view>

namespace tyld::mail {

// Space and TAB: the white space of header fields.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The value of a decimal digit, or of a hexadecimal one (either case) when hex; -1 else.
inline int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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
