#include "ascii/text_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
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
      {"row of N+1, no empty row", "abcde", {"abcde"}, 4},
      {"one more char", "abcdef", {"abcde", "f"}, 4},
      {"pair kept whole", "abcd\x82\xa0z", {"abcd\x82\xa0", "z"}, 4},
      {"pair ending at N", "abc\x82\xa0z", {"abc\x82\xa0", "z"}, 4},
      {"tab after letter", "a\tb", {"a       b"}, 40},
      {"tab at multiple", "12345678\tb", {"12345678        b"}, 40},
      {"tab width 0 counts as 1", "a\tb", {"a b"}, 40, 0},
      {"only tabs", "\t\t\t", {std::string(11, ' '), std::string(11, ' '), std::string(2, ' ')}},
      {"ESC and NUL shown", std::string("a\x1b\0b", 4), {std::string("a\x1b\0b", 4)}},
      {"final 0x1A alone", "\x1a", {}},
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
      {"closing tag alone", "a</font>b", {"a|b"}, 40, 8, 1},
      {"closing tag before a tag", "a</font><font color=#0000ff>b", {"a|b@FF0000"}, 40, 8, 1},
      {"tag restarts the count", "ab<font color=#ff0000>defg", {"ab|defg@0000FF"}, 3, 8, 1},
      {"row fills before a tag", "abc<font color=#ff0000>d", {"abc<", "font", " col", "or=#", "ff00", "00>d"}, 3, 8, 1},
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

std::vector<std::string> RowsOf(const std::string& input, int perLine, int tags = 0,
                                bool breakRules = false) {
  TextModel m;
  TextModelOptions o;
  o.AscCharsPerLine = perLine;
  o.ColourTagMode = tags;
  o.LineBreakRules = breakRules;
  EXPECT_TRUE(BuildTextModel(m, Bytes(input), o));
  ExpectConsistent(m);
  return Rows(m);
}

