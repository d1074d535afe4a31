#include "search/position_calculator.h"

#include <gtest/gtest.h>

namespace tyld::search {
namespace {

TEST(PositionCalculator, DecimalToHex) {
  struct Case {
    std::string_view text;
    std::string hex;
  };
  const Case cases[] = {
      {"256", "100"}, {"", "0"},  {"abc", "0"},       {"  +42x", "2A"},
      {"-5", "0"},    {"4294967295", "FFFFFFFF"},     {"99999999999999999999", "FFFFFFFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(HexPositionText(ReadDecimalPosition(c.text)), c.hex) << c.text;
}

TEST(PositionCalculator, HexToDecimal) {
  struct Case {
    std::string_view text;
    std::string decimal;
  };
  const Case cases[] = {
      {"ff", "255"},         {"FF", "255"},  {"1G", "16"}, {"", "0"},
      {"100000000", "0"},    // 32-bit wrap
      {"FFFFFFFF", "4294967295"},
      {std::string_view("0000000000000000000000000000000F"), "0"},  // 32nd character cut
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalPositionText(ReadHexPosition(c.text)), c.decimal) << c.text;
  }
}

}  // namespace
}  // namespace tyld::search
