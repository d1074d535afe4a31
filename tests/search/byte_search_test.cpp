#include "search/byte_search.h"

#include <gtest/gtest.h>

#include "bytes.h"
#include "search/hex_text.h"
#include "search/sequence_search.h"

namespace tyld::search {
namespace {

using testing::Dump;

TEST(ByteSearch, ParseHexByte) {
  struct Case {
    std::string_view text;
    int value;
  };
  const Case cases[] = {
      {"a", 0x0A}, {"0a", 0x0A}, {"0A", 0x0A}, {"Ff", 0xFF}, {"g1", 0},   {"1g", 0},
      {"", 0},     {"7", 0x07},  {"g", 0},     {"12x", 0x12}, {" 1", 0}, {"1 ", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHexByte(c.text), c.value) << c.text;
}

struct Fixture {
  ByteSearchState state;
  std::vector<std::uint8_t> data = {0x00, 0x41, 0x41, 0x42};
  std::vector<std::uint8_t> marks = std::vector<std::uint8_t>(5, 0);  // data length + 1
};

TEST(ByteSearch, Matching) {
  struct Case {
    const char* name;
    ByteSearchRequest request;
    std::string marks;
  };
  const Case cases[] = {
      {"same byte twice: both bits, red drawn", {{"41", "41", "", ""}, {1, 4, 0, 0}}, "09900"},
      {"通常色 entry is stored but not marked", {{"41", "42", "", ""}, {0, 3, 0, 0}}, "00040"},
      {"empty text without colour reads 00", {{"", "", "", "42"}, {0, 0, 0, 2}}, "00020"},
      {"byte 00 is found like any other", {{"0", "", "", ""}, {1, 0, 0, 0}}, "10000"},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.marks.assign(5, 0xFF);  // stale colours and sequence marks are all replaced
    ASSERT_EQ(ConfirmByteSearch(c.request, f.state), std::nullopt) << c.name;
    MatchBytes(f.data, f.marks, f.state);
    EXPECT_EQ(Dump(f.marks), c.marks) << c.name;
  }
}

TEST(ByteSearch, ConfirmRefusalStoresOnlyColours) {
  ByteSearchState state;
  state.SearchByte = {1, 2, 3, 4};
  EXPECT_EQ(ConfirmByteSearch({{"41", "", "", ""}, {1, 2, 0, 0}}, state), kUndefinedCharacter);
  EXPECT_EQ(state.ByteColour, (std::array<std::int32_t, 4>{1, 2, 0, 0}));
  EXPECT_EQ(state.SearchByte, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(state.ByteSearchActive, 0);
}

TEST(ByteSearch, TitleAndCancel) {
  Fixture f;
  ASSERT_EQ(ConfirmByteSearch({{"0a", "ff", "0D", "1"}, {3, 0, 1, 0}}, f.state), std::nullopt);
  EXPECT_EQ(f.state.ByteSearchActive, 1);
  EXPECT_EQ(ByteSearchTitle(f.state), "ﾊﾞｲﾄｻｰﾁ中 [0A h0D h]");

  f.marks = {1, 2, 4, 8, 3};
  CancelByteSearch(f.marks, f.state);
  EXPECT_EQ(Dump(f.marks), "00000");
  EXPECT_EQ(f.state.ByteSearchActive, 0);
  EXPECT_EQ(ByteSearchTitle(f.state), "");
  EXPECT_EQ(HexByteText(f.state.SearchByte[0]), "0A");  // values stay for the next opening

  ASSERT_EQ(ConfirmByteSearch({{"41", "", "", ""}, {0, 0, 0, 0}}, f.state), std::nullopt);
  EXPECT_EQ(f.state.ByteSearchActive, 0);
}

TEST(ByteSearch, RemovesSequenceMarks) {
  Fixture f;
  SequenceSearchState seq;
  ASSERT_EQ(ConfirmSequenceSearch({{"41", "42"}, 2}, seq), std::nullopt);
  RunSequenceSearch(f.data, f.marks, seq);
  ASSERT_EQ(Dump(f.marks), "00220");
  ASSERT_EQ(ConfirmByteSearch({{"00", "", "", ""}, {3, 0, 0, 0}}, f.state), std::nullopt);
  MatchBytes(f.data, f.marks, f.state);
  EXPECT_EQ(Dump(f.marks), "40000");
}

}  // namespace
}  // namespace tyld::search
