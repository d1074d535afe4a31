#include "search/byte_maintenance.h"


#include "search/hex_text.h"

namespace tyld::search {
namespace {

constexpr std::size_t kAddressChars = 23;
constexpr std::size_t kValueChars = 11;

bool Inside(std::size_t dataLength, std::uint64_t position) { return position < dataLength; }

}  // namespace

std::uint32_t ReadMaintenanceAddress(std::string_view text) {
  text = text.substr(0, kAddressChars);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '0')) ++i;
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int d = HexDigitValue(text[i]);
    if (d < 0) break;
    value = value * 16 + static_cast<std::uint64_t>(d);
    if (value > 0xFFFFFFFFu) return 0xFFFFFFFFu;
  }
  return static_cast<std::uint32_t>(value);
}

std::string MaintenanceAddressText(std::uint32_t start) { return FormatNumber("%08X", start); }

std::string MaintenanceRangeText(std::size_t dataLength) {
  return FormatNumber("0～0x%X", static_cast<std::uint32_t>(dataLength - 1));
}

std::array<std::string, kMaintenanceBytes> CurrentByteTexts(std::span<const std::uint8_t> data,
                                                            std::uint32_t start) {
  std::array<std::string, kMaintenanceBytes> texts;
  for (int i = 0; i < kMaintenanceBytes; ++i) {
    const std::uint64_t pos = std::uint64_t{start} + static_cast<std::uint64_t>(i);
    texts[i] = Inside(data.size(), pos) ? HexByteText(data[pos]) : std::string(kOutsideData);
  }
  return texts;
}

std::uint32_t ScrollMaintenanceAddress(std::uint32_t start, std::size_t dataLength,
                                       AddressBar bar, ScrollStep step) {
  const auto size = static_cast<std::int64_t>(bar);
  std::int64_t s = start;
  if (bar != AddressBar::By1) s -= s % size;
  const std::int64_t last = static_cast<std::int64_t>(dataLength) - 1;
  if (step == ScrollStep::LineUp && s + size < last + (bar == AddressBar::By1 ? 1 : 0)) {
    s += size;
  } else if (step == ScrollStep::LineDown && s > (bar == AddressBar::By1 ? 0 : size)) {
    s -= size;
  }
  return static_cast<std::uint32_t>(s);
}

std::optional<std::uint8_t> ReadMaintenanceValue(std::string_view text) {
  text = text.substr(0, kValueChars);
  if (text.find_first_not_of(' ') == std::string_view::npos) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    const int d = c == ' ' ? 0 : HexDigitValue(c);
    if (d < 0) return std::nullopt;
    value = (value * 16 + static_cast<unsigned>(d)) & 0xFFu;
  }
  return static_cast<std::uint8_t>(value);
}

int WriteMaintenanceValues(std::span<std::uint8_t> data, std::uint32_t start,
                           const std::array<std::string, kMaintenanceBytes>& values) {
  int written = 0;
  for (int i = 0; i < kMaintenanceBytes; ++i) {
    const std::uint64_t pos = std::uint64_t{start} + static_cast<std::uint64_t>(i);
    if (!Inside(data.size(), pos)) continue;
    if (const auto v = ReadMaintenanceValue(values[i])) {
      data[pos] = *v;
      ++written;
    }
  }
  return written;
}

}  // namespace tyld::search
