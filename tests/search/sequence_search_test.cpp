#include "search/sequence_search.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

#include "bytes.h"

namespace tyld::search {
namespace {

using testing::Dump;

SequenceSearchState Confirmed(SequenceSearchRequest request) {
  SequenceSearchState state;
  EXPECT_EQ(ConfirmSequenceSearch(request, state), std::nullopt);
  return state;
}

TEST(SequenceSearch, Matching) {
  struct Case {
    const char* name;
    SequenceSearchRequest request;
    std::vector<std::uint8_t> data;
    std::vector<std::size_t> found;
    std::string marks;  // one more than the data, as allocated for it
  };
  const Case cases[] = {
      {"two records", {{"0D", "0A", "00"}, 3}, {0x0D, 0x0A, 0x00, 0x0D, 0x0A, 0x00}, {0, 3},
       "2222220"},
      {"overlapping occurrences", {{"41", "41"}, 2}, {0x41, 0x41, 0x41}, {0, 1}, "2220"},
      {"bytes past the count are ignored", {{"41", "99", "99"}, 1}, {0x41, 0x42}, {0}, "200"},
      {"pattern longer than the data", {{"1", "2", "3"}, 3}, {0x01, 0x02}, {}, "000"},
      {"empty data", {{"0"}, 1}, {}, {}, "0"},
  };
  for (const auto& c : cases) {
    auto state = Confirmed(c.request);
    state.ResultAddress = {99};  // a previous search's results are dropped
    std::vector<std::uint8_t> marks(c.data.size() + 1, 0);
    const auto notice = RunSequenceSearch(c.data, marks, state);
    EXPECT_EQ(state.ResultAddress, c.found) << c.name;
    EXPECT_EQ(Dump(marks), c.marks) << c.name;
    EXPECT_EQ(notice, c.found.empty() ? std::optional(kNoOccurrence) : std::nullopt) << c.name;
  }
}

TEST(SequenceSearch, KeepsOtherColourBits) {
  auto state = Confirmed({{"41"}, 1});
  const std::vector<std::uint8_t> data = {0x41, 0x00, 0x00};
  std::vector<std::uint8_t> marks = {0x01, 0x0F, 0x02, 0x00};
  RunSequenceSearch(data, marks, state);
  EXPECT_EQ(marks, (std::vector<std::uint8_t>{0x03, 0x0D, 0x00, 0x00}));
}

TEST(SequenceSearch, LimitOfTwoHundred) {
  struct Case {
    int occurrences;
    std::size_t kept;
    bool message;
  };
  for (const auto& c : {Case{199, 199, false}, Case{200, 200, true}, Case{250, 200, true}}) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(c.occurrences) * 2, 0x00);
    for (std::size_t i = 0; i < data.size(); i += 2) data[i] = 0x7E;
    std::vector<std::uint8_t> marks(data.size() + 1);
    auto state = Confirmed({{"7e"}, 1});
    const auto notice = RunSequenceSearch(data, marks, state);
    EXPECT_EQ(state.ResultAddress.size(), c.kept) << c.occurrences;
    EXPECT_EQ(state.ResultAddress.back(), (c.kept - 1) * 2) << c.occurrences;
    if (c.message) {
      ASSERT_TRUE(notice.has_value());
      EXPECT_EQ(notice->text, "該当数が想定数(200) に達しましたので途中で打ち切りました");
      EXPECT_EQ(notice->caption, "確認");
    } else {
      EXPECT_EQ(notice, std::nullopt);
    }
    // Occurrences after the limit are not marked.
    EXPECT_EQ(marks[(c.kept - 1) * 2], 0x02);
    if (c.kept * 2 < data.size()) {
      EXPECT_EQ(marks[c.kept * 2], 0x00);
    }
  }
}

TEST(SequenceSearch, ConfirmRefusals) {
  SequenceSearchState state;
  state.PatternLength = 3;
  EXPECT_EQ(ConfirmSequenceSearch({{"", "41"}, 2}, state), kFirstByteEmpty);
  EXPECT_EQ(state.PatternByte[1], 0);  // nothing stored
  for (const int count : {0, -1, 9, 1000}) {
    EXPECT_EQ(ConfirmSequenceSearch({{"41", "4", "zz"}, count}, state), kInvalidByteCount);
    EXPECT_EQ(state.PatternLength, 3) << count;  // a bad count never reaches the state
  }
  EXPECT_EQ(state.PatternByte[0], 0x41);  // the bytes were stored before the count check
  EXPECT_EQ(state.PatternByte[1], 0x04);
  EXPECT_EQ(state.PatternByte[2], 0x00);
}

TEST(SequenceSearch, ByteCountScrollStaysWithinOneToEight) {
  struct Case {
    int from;
    bool up;
    int to;
  };
  const Case cases[] = {{1, false, 1}, {1, true, 2}, {8, true, 8}, {8, false, 7},
                        {12, false, 8}, {-3, true, 1}};
  for (const auto& c : cases) EXPECT_EQ(StepPatternLength(c.from, c.up), c.to) << c.from;
}

TEST(SequenceSearch, ListLinesAndResultFileBytes) {
  SequenceSearchState state;
  state.ResultAddress = {0, 3, 0xABCDEF, 0x1000000};
  EXPECT_EQ(ResultListLine(1, 3), "Sr=  1  Adr= 0x000003");
  EXPECT_EQ(ResultListLine(200, 0x1234567), "Sr=200  Adr= 0x1234567");
  EXPECT_EQ(ResultFileText(state),
            "Sr=  0 Adr= 0x000000\r\n"
            "Sr=  1 Adr= 0x000003\r\n"
            "Sr=  2 Adr= 0xABCDEF\r\n"
            "Sr=  3 Adr= 0x1000000\r\n");

  const auto dir = std::filesystem::temp_directory_path() / ("tyld_seq_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto path = (dir / "result.txt").string();
  ASSERT_TRUE(WriteResultFile(path, state).ok);
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), ResultFileText(state));

  state.ResultAddress.clear();  // no results: an empty file, still a success
  ASSERT_TRUE(WriteResultFile(path, state).ok);
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tyld::search
