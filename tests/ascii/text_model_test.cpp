#include "ascii/text_model.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace tyld::ascii {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Rows as text: blocks joined by "|", a block of another colour than black gets "@RRGGBB"
// (the COLORREF in hex).
std::vector<std::string> Rows(const TextModel& m) {
  std::vector<std::string> out;
  for (const TextRow& row : m.TextRows()) {
    std::string s;
    for (int b = 0; b < row.BlockCount; ++b) {
      const TextBlock& block = m.TextBlocks()[static_cast<std::size_t>(row.FirstBlock + b)];
      if (b > 0) s += "|";
      s += m.BlockText(block);
      if (block.Color != 0) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "@%06X", block.Color);
        s += buf;
      }
    }
    out.push_back(s);
  }
  return out;
}

// The tables hang together: blocks tile LcBuf in order, rows tile the blocks, pages the rows.
void ExpectConsistent(const TextModel& m) {
  std::int64_t offset = 0;
  for (const TextBlock& b : m.TextBlocks()) {
    ASSERT_EQ(b.Offset, offset);
    ASSERT_GT(b.Length, 0);
    offset += b.Length;
  }
  EXPECT_EQ(offset, m.LcBufUsed());
  EXPECT_EQ(m.LcMark().size(), m.LcBuf().size());
  std::int32_t next = 0;
  for (const TextRow& r : m.TextRows()) {
    ASSERT_EQ(r.FirstBlock, next);
    ASSERT_GE(r.BlockCount, 0);
    next += r.BlockCount;
  }
  EXPECT_EQ(next, m.BlockCount());
  EXPECT_EQ(m.TotalRows(), m.RowCount());
  if (m.RowCount() > 0) {
    ASSERT_EQ(m.PageStarts().size(), static_cast<std::size_t>(m.ColumnPageCount()) + 1);
    EXPECT_EQ(m.PageStarts().back(), m.RowCount());
  }
}

struct RowCase {
  const char* name;
  std::string input;
  std::vector<std::string> rows;
  int perLine = 10;
  int tab = 8;
  int tags = 0;
};

TEST(TextModel, RowsFromLinesTabsTagsAndOddBytes) {
  const std::string x1024(1024, 'x');
  const std::vector<RowCase> cases = {
      {"line ends", "ab\r\ncd\nef\rgh", {"ab", "cd", "ef", "gh"}},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"trailing line end", "a\n", {"a"}},
      {"row of N+1 then empty", "abcde", {"abcde", ""}, 4},
      {"one more char", "abcdef", {"abcde", "f"}, 4},
      {"pair kept whole", "abcd\x82\xa0z", {"abcd\x82\xa0", "z"}, 4},
      {"pair ending at N", "abc\x82\xa0z", {"abc\x82\xa0", "z"}, 4},
      {"tab after letter", "a\tb", {"a       b"}, 40},
      {"tab at multiple", "12345678\tb", {"12345678        b"}, 40},
      {"tab width 0 counts as 1", "a\tb", {"a b"}, 40, 0},
      {"only tabs", "\t\t\t", {std::string(11, ' '), std::string(11, ' '), std::string(2, ' ')}},
      {"ESC and NUL shown", std::string("a\x1b\0b", 4), {std::string("a\x1b\0b", 4)}},
      {"0x1A alone", "\x1a", {""}},
      {"0x1A ends a line", "a\x1a" "b\n\x1a" "c", {"a", "b", "", "c"}},
      {"lone lead byte at end", "ab\x82", {"ab\x82"}},
      {"lead with bad trail", "\x82\x20\x82\x41", {"\x82\x20\x82\x41"}},
      {"line of the piece size", x1024 + "\ny", {x1024, "y"}, 2000},
      {"long line goes on", x1024 + "yz", {x1024, "yz"}, 2000},
      // Tags only with the tag mode.
      {"tag is text without mode", "<font color=#ff0000>ab", {"<font colo", "r=#ff0000>", "ab"}, 9},
      {"lower-case quoted", "<font color=\"#ff0000\">abc", {"abc@0000FF"}, 10, 8, 1},
      {"upper-case", "<FONT COLOR=#FF0000>abc", {"abc@0000FF"}, 10, 8, 1},
      {"three digits", "<font color=#F00>abc", {"abc@000F00"}, 10, 8, 1},
      {"text before tag", "xy<font color=#0000ff>z", {"xy|z@FF0000"}, 10, 8, 1},
      {"colour carries over", "<font color=#00ff00>a\nb", {"a@00FF00", "b@00FF00"}, 10, 8, 1},
      {"row of tags only", "<font color=#00ff00><font color=#0000ff>", {""}, 10, 8, 1},
      {"unterminated", "<font color=#ff0000 ab", {"<font color=#ff0000 ab"}, 40, 8, 1},
      {"no hash", "<font color=red>ab", {"<font color=red>ab"}, 40, 8, 1},
      {"closing tag alone", "a</font>b", {"a</font>b"}, 40, 8, 1},
      {"closing tag before a tag", "a</font><font color=#0000ff>b", {"a|b@FF0000"}, 40, 8, 1},
      {"tag restarts the count", "ab<font color=#ff0000>defg", {"ab|defg@0000FF", ""}, 3, 8, 1},
      {"row fills before a tag", "abc<font color=#ff0000>d", {"abc<", "font", " col", "or=#", "ff00", "00>d", ""}, 3, 8, 1},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.name);
    TextModel m;
    TextModelOptions o;
    o.AscCharsPerLine = c.perLine;
    o.AscTabWidth = c.tab;
    o.ColourTagMode = c.tags;
    ASSERT_TRUE(BuildTextModel(m, Bytes(c.input), o));
    EXPECT_EQ(Rows(m), c.rows);
    ExpectConsistent(m);
  }
}

