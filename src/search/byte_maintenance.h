#pragma once
// Byte maintenance: ten bytes of the loaded data shown from a start address, stepped by
// four scroll bars, and overwritten from ten typed hexadecimal values. Positions at or
// beyond the data read "外" and are never written.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tyld::search {

inline constexpr int kMaintenanceBytes = 10;
inline constexpr std::string_view kOutsideData = "外";

// The four address scroll bars, by the step they make.
enum class AddressBar : std::uint32_t { By1 = 0x1, By10 = 0x10, By100 = 0x100, By1000 = 0x1000 };
enum class ScrollStep { LineUp, LineDown, Other };

// The address edit's text: at most 23 characters take part; leading spaces and '0's are
// skipped, then hexadecimal digits are read up to the first other character. Values past
// 32 bits stay at 0xFFFFFFFF (shown as 外 everywhere).
std::uint32_t ReadMaintenanceAddress(std::string_view text);

// "%08X".
std::string MaintenanceAddressText(std::uint32_t start);

// "0～0x%X" of L − 1 as unsigned 32 bits (so 0～0xFFFFFFFF with no data).
std::string MaintenanceRangeText(std::size_t dataLength);

// "%02X" of the byte at start + 0..9, or 外 outside the data.
std::array<std::string, kMaintenanceBytes> CurrentByteTexts(std::span<const std::uint8_t> data,
                                                            std::uint32_t start);

// One click on a bar, after the address was read: the coarse bars first round the start
// down to their step (also for Other), then a line step moves it when the data allows.
// Upwards the start must stay below L − 1; downwards the 1 bar stops at 0, a coarse bar
// stops at its own step.
std::uint32_t ScrollMaintenanceAddress(std::uint32_t start, std::size_t dataLength,
                                       AddressBar bar, ScrollStep step);

// A new-value text: nothing for an empty or all-space text, or for one holding anything
// but hexadecimal digits and spaces; else every character of the first 11 counts as a
// digit (a space as 0) and the low 8 bits are the value ("A " gives 0xA0, "123" 0x23).
std::optional<std::uint8_t> ReadMaintenanceValue(std::string_view text);

// "データ書替": stores each readable new value whose position lies inside the data.
// Returns how many bytes were written.
int WriteMaintenanceValues(std::span<std::uint8_t> data, std::uint32_t start,
                           const std::array<std::string, kMaintenanceBytes>& values);

}  // namespace tyld::search
