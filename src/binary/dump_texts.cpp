#include "binary/dump_texts.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace tyld::binary {
namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";
constexpr char kLowerDigits[] = "0123456789abcdef";

// Each byte's two digits, byte b at 2b.
constexpr std::array<char, 512> HexPairs(const char* digits) {
  std::array<char, 512> t{};
  for (int b = 0; b < 256; ++b) {
    t[static_cast<std::size_t>(2 * b)] = digits[b >> 4];
    t[static_cast<std::size_t>(2 * b + 1)] = digits[b & 0xF];
  }
  return t;
}
constexpr std::array<char, 512> kUpperPairs = HexPairs(kUpperDigits);
constexpr std::array<char, 512> kLowerPairs = HexPairs(kLowerDigits);
constexpr char kUpperLabels[] = "+0+1+2+3+4+5+6+7+8+9+A+B+C+D+E+F";
constexpr char kLowerLabels[] = "+0+1+2+3+4+5+6+7+8+9+a+b+c+d+e+f";

}  // namespace

int AddressDigits(std::int64_t length) {
  auto last = static_cast<unsigned long long>(length > 0 ? (length - 1) & ~std::int64_t{15} : 0);
  int digits = 1;
  while (last >>= 4) ++digits;
  return digits < 6 ? 6 : digits;
}

char* PutAddress(char* out, std::int64_t offset, bool lower, int digits) {
  // Once per dump line: a formatted print here cost more than the rest of the line.
  const char* hex = lower ? kLowerDigits : kUpperDigits;
  auto v = static_cast<unsigned long long>(offset);
  for (int i = digits - 1; i >= 0; --i, v >>= 4) out[i] = hex[v & 0xF];
  out[digits] = ':';
  return out + digits + 1;
}

std::string AddressText(std::int64_t offset, bool lower, int digits) {
  char buf[32];
  const auto v = static_cast<unsigned long long>(offset);
  if (digits < 1 || digits > 15 || (v >> (4 * digits)) != 0) {
    std::snprintf(buf, sizeof buf, lower ? "%0*llx:" : "%0*llX:", digits, v);
    return buf;
  }
  return {buf, PutAddress(buf, offset, lower, digits)};
}

std::string_view HexPairTable(bool lower) {
  return {(lower ? kLowerPairs : kUpperPairs).data(), kUpperPairs.size()};
}

std::string_view ByteText(std::uint8_t b, bool lower) {
  return {(lower ? kLowerPairs : kUpperPairs).data() + 2 * static_cast<std::size_t>(b), 2};
}

std::string_view HeaderLabel(int i, bool lower) {
  return {(lower ? kLowerLabels : kUpperLabels) + 2 * (i & 0xF), 2};
}

char HeaderDigit(int j, bool lower) { return (lower ? kLowerDigits : kUpperDigits)[j & 0xF]; }

std::string RangeLineText(std::int64_t first, std::int64_t last, std::int64_t length,
                          std::string_view name) {
  // "ﾊﾞｲﾄ" in half-width katakana, Shift-JIS.
  static constexpr char kBytes[] = "\xCA\xDE\xB2\xC4";
  char head[96];
  std::snprintf(head, sizeof head, "[%06llX-%06llX/%06llX]H [",
                static_cast<unsigned long long>(first), static_cast<unsigned long long>(last),
                static_cast<unsigned long long>(length));
  char tail[48];
  std::snprintf(tail, sizeof tail, "] [%lld]%s", static_cast<long long>(length), kBytes);
  std::string out(head);
  out.append(name);
  out.append(tail);
  return out;
}

FooterTime LocalFooterTime() {
  FooterTime t;
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &tm) == nullptr) return t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  return t;
}

std::string PageNumberText(int pageNumber) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "- %d -", pageNumber);
  return buf;
}

std::string FileNameText(std::string_view name) {
  std::string out = "[";
  out.append(name);
  out.push_back(']');
  return out;
}

std::string DateText(const FooterTime& t) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "[%02d/%02d/%02d,%02d:%02d]", t.year, t.month, t.day, t.hour,
                t.minute);
  return buf;
}

}  // namespace tyld::binary
