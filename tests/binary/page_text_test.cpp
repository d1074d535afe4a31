#include "binary/page_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "binary/binary_layout.h"
#include "binary/dump_texts.h"
#include "platform/codepage.h"

namespace tyld::binary {
namespace {

settings::BinaryPageFormat Grid(int columns, int blocks) {
  settings::BinaryPageFormat f;
  f.BinColumns = columns;
  f.BinBlocksPerColumn = blocks;
  return f;
}

PageTextOptions Options() {
  PageTextOptions o;
  o.footerName = "a.bin";
  o.time = {2026, 12, 8, 23, 45};
  return o;
}

TEST(PageText, LinesAsDrawn) {
  std::vector<std::uint8_t> data(300, 'a');
  const std::uint8_t line[] = {'H', 'e', 'l', 'l', 'o', 0x0D, 0x0A, 0x82, 0xA0, 0x1B};
  std::copy(std::begin(line), std::end(line), data.begin() + 256);
  const std::string text = BinaryPageText(Grid(1, 1), {data, {}, "a.bin"}, 1, Options());
  EXPECT_EQ(text,
            "=== page 2 ===\n"
            "[000100-00012B/00012C]H [a.bin] [300]ﾊﾞｲﾄ\n"
            "--- column 1 ---\n"
            "Address +0 +1 +2 +3 +4 +5 +6 +7  +8 +9 +A +B +C +D +E +F  0123456789ABCDEF\n"
            "000100: 48 65 6C 6C 6F 0D 0A 82  A0 1B 61 61 61 61 61 61  Hello↓あ･aaaaaa\n"
            "000110: 61 61 61 61 61 61 61 61  61 61 61 61 61 61 61 61  aaaaaaaaaaaaaaaa\n"
            "000120: 61 61 61 61 61 61 61 61  61 61 61 61              aaaaaaaaaaaa\n"
            "--- footer ---\n"
            "- 2 -\n"
            "[a.bin]\n"
            "[2026/12/08,23:45]\n");
}

// The address field widens to the digits the file needs and keeps one blank before the
// first byte; headings and bytes move with it.
TEST(PageText, LongAddressesNeverTouchTheFirstByte) {
  const struct {
    std::int64_t lastLine;
    int digits;
    const char* line;
  } cases[] = {
      {0xFFFFF0, 6, "FFFFF0: 00 00"},
      {0x1000000, 7, "1000000: 00 00"},
      {0x10000000, 8, "10000000: 00 00"},
      {0x7FFFFFF0, 8, "7FFFFFF0: 00 00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto length = static_cast<std::size_t>(c.lastLine + 16);
    EXPECT_EQ(AddressDigits(static_cast<std::int64_t>(length)), c.digits);
    // calloc: the pages of a big zero block are only mapped when touched.
    const std::unique_ptr<std::uint8_t, decltype(&std::free)> block(
        static_cast<std::uint8_t*>(std::calloc(length, 1)), &std::free);
    ASSERT_NE(block, nullptr);
    const std::span<const std::uint8_t> data(block.get(), length);
    const settings::BinaryPageFormat fmt = Grid(1, 1);
    const std::int32_t last = DumpPaging(static_cast<std::int64_t>(length), fmt).PageCount() - 1;
    const std::string text = BinaryPageText(fmt, {data, {}, "big.bin"}, last, Options());
    const std::size_t at = text.find(c.line);
    ASSERT_NE(at, std::string::npos) << text;
    const std::size_t heading = text.find("Address");
    const std::size_t firstByte = text.find(": ", at) + 2 - at;
    EXPECT_EQ(text.substr(heading + firstByte, 2), "+0");
    EXPECT_EQ(text[at - 1], '\n');  // the address starts its line
  }
  EXPECT_EQ(AddressDigits(0), 6);
  EXPECT_EQ(AddressDigits(0x1000000), 6);      // last line at FFFFF0
  EXPECT_EQ(AddressDigits(0x1000001), 7);
  EXPECT_EQ(AddressText(0x1A, true, 8), "0000001a:");
}

TEST(PageText, FooterCarriesTheNumberPrinted) {
  const std::vector<std::uint8_t> data(600, 'a');
  PageTextOptions o = Options();
  o.pageNumber = 10;  // a print range numbered from 10, as the drawn footer shows it
  EXPECT_NE(BinaryPageText(Grid(1, 1), {data, {}, "a.bin"}, 2, o).find("--- footer ---\n- 10 -\n"),
            std::string::npos);
  o.pageNumbers = false;
  EXPECT_EQ(BinaryPageText(Grid(1, 1), {data, {}, "a.bin"}, 2, o).find("- 10 -"), std::string::npos);
}

TEST(PageText, LowerCaseColumnsAndPairsAcrossLines) {
  std::vector<std::uint8_t> data(600, 0x1A);
  data[271] = 0x88;  // a pair across lines 0x100 and 0x110, in the second column
  data[272] = 0x9F;
  settings::BinaryPageFormat fmt = Grid(2, 1);
  fmt.BinHexCase = 1;
  fmt.BinDateMode = fmt.BinPageNoMode = fmt.BinFileNameMode = 0;
  const std::string text = BinaryPageText(fmt, {data, {}, "a.bin"}, 0, Options());
  EXPECT_NE(text.find("--- column 2 ---\nAddress +0 +1 +2 +3 +4 +5 +6 +7  +8 +9 +a +b"),
            std::string::npos);
  EXPECT_NE(text.find("0123456789abcdef\n"), std::string::npos);
  EXPECT_NE(text.find("0000f0: 1a 1a"), std::string::npos);
  EXPECT_NE(text.find(" 1a 88  ...............\xE4\xBA\x9C\n"), std::string::npos);  // 亜
  EXPECT_NE(text.find("000110: 9f 1a"), std::string::npos);
  EXPECT_NE(text.find("  ...............\n000120:"), std::string::npos);  // carried blank
  EXPECT_TRUE(text.ends_with("--- footer ---\n"));
}

TEST(PageText, EveryPageOfTheDocument) {
  std::vector<std::uint8_t> data(257, 'x');
  const std::string text = BinaryDocumentText(Grid(1, 1), {data, {}, "a.bin"}, Options());
  EXPECT_NE(text.find("=== page 1 ===\n[000000-0000FF/000101]H"), std::string::npos);
  EXPECT_NE(text.find("=== page 2 ===\n[000100-000100/000101]H"), std::string::npos);
  EXPECT_EQ(text.find("=== page 3 ==="), std::string::npos);
  EXPECT_EQ(BinaryDocumentText(Grid(1, 1), {{}, {}, "a.bin"}, Options()), "");
}

// The character column is read as one text: a pair without a character (0x85 0x88) leaves
// its second byte to pair with the next cell (0x88 0x9F is 亜), as the painter's text run
// does. Random bytes check every line against decoding the joined cells.
TEST(PageText, CharacterColumnReadsTheCellsAsOneText) {
  std::vector<std::uint8_t> data(64 * 1024, 'a');
  const std::uint8_t line[] = {0x85, 0x88, 0x9F, 0x40};
  std::copy(std::begin(line), std::end(line), data.begin());
  const settings::BinaryPageFormat fmt = Grid(1, 1);
  EXPECT_NE(BinaryPageText(fmt, {data, {}, "a.bin"}, 0, Options()).find("  \u0085亜@aaaaaaaaaaaa\n"),
            std::string::npos);

  std::srand(7);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(std::rand() >> 4);
  struct Joined final : PageVisitor {
    std::string text;
    void Column(std::int32_t) override {}
    void Block(const DumpBlock& block) override {
      for (int l = 0; l < block.lineCount; ++l) {
        std::string sjis;
        for (int i = 0; i < block.lines[l].cellCount; ++i) sjis += block.lines[l].cells[i].Text();
        std::string utf8 = platform::codepage::ToUtf8(sjis);
        while (!utf8.empty() && utf8.back() == ' ') utf8.pop_back();
        text += utf8 + "\n";
      }
    }
  };
  const std::int32_t pages = DumpPaging(static_cast<std::int64_t>(data.size()), fmt).PageCount();
  for (std::int32_t page = 0; page < pages; ++page) {
    Joined joined;
    WalkPage(data, {}, fmt, page, joined);
    const std::string text = BinaryPageText(fmt, {data, {}, "a.bin"}, page, Options());
    std::string shown;
    for (std::size_t at = text.find("\n0"); at != std::string::npos; at = text.find("\n0", at + 1)) {
      const std::size_t end = text.find('\n', at + 1);
      shown += text.substr(at + 1 + 58, end - at - 1 - 58) + "\n";
    }
    ASSERT_EQ(shown, joined.text) << "page " << page;
  }
}

}  // namespace
}  // namespace tyld::binary