TEST(TextModel, AcceptanceCheck) {
  const struct {
    std::string input;
    std::int64_t pos;
  } cases[] = {
      {"ab\x07", 2},
      {"\x0c", 0},
      {"\x82\x07z", -1},  // the trail position of a pair is not checked
      {std::string("\x1b\0\t\r\n\x1a\x7f\x80\xa0\xfd\xff", 11), -1},
      {"ok\x1f", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(FindNonTextByte(Bytes(c.input)), c.pos) << c.input;

  // A refused document after a converted one: nothing shown, so no conversion claimed.
  TextModel m;
  ASSERT_TRUE(BuildTextModel(m, Bytes("\xEF\xBB\xBF" "abc"), {}));
  ASSERT_EQ(m.Utf8Applied(), 1);
  EXPECT_FALSE(BuildTextModel(m, Bytes("line\nbell\x07"), {}));
  EXPECT_TRUE(m.Rejected());
  EXPECT_EQ(m.NonAsciiPos(), 9);
  EXPECT_EQ(m.TotalRows(), 0);
  EXPECT_EQ(m.LastBuildWasText(), 0);
  EXPECT_EQ(m.ColumnPageCount(), 0);
  EXPECT_EQ(m.Utf8Applied(), 0);
}

TEST(TextModel, EmptyDocumentHasNoRowsNoPages) {
  TextModel m;
  EXPECT_TRUE(BuildTextModel(m, {}, {}));
  EXPECT_EQ(m.TotalRows(), 0);
  EXPECT_EQ(m.ColumnPageCount(), 0);
  EXPECT_EQ(m.LastBuildWasText(), 1);
  EXPECT_FALSE(m.Rejected());
}

TEST(TextModel, PageIndex) {
  TextModel m;
  TextModelOptions o;
  o.AscLinesPerPage = 2;
  ASSERT_TRUE(BuildTextModel(m, Bytes("1\n2\n3\n4\n5"), o));
  EXPECT_EQ(m.ColumnPageCount(), 3);
  EXPECT_EQ(std::vector<std::int32_t>(m.PageStarts().begin(), m.PageStarts().end()),
            (std::vector<std::int32_t>{0, 2, 4, 5}));
  EXPECT_EQ(m.ColumnPageRows(2).first, 4);
  EXPECT_EQ(m.ColumnPageRows(2).end, 5);
  EXPECT_EQ(m.ColumnPageRows(3).end, 0);  // no such page
}

TEST(TextModel, DisplayDataChoice) {
  const std::string nihon = "\x93\xfa\x96\x7b";  // 日本 in Shift-JIS
  const struct {
    const char* name;
    std::string ext;
    int force;
    MailView eml;
    std::string input;
    std::string row;
    int utf8;
  } cases[] = {
      {"BOM", ".txt", 0, MailView::NotMail, "\xEF\xBB\xBF日本", nihon, 1},
      {"forced", ".txt", 1, MailView::NotMail, "日本", nihon, 1},
      {"html declares", ".HTML", 0, MailView::NotMail, "<meta CHARSET=UTF-8>日本", "<meta CHARSET=UTF-8>" + nihon, 1},
      {"html quoted", ".htm", 0, MailView::NotMail, "charset=\"utf-8\" 日", "charset=\"utf-8\" \x93\xfa", 1},
      {"htm without charset", ".htm", 0, MailView::NotMail, "\x93\xfa", "\x93\xfa", 0},
      {"charset in a text file", ".txt", 0, MailView::NotMail, "charset=UTF-8", "charset=UTF-8", 0},
      {"mail decoded", ".eml", 0, MailView::Decoded, "raw", "decoded", 0},
      {"mail raw", ".eml", 0, MailView::Raw, "raw", "raw", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextModel m;
    TextModelOptions o;
    o.AscCharsPerLine = 200;
    o.DocExt = c.ext;
    o.ForceUtf8 = c.force;
    o.EmlMode = c.eml;
    o.DecodeMail = [](std::string_view) { return std::string("decoded"); };
    ASSERT_TRUE(BuildTextModel(m, Bytes(c.input), o));
    ASSERT_EQ(m.RowCount(), 1);
    EXPECT_EQ(Rows(m)[0], c.row);
    EXPECT_EQ(m.Utf8Applied(), c.utf8);
  }
  // Without a decoder the mail is shown as it is.
  TextModel m;
  TextModelOptions o;
  o.EmlMode = MailView::Decoded;
  ASSERT_TRUE(BuildTextModel(m, Bytes("raw"), o));
  EXPECT_EQ(Rows(m)[0], "raw");
  EXPECT_EQ(EmlModeForExtension(".EmL"), MailView::Decoded);
  EXPECT_EQ(EmlModeForExtension(".emlx"), MailView::NotMail);
}

TEST(TextModel, Utf8ConversionKeepsTwoBytesPerCharacter) {
  const struct {
    std::string utf8, sjis;
  } cases[] = {
      {"°±×µ", "\x81\x8b\x81\x7d\x81\x7e\x83\xca"},  // two-byte forms
      {"Ωж", "\x83\xb6\x84\x77"},
      {"ｱ", "\xb1 "},                  // one-byte CP932 form padded to two
      {"\xF0\x9F\x98\x80", "\x81\x45"},  // outside the BMP: one substitute
      {"é", "\x81\x45"},                // no CP932 form
      {"\xE6\x97" "a", "\xE6\x97" "a"},  // broken sequence kept as bytes
      {"\xC0\x80", "\xC0\x80"},          // overlong form is not a character
      {"\xED\xA0\x80", "\xED\xA0\x80"},  // nor is a surrogate
      {"a日", "a\x93\xfa"},              // at the very end
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToDisplay(Bytes(c.utf8)), c.sjis) << c.utf8;
}

TEST(TextModel, RebuildClearsMarksAndOddOptionsStaySound) {
  TextModel m;
  ASSERT_TRUE(BuildTextModel(m, Bytes("abc\ndef"), {}));
  m.LcMark()[1] = 1;
  ASSERT_TRUE(BuildTextModel(m, Bytes("abc\ndef"), {}));
  EXPECT_EQ(std::accumulate(m.LcMark().begin(), m.LcMark().end(), 0), 0);

  // A new document leaves nothing of the old one behind.
  m.ReleaseTables();
  EXPECT_EQ(m.TotalRows(), 0);
  EXPECT_EQ(m.ColumnPageCount(), 0);
  EXPECT_EQ(m.LcBufUsed(), 0);
  EXPECT_EQ(m.BlockCount(), 0);
  EXPECT_TRUE(m.LcMark().empty());

  TextModelOptions odd;
  odd.AscCharsPerLine = 0;
  odd.AscLinesPerPage = -5;
  odd.AscTabWidth = -1;
  ASSERT_TRUE(BuildTextModel(m, Bytes("abc\t\n"), odd));
  EXPECT_EQ(Rows(m), (std::vector<std::string>{"ab", "c ", ""}));
  EXPECT_EQ(m.ColumnPageCount(), 3);
  ExpectConsistent(m);
}

TEST(TextModel, NastyInputsKeepTheTablesConsistent) {
  std::string broken;
  for (int i = 0; i < 3000; ++i) broken += static_cast<char>(0x80 + (i * 37) % 0x80);
  std::string tags;
  for (int i = 0; i < 2000; ++i) tags += "<<font";
  const std::vector<std::string> inputs = {
      std::string(10u << 20, 'x'),     // 10 MB without a line end
      std::string(5000, '\t'),
      std::string(3000, '\n'),
      broken,
      tags,
      std::string(2047, '\x82') + "\x82",
  };
  for (int mode = 0; mode <= 1; ++mode) {
    for (const std::string& in : inputs) {
      TextModel m;
      TextModelOptions o;
      o.ColourTagMode = mode;
      o.ForceUtf8 = mode;
      ASSERT_TRUE(BuildTextModel(m, Bytes(in), o));
      ExpectConsistent(m);
    }
  }
  TextModel m;
  ASSERT_TRUE(BuildTextModel(m, Bytes(inputs[0]), {}));
  // 1024 bytes per piece, 81 bytes per row: 12 full rows and one of 52, 10240 pieces.
  EXPECT_EQ(m.RowCount(), 10240 * 13);
}

}  // namespace
}  // namespace tyld::ascii
