#include "search/string_search.h"

#include <gtest/gtest.h>

#include "platform/highlight_colour.h"
#include "bytes.h"

namespace tyld::search {
namespace {

using testing::Bytes;
using testing::Dump;

constexpr int kRed = 1, kPurple = 2, kBlue = 4;

struct Entry {
  std::string text;
  int colour;
};

// Confirms a request like the dialog does and matches it over `text`.
std::string Match(std::string_view text, std::vector<Entry> entries,
                  std::vector<std::uint8_t> marks = {}) {
  StringSearchRequest request;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    request.text[i] = entries[i].text;
    request.colour[i] = entries[i].colour;
  }
  StringSearchState state;
  EXPECT_EQ(ConfirmStringSearch(request, state), std::nullopt);
  const auto bytes = Bytes(text);
  if (marks.empty()) marks.assign(bytes.size(), 0xFF);  // stale marks must be cleared
  MatchStrings(bytes, marks, state);
  return Dump(marks);
}

TEST(StringSearch, Matching) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Entry> entries;
    std::string marks;
  };
  const Case cases[] = {
      {"matches of one string do not overlap", "aaaa", {{"aa", kRed}}, "1111"},
      {"the rest after a match is too short", "aaaa", {{"aaa", kRed}}, "1110"},
      {"different strings combine bits", "abc", {{"ab", kBlue}, {"bc", kRed}}, "891"},
      {"case matters", "a", {{"A", kRed}}, "0"},
      {"a string longer than the text", "ab", {{"abc", kRed}}, "00"},
      {"every colour 通常色 clears all marks", "abab", {{"ab", 0}, {"b", 0}}, "0000"},
      {"a single byte is searched", "xyx", {{"x", kPurple}}, "202"},
      {"NUL compares like any byte", std::string("\0\xa0\0", 3), {{std::string("\xa0\0", 2), kRed}}, "011"},
      {"only-space string is not searched", "a  b", {{"  ", kRed}}, "0000"},
      {"leading spaces stay", "x  ab", {{"  ab   ", kRed}}, "01111"},
  };
  for (const auto& c : cases) EXPECT_EQ(Match(c.text, c.entries), c.marks) << c.name;
}

// An occurrence stands on whole characters: it neither starts on the second byte of a
// double-byte character nor ends on the first. Characters are read from each row start.
TEST(StringSearch, MatchesNeverSplitADoubleByteCharacter) {
  struct Case {
    const char* name;
    std::string text;
    std::string pattern;
    std::vector<std::int32_t> rowStarts;
    std::string marks;
  };
  // 82 A0 is "あ", 83 41 is "アA"'s first character "ア" (0x8341), 88 9F "亜".
  const Case cases[] = {
      {"starts on a trail byte", "\x82\xa0\xa0", "\xa0", {}, "001"},
      {"trail byte of ア is A", "\x83\x41" "A", "A", {}, "001"},
      {"straddles two characters", "\x88\x9f\x88\x9f", "\x9f\x88", {}, "0000"},
      {"ends on a lead byte", "x\x88\x9f", "x\x88", {}, "000"},
      {"a real double-byte occurrence", "a\x88\x9f\x82\xa0", "\x88\x9f", {}, "01100"},
      {"after a lone lead byte a new row starts afresh", "\x88" "A\x88\x9f", "A", {1}, "0100"},
      {"without the row start the lone lead takes A", "\x88" "A\x88\x9f", "A", {}, "0000"},
      {"ASCII untouched", "abab", "ab", {0, 2}, "1111"},
  };
  for (const auto& c : cases) {
    StringSearchState state;
    std::copy(c.pattern.begin(), c.pattern.end(), state.SearchText[0].begin());
    state.SearchLength[0] = static_cast<std::int32_t>(c.pattern.size());
    state.SearchColour[0] = kRed;
    const auto bytes = Bytes(c.text);
    std::vector<std::uint8_t> marks(bytes.size(), 0);
    MatchStrings(bytes, marks, state, c.rowStarts);
    EXPECT_EQ(Dump(marks), c.marks) << c.name;
  }
}

TEST(StringSearch, DrawingShowsTheLowestBit) {
  // Text abc, ab in blue and bc in red: a blue, b and c red.
  const auto bytes = Bytes("abc");
  std::vector<std::uint8_t> marks(3);
  StringSearchState state;
  ASSERT_EQ(ConfirmStringSearch({{"ab", "bc", "", ""}, {kBlue, kRed, 0, 0}}, state), std::nullopt);
  MatchStrings(bytes, marks, state);
  const auto colour = [&](std::size_t k) {
    return platform::HighlightColour[static_cast<std::size_t>(platform::HighlightClass(marks[k]))];
  };
  EXPECT_EQ(colour(0), platform::Rgb(0, 0, 255));
  EXPECT_EQ(colour(1), platform::Rgb(255, 0, 0));
  EXPECT_EQ(colour(2), platform::Rgb(255, 0, 0));
}

TEST(StringSearch, MarksShorterThanTextAreNeverOverrun) {
  EXPECT_EQ(Match("abab", {{"ab", kRed}}, std::vector<std::uint8_t>(3, 0xFF)), "110");
}

TEST(StringSearch, TrimmingKeepsTwentyBytes) {
  struct Case {
    std::string typed, stored;
  };
  const Case cases[] = {
      {"abcdefghijklmnopqrstu", "abcdefghijklmnopqrst"},  // 21 bytes typed
      {"ab   ", "ab"},
      {"  ab", "  ab"},
      {"   ", ""},
      {"a b", "a b"},
      {std::string(19, 'x') + "\x82\xa0", std::string(19, 'x') + "\x82"},  // splits a kanji
      {std::string(20, 'y') + "   z", std::string(20, 'y')},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimSearchText(c.typed), c.stored) << c.typed;
}

TEST(StringSearch, ConfirmRefusesAColourWithoutTextButKeepsColours) {
  StringSearchState state;
  ASSERT_EQ(ConfirmStringSearch({{"keep", "", "", ""}, {kRed, 0, 0, 0}}, state), std::nullopt);
  const auto refused = ConfirmStringSearch({{"new", "", "", ""}, {kBlue, 0, kPurple, 0}}, state);
  EXPECT_EQ(refused, kUndefinedCharacter);
  EXPECT_EQ(state.SearchColour, (std::array<std::int32_t, 4>{kBlue, 0, kPurple, 0}));
  EXPECT_EQ(state.Text(0), "keep");  // texts are stored only on success
  EXPECT_EQ(state.SearchLength[0], 4);
  EXPECT_EQ(state.SearchText[0][4], '\0');
}

TEST(StringSearch, CancelKeepsTextsAndOtherBits) {
  StringSearchState state;
  ASSERT_EQ(ConfirmStringSearch({{"ab", "", "", ""}, {kRed, 0, 0, 0}}, state), std::nullopt);
  std::vector<std::uint8_t> marks = {0x1F, 0x21, 0x00};
  CancelStringSearch(marks, state);
  EXPECT_EQ(marks, (std::vector<std::uint8_t>{0x10, 0x20, 0x00}));
  EXPECT_EQ(state.SearchColour, (std::array<std::int32_t, 4>{}));
  EXPECT_EQ(state.Text(0), "ab");
}

}  // namespace
}  // namespace tyld::search
