#include "search/byte_maintenance.h"

#include <gtest/gtest.h>
#include <numeric>

namespace tyld::search {
namespace {

std::vector<std::uint8_t> Data(std::size_t length) {
  std::vector<std::uint8_t> data(length);
  std::iota(data.begin(), data.end(), std::uint8_t{0});
  return data;
}

TEST(ByteMaintenance, AddressReading) {
  struct Case {
    std::string_view text;
    std::uint32_t value;
    std::string shown;
  };
  const Case cases[] = {
      {"000010", 0x10, "00000010"},
      {"  1f8", 0x1F8, "000001F8"},
      {"", 0, "00000000"},
      {"0 0 1", 0x1, "00000001"},       // spaces and zeros alike are skipped at the front
      {"12G4", 0x12, "00000012"},       // reading stops at a non-digit
      {"7FFFFFFF", 0x7FFFFFFF, "7FFFFFFF"},
      {"80000000", 0x80000000, "80000000"},
      {"123456789", 0xFFFFFFFF, "FFFFFFFF"},  // past 32 bits: beyond any data
      {"000000000000000000000001", 0, "00000000"},  // the 24th character does not take part
  };
  for (const auto& c : cases) {
    const auto v = ReadMaintenanceAddress(c.text);
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(MaintenanceAddressText(v), c.shown) << c.text;
  }
}

TEST(ByteMaintenance, RangeAndCurrentBytes) {
  const auto data = Data(0x200);
  EXPECT_EQ(MaintenanceRangeText(data.size()), "0～0x1FF");
  EXPECT_EQ(MaintenanceRangeText(0), "0～0xFFFFFFFF");

  const auto shown = CurrentByteTexts(data, 0x1F8);
  const std::array<std::string, 10> expected = {"F8", "F9", "FA", "FB", "FC",
                                                "FD", "FE", "FF", "外", "外"};
  EXPECT_EQ(shown, expected);
  for (const auto start : {0u, 0xFFFFFFF9u, 0xFFFFFFFFu}) {
    for (const auto& t : CurrentByteTexts({}, start)) EXPECT_EQ(t, "外") << start;
  }
}

TEST(ByteMaintenance, Scrolling) {
  using enum AddressBar;
  using enum ScrollStep;
  struct Case {
    std::uint32_t start;
    std::size_t length;
    AddressBar bar;
    ScrollStep step;
    std::uint32_t result;
  };
  const Case cases[] = {
      {0x1FE, 0x200, By1, LineUp, 0x1FF},
      {0x1FF, 0x200, By1, LineUp, 0x1FF},       // refused at the last byte
      {0x1, 0x200, By1, LineDown, 0x0},         // the 1 bar reaches 0
      {0x0, 0x200, By1, LineDown, 0x0},
      {0x1E0, 0x200, By10, LineUp, 0x1F0},
      {0x1F0, 0x200, By10, LineUp, 0x1F0},      // refused: 0x200 is not below 0x1FF
      {0x15, 0x200, By10, LineDown, 0x10},      // rounds to 0x10, never steps to 0
      {0x15, 0x200, By10, Other, 0x10},         // rounding happens on any click
      {0x15, 0x200, By1, Other, 0x15},
      {0x25, 0x200, By10, LineDown, 0x10},
      {0x1234, 0x10000, By100, LineUp, 0x1300},
      {0x1234, 0x10000, By1000, LineDown, 0x1000},  // 0x1000 is not above 0x1000
      {0x2345, 0x10000, By1000, LineDown, 0x1000},
      {0x0, 0, By1, LineUp, 0x0},               // no data: no step upwards
      {0x0, 0, By1000, LineUp, 0x0},
      {0xFFFFFFFF, 0x200, By1, LineUp, 0xFFFFFFFF},
      {0xFFFFFFFF, 0x200, By1, LineDown, 0xFFFFFFFE},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrollMaintenanceAddress(c.start, c.length, c.bar, c.step), c.result)
        << std::hex << c.start << " bar " << static_cast<int>(c.bar);
  }
}

TEST(ByteMaintenance, NewValueReading) {
  struct Case {
    std::string_view text;
    std::optional<std::uint8_t> value;
  };
  const Case cases[] = {
      {"ff", 0xFF},  {"f", 0x0F},    {"A ", 0xA0},  {" A", 0x0A},  {"123", 0x23},
      {"", {}},      {"  ", {}},     {"g", {}},     {"1g", {}},    {"0x1", {}},
      {"1234567890AB", 0x0A},  // only the first 11 characters take part
  };
  for (const auto& c : cases) EXPECT_EQ(ReadMaintenanceValue(c.text), c.value) << c.text;
}

TEST(ByteMaintenance, WriteChangesOnlyBytesInsideTheData) {
  auto data = Data(0x200);
  const auto before = data;
  std::array<std::string, 10> values;
  values.fill("ab");
  values[2] = "  ";   // left as it is
  values[3] = "zz";   // refused
  EXPECT_EQ(WriteMaintenanceValues(data, 0x1F8, values), 6);
  for (std::size_t i = 0; i < data.size(); ++i) {
    const bool written = i >= 0x1F8 && i != 0x1FA && i != 0x1FB;
    EXPECT_EQ(data[i], written ? 0xAB : before[i]) << i;
  }
  std::vector<std::uint8_t> empty;
  EXPECT_EQ(WriteMaintenanceValues(empty, 0, values), 0);
  EXPECT_EQ(WriteMaintenanceValues(data, 0xFFFFFFFF, values), 0);
}

}  // namespace
}  // namespace tyld::search