// A row holds characters per line + 1 bytes (+ 2 when the last is a pair). A line that
// fills its last row exactly, and a final DOS end-of-file byte, make no row of their own.
TEST(TextModel, FullRowsAndFinalEndOfFileMakeNoEmptyRow) {
  const struct {
    const char* name;
    std::string input;
    std::vector<std::string> rows;
  } cases[] = {
      {"N bytes", "abcd\nz", {"abcd", "z"}},
      {"N + 1 bytes", "abcde\nz", {"abcde", "z"}},
      {"N + 2 with a final pair", "abc\x82\xa0\r\nz", {"abc\x82\xa0", "z"}},
      {"N + 2 single bytes", "abcdef\nz", {"abcde", "f", "z"}},
      {"two full rows", "abcdeABCDE\n", {"abcde", "ABCDE"}},
      {"N + 1 at the end of the data", "abcde", {"abcde"}},
      {"empty line after a full one stays", "abcde\n\nz", {"abcde", "", "z"}},
      {"final 0x1A after a line end", "ab\r\n\x1a", {"ab"}},
      {"final 0x1A after text", "ab\x1a", {"ab"}},
      {"only the last 0x1A is dropped", "ab\n\x1a\x1a", {"ab", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RowsOf(c.input, 4), c.rows);
  }
}

// 0xF0..0xFC lead pairs as much as 0x81..0x9F and 0xE0..0xEF: at every alignment against
// the row end the pair stays on one row.
TEST(TextModel, ExtensionPairsStayWholeAtRowEnds) {
  const std::string taka = "\xfb\xfc";  // 髙 as Windows writes it
  for (const std::string& pair : {std::string("\xfa\x40"), std::string("\xfb\xfc"),
                                 std::string("\xfc\x4b"), std::string("\x88\xa0")}) {
    for (int lead = 0; lead <= 5; ++lead) {
      SCOPED_TRACE(testing::Message() << std::hex << (pair[0] & 0xFF) << " after " << lead);
      const std::string input = std::string(static_cast<std::size_t>(lead), 'a') + pair + pair + "z";
      for (const std::string& row : RowsOf(input, 4)) {
        std::size_t i = 0;
        while (i < row.size()) i += (row[i] == pair[0]) ? 2 : 1;
        EXPECT_EQ(i, row.size()) << row;  // no row ends inside a pair
      }
    }
  }
  EXPECT_EQ(RowsOf("abcd" + taka + "z", 4), (std::vector<std::string>{"abcd" + taka, "z"}));
}

// A closing tag is never shown and swallows nothing; colour returns to black after it.
TEST(TextModel, ClosingTagsEndTheColour) {
  const std::string tsujo = "\x92\xca\x8f\xed";  // 通常
  const std::string aka = "\x90\xd4";            // 赤
  const std::string modoru = "\x96\xdf\x82\xe9";  // 戻る
  const std::string ao = "\x90\xc2";             // 青
  const struct {
    const char* name;
    std::string input;
    std::vector<std::string> rows;
  } cases[] = {
      {"the reported line",
       tsujo + "<font color=#ff0000>" + aka + "</font>" + modoru + "<font color=#0000ff>" + ao + "</font>",
       {tsujo + "|" + aka + "@0000FF|" + modoru + "|" + ao + "@FF0000"}},
      {"text before, between and after", "a<font color=#ff0000>b</font>c</FONT >d",
       {"a|b@0000FF|c|d"}},
      {"closing tag at the line end", "<font color=#00ff00>g</font>\nx", {"g@00FF00", "x"}},
      {"colour ends on the next line", "<font color=#00ff00>g\nh</font>i", {"g@00FF00", "h@00FF00|i"}},
      {"other closing tags are text", "a</b>c", {"a</b>c"}},
      {"an unrelated tag swallows nothing", "<b>x</b><font color=#0000ff>y", {"<b>x</b>|y@FF0000"}},
      {"a broken opening tag is text", "<font size=2 z<font color=#0000ff>y", {"<font size=2 z|y@FF0000"}},
      {"font with more attributes", "<font size=2 color=#0000ff>y", {"y@FF0000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RowsOf(c.input, 60, 1), c.rows);
  }
}

// With a measured width, a row ends before the character that would take it past the row
// width: wide letters make short rows, narrow ones long rows; a pair is one character; a
// colour tag takes no room; a character wider than the row still gets a row of its own.
TEST(TextModel, MeasuredRowsAreCutByWidth) {
  const auto width = [](std::string_view s) {
    if (s.size() == 2) return 10;
    switch (s[0]) {
      case 'W': return 10;
      case 'i': return 2;
      case '#': return 100;
      default: return 5;
    }
  };
  const std::string a = "\x82\xa0";     // あ
  const std::string maru = "\x81\x42";  // 。
  const struct {
    const char* name;
    std::string input;
    int tags;
    bool rules;
    std::vector<std::string> rows;
  } cases[] = {
      {"wide letters", "WWWWWWWWWW", 0, false, {"WWWW", "WWWW", "WW"}},
      {"narrow letters", std::string(25, 'i'), 0, false, {std::string(20, 'i'), "iiiii"}},
      {"exactly full: no empty row after", "WWWW\nx", 0, false, {"WWWW", "x"}},
      {"pairs stay whole", "xxx" + a + a + a, 0, false, {"xxx" + a + a, a}},
      {"too wide alone", "#x", 0, false, {"#", "x"}},
      {"tags take no room", "WW<font color=#ff0000>WWW", 1, false, {"WW|WW@0000FF", "W@0000FF"}},
      {"line-break rules", a + a + a + a + maru, 0, true, {a + a + a, a + maru}},
      {"empty lines stay", "W\n\nW", 0, false, {"W", "", "W"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextModel m;
    TextModelOptions o;
    o.AscCharsPerLine = 3;  // ignored once widths are measured
    o.ColourTagMode = c.tags;
    o.LineBreakRules = c.rules;
    o.TextWidth = width;
    o.RowWidth = 40;
    EXPECT_TRUE(BuildTextModel(m, Bytes(c.input), o));
    ExpectConsistent(m);
    EXPECT_EQ(Rows(m), c.rows);
  }
}

// The optional rules move characters on so that no row starts with closing punctuation or
// small kana and none ends with an opening bracket; off, the rows are cut as they fall.
TEST(TextModel, LineBreakRules) {
  const std::string a = "\x82\xa0";      // あ
  const std::string maru = "\x81\x42";   // 。
  const std::string tsu = "\x82\xc1";    // っ
  const std::string kagi = "\x81\x75";   // 「
  const std::string kagiEnd = "\x81\x76";  // 」
  const struct {
    const char* name;
    std::string input;
    std::vector<std::string> off, on;
  } cases[] = {
      {"full stop", a + a + a + maru, {a + a + a, maru}, {a + a, a + maru}},
      {"small kana", a + a + a + tsu + a, {a + a + a, tsu + a}, {a + a, a + tsu + a}},
      {"closing bracket and full stop", a + a + a + kagiEnd + maru,
       {a + a + a, kagiEnd + maru}, {a + a, a + kagiEnd + maru}},
      {"opening bracket at the end", a + a + kagi + a + a, {a + a + kagi, a + a}, {a + a, kagi + a + a}},
      {"half-width full stop", "abcde\xa1", {"abcde", "\xa1"}, {"abcd", "e\xa1"}},
      {"nothing to move", a + a + a + a, {a + a + a, a}, {a + a + a, a}},
      {"a row of nothing but full stops is still cut", maru + maru + maru + maru,
       {maru + maru + maru, maru}, {maru + maru + maru, maru}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RowsOf(c.input, 4), c.off);
    EXPECT_EQ(RowsOf(c.input, 4, 0, true), c.on);
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

  // Beyond the first megabyte the answer is the same: a bad byte far in, and a pair whose
  // trail opens the second megabyte.
  const std::size_t mb = std::size_t{1} << 20;
  std::string far(3 * mb, 'a');
  far[2 * mb + 5] = '\x07';
  EXPECT_EQ(FindNonTextByte(Bytes(far)), static_cast<std::int64_t>(2 * mb + 5));
  std::string straddle(2 * mb, 'a');
  straddle[mb - 1] = '\x82';
  straddle[mb] = '\x07';
  EXPECT_EQ(FindNonTextByte(Bytes(straddle)), -1);
  straddle[mb + 1] = '\x07';
  EXPECT_EQ(FindNonTextByte(Bytes(straddle)), static_cast<std::int64_t>(mb + 1));

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

// UTF-8 without a byte-order mark is converted when nothing speaks for Shift-JIS; the
// Shift-JIS button reads any file as Shift-JIS.
TEST(TextModel, Utf8IsDetectedWithoutAByteOrderMark) {
  const std::string nihonSjis = "\x93\xfa\x96\x7b";
  const std::string aa = "\xe3\x81\x82\xe3\x81\x82";  // ああ in UTF-8, good Shift-JIS too
  const struct {
    const char* name;
    std::string input;
    int force;
    bool converted;
  } cases[] = {
      {"UTF-8 kanji", "日本語のテキスト\r\n", 0, true},
      {"UTF-8 half-width katakana", "ｶﾀｶﾅ", 0, true},
      {"kana that also read as Shift-JIS", aa, 0, true},
      {"plain ASCII", "abc\r\n", 0, false},
      {"Shift-JIS", nihonSjis + "\r\n", 0, false},
      {"Shift-JIS after a UTF-8-looking start", aa + nihonSjis, 0, false},
      {"UTF-8 then Shift-JIS", "日本" + nihonSjis, 0, false},
      {"Shift-JIS half-width kana pairs as Latin", "\xc3\xa9\xc3\xa9", 0, false},  // ﾃｩﾃｩ
      {"Shift-JIS half-width kana pairs as Cyrillic", "\xd0\xb0\xd0\xb0", 0, false},  // ﾐｰﾐｰ
      {"truncated sequence at the end", "日本\xe6\x97", 0, false},
      {"forced Shift-JIS", "日本語", -1, false},
      {"forced Shift-JIS beats the mark", "\xEF\xBB\xBF日本語", -1, false},
      {"forced UTF-8", nihonSjis, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextModel m;
    TextModelOptions o;
    o.ForceUtf8 = c.force;
    o.AscCharsPerLine = 200;
    ASSERT_TRUE(BuildTextModel(m, Bytes(c.input), o));
    EXPECT_EQ(m.Utf8Applied(), c.converted ? 1 : 0);
  }
  TextModel m;
  ASSERT_TRUE(BuildTextModel(m, Bytes("ｶﾀｶﾅ日本"), {}));
  EXPECT_EQ(Rows(m)[0], "\xb6\xc0\xb6\xc5" + nihonSjis);

  // The decision reads only a bounded start: a UTF-8 start decides a long file.
  std::string big = "日本";
  big.append(kUtf8ProbeBytes + 100, 'x');
  big += nihonSjis;
  EXPECT_TRUE(LooksLikeUtf8(Bytes(big)));
  // A probe cutting a sequence in two still decides.
  std::string cut = "日" + std::string(kUtf8ProbeBytes - 4, 'x') + "本";
  EXPECT_TRUE(LooksLikeUtf8(Bytes(cut)));
}

TEST(TextModel, Utf8ConversionKeepsTwoBytesPerCharacter) {
  const struct {
    std::string utf8, sjis;
  } cases[] = {
      {"°±×µ", "\x81\x8b\x81\x7d\x81\x7e\x83\xca"},  // two-byte forms
      {"Ωж", "\x83\xb6\x84\x77"},
      {"ｱ", "\xb1"},                   // one-byte CP932 form, no filler
      {"ｶﾀｶﾅ", "\xb6\xc0\xb6\xc5"},
      {"\xF0\x9F\x98\x80", "\x81\x45"},  // outside the BMP: one substitute
      {"é", "\x81\x45"},                // no CP932 form
      {"\xE6\x97" "a", "\xE6\x97" "a"},  // broken sequence kept as bytes
      {"\xC0\x80", "\xC0\x80"},          // overlong form is not a character
      {"\xED\xA0\x80", "\xED\xA0\x80"},  // nor is a surrogate
      {"a日", "a\x93\xfa"},              // at the very end
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToDisplay(Bytes(c.utf8)), c.sjis) << c.utf8;
}

// A big UTF-8 text is converted part by part; its model must be the one its whole
// conversion gives: lines over the part size, CR+LF, TABs, broken sequences, colour tags
// carried from one part into the next, a final end-of-file byte.
TEST(TextModel, Utf8InPartsBuildsTheModelOfTheWholeConversion) {
  std::string utf8 = "\xEF\xBB\xBF<font color=#FF0000>";
  const std::string words[] = {"日本語", "ｶﾀｶﾅ", "abc\t", "\r\n", "\n", "°é", "\xE6\x97", "x</font>", "<font color=#00FF00>"};
  unsigned seed = 3;
  while (utf8.size() < (std::size_t{10} << 20)) {
    seed = seed * 1103515245u + 12345u;
    utf8 += words[(seed >> 16) % std::size(words)];
    if (utf8.size() > (std::size_t{3} << 20) && utf8.size() < (std::size_t{4} << 20))
      utf8.append(std::size_t{5} << 20, 'L');  // one line longer than a part
  }
  utf8 += "end\x1A";
  TextModelOptions o;
  o.ColourTagMode = 1;
  TextModel parts;
  ASSERT_TRUE(BuildTextModel(parts, Bytes(utf8), o));
  EXPECT_EQ(parts.Utf8Applied(), 1);

  const std::string sjis = Utf8ToDisplay(Bytes(utf8).subspan(3));
  o.ForceUtf8 = -1;
  TextModel whole;
  ASSERT_TRUE(BuildTextModel(whole, Bytes(sjis), o));
  EXPECT_EQ(whole.Utf8Applied(), 0);
  ExpectConsistent(parts);
  EXPECT_EQ(parts.LcBuf(), whole.LcBuf());
  EXPECT_EQ(Rows(parts), Rows(whole));
  EXPECT_EQ(parts.ColumnPageCount(), whole.ColumnPageCount());
}

// The rows of a document's start are the first rows of the whole build, whatever the
// start cuts through: a pair, CR+LF, a UTF-8 sequence, a colour tag's span, a long line.
TEST(TextModel, StartRowsAreTheFirstRowsOfTheWholeBuild) {
  auto mix = [](std::initializer_list<std::string> words, std::string head, std::string tail) {
    std::string s = std::move(head);
    unsigned seed = 7;
    while (s.size() < 60000) {
      seed = seed * 1103515245u + 12345u;
      s += *(words.begin() + (seed >> 16) % words.size());
    }
    return s + tail;
  };
  const std::string sjis = mix({"\x93\xfa\x96\x7b\x8c\xea", "\xb6\xc0", "abc\t", "\r\n", "\n", "\r\n\r\n",
                                std::string(300, 'L') + "\r\n", std::string(2500, 'M') + "\n", "\x8c"},
                               "", "end\x1A");
  const std::string tags = mix({"<font color=#FF0000>", "</font>", "red \x93\xfa", "\n", "a<b\r\n",
                                std::string(170, 'T') + "\n"}, "", "");
  const std::string utf8 = mix({"日本語", "ｶﾀｶﾅ", "abc\t", "\r\n", "\n", "°é", std::string(130, 'U') + "\n"}, "", "");
  const std::string html = mix({"\x93\xfa\x96\x7b", "<p>", "\n"}, "", "<meta charset=UTF-8>\n");
  const struct {
    const char* name;
    std::string doc;
    std::string ext = ".txt";
    int force = 0;
    int tagMode = 0;
    bool rules = false;
    int utf8 = 0;
  } cases[] = {
      {"Shift-JIS, CR LF and LF, long lines", sjis},
      {"line-breaking rules", sjis, ".txt", 0, 0, true},
      {"colour tags across lines", tags, ".prn", 0, 1},
      {"UTF-8 detected", utf8, ".txt", 0, 0, false, 1},
      {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF" + utf8, ".txt", 0, 0, false, 1},
      {"UTF-8 forced", utf8, ".txt", 1, 0, false, 1},
      {"Shift-JIS forced", utf8, ".txt", -1},
      {"HTML declaring UTF-8 past the start", html, ".htm", 0, 0, false, 1},
  };
  for (const auto& c : cases) {
    TextModelOptions o;
    o.DocExt = c.ext;
    o.ForceUtf8 = c.force;
    o.ColourTagMode = c.tagMode;
    o.LineBreakRules = c.rules;
    o.AscCharsPerLine = 50;
    o.AscLinesPerPage = 20;
    TextModel whole;
    ASSERT_TRUE(BuildTextModel(whole, Bytes(c.doc), o)) << c.name;
    const std::vector<std::string> all = Rows(whole);
    for (std::size_t bytes : {std::size_t{20000}, std::size_t{20001}, std::size_t{33333}, std::size_t{40000}}) {
      SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(bytes) + " bytes");
      TextModel start;
      ASSERT_TRUE(BuildTextModelStart(start, Bytes(c.doc), o, bytes));
      ExpectConsistent(start);
      EXPECT_TRUE(start.Partial());
      EXPECT_FALSE(whole.Partial());
      EXPECT_EQ(start.Utf8Applied(), c.utf8);
      EXPECT_EQ(whole.Utf8Applied(), c.utf8);
      const std::vector<std::string> rows = Rows(start);
      ASSERT_GT(rows.size(), 100u);
      ASSERT_LT(rows.size(), all.size());
      EXPECT_TRUE(std::equal(rows.begin(), rows.end(), all.begin()));
      EXPECT_EQ(start.LcBuf(), whole.LcBuf().substr(0, start.LcBuf().size()));
      EXPECT_LE(start.LcBuf().size(), bytes);
      EXPECT_EQ(start.ColumnPageCount(), (start.RowCount() + 19) / 20);
    }
  }
}

// No start is built where the whole build alone can tell what to show.
TEST(TextModel, NoStartRowsWhereOnlyTheWholeDocumentTells) {
  TextModelOptions o;
  o.DecodeMail = [](std::string_view) { return std::string("decoded"); };
  const std::string lines = std::string(100, 'a') + "\n" + std::string(100, 'b') + "\n";
  const struct {
    const char* name;
    std::string doc;
    MailView eml = MailView::NotMail;
    bool built;
  } cases[] = {
      {"a decoded mail", lines, MailView::Decoded, false},
      {"a raw mail", lines, MailView::Raw, true},
      {"no line end in the start", std::string(200, 'a') + "\n", MailView::NotMail, false},
      {"a refused byte in the start", "a\x01" + lines, MailView::NotMail, false},
      {"a refused byte past the start", lines + "\x01", MailView::NotMail, true},
      {"no longer than the start", "abc\n", MailView::NotMail, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    o.EmlMode = c.eml;
    TextModel m;
    BuildTextModel(m, Bytes("old\n"), o);
    EXPECT_EQ(BuildTextModelStart(m, Bytes(c.doc), o, 150), c.built);
    EXPECT_EQ(m.RowCount() > 0, c.built);
    EXPECT_EQ(m.Partial(), c.built);
  }
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
  EXPECT_EQ(Rows(m), (std::vector<std::string>{"ab", "c "}));
  EXPECT_EQ(m.ColumnPageCount(), 2);
  ExpectConsistent(m);
}

// A build given up (before it starts or midway, in each of its paths) ends with nothing of
// the old or the new rows and no message: it is neither a failure nor a refused document.
TEST(TextModel, AStoppedBuildEndsEmptyWithoutFailures) {
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += "line " + std::to_string(i) + " \x93\xfa\x96\x7b\r\n";
  std::string utf8;
  for (int i = 0; i < 2000; ++i) utf8 += "line " + std::to_string(i) + " \xe6\x97\xa5\xe6\x9c\xac\n";
  struct Case {
    const char* name;
    std::string doc;
    bool midway;  // stopped at the 10th width measured instead of before the start
  };
  const Case cases[] = {
      {"Shift-JIS", lines, false},
      {"UTF-8 in parts", utf8, false},
      {"a control byte", lines + '\x01', false},
      {"Shift-JIS midway", lines, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::atomic<bool> stop{false};
    int measured = 0;
    TextModelOptions o;
    o.Stop = &stop;
    if (c.midway) {
      o.TextWidth = [&](std::string_view sjis) {
        if (++measured == 10) stop.store(true);
        return static_cast<int>(sjis.size());
      };
      o.RowWidth = 80;
    } else {
      stop.store(true);
    }
    TextModel m;
    ASSERT_TRUE(BuildTextModel(m, Bytes("old rows\n"), {}));
    EXPECT_FALSE(BuildTextModel(m, Bytes(c.doc), o));
    EXPECT_EQ(m.RowCount(), 0);
    EXPECT_EQ(m.TotalRows(), 0);
    EXPECT_EQ(m.ColumnPageCount(), 0);
    EXPECT_EQ(m.LcBufUsed(), 0);
    EXPECT_TRUE(m.Failures().empty());
    EXPECT_FALSE(m.Rejected());
    if (c.midway) {
      EXPECT_LT(measured, 200) << "the rest of the 2000 lines is not measured";
    }

    stop.store(true);
    TextModelOptions start;
    start.Stop = &stop;
    EXPECT_FALSE(BuildTextModelStart(m, Bytes(c.doc), start, 1024));
    EXPECT_EQ(m.RowCount(), 0);
  }
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
