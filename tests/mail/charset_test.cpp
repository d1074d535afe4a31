#include "mail/charset.h"

#include <gtest/gtest.h>

#include <clocale>

#include "test_text.h"

namespace tyld::mail {
namespace {
using test::Sjis;

TEST(ConvertJisToSjis, ConvertsEscapedRuns) {
  const std::string sub(test::kSubstitute);
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"\x1b$B$\"\x1b(B", Sjis("あ")},
      {"a\x1b$BF|K\\\x1b(Bz", Sjis("a日本z")},
      {"\x1b$@F|\x1b(J!", Sjis("日!")},                    // older designations
      {"\x1b(I12\x1b(Bx", "\xb1\xb2x"},                     // half-width katakana
      {"\x1b$BF|\r\nab", Sjis("日") + "\r\nab"},           // unclosed run ends at the line end
      // Unknown escapes and broken pairs advance and leave a visible mark.
      {"a\x1bZb", "a" + sub + "Zb"},
      {"a\x1b", "a" + sub},
      {"\x1b$B\x80!!", sub + "\x81\x40"},                  // 0x80 is no JIS byte; "!!" still pairs
      {"\x1b$BF", sub},                                    // half a pair at the end
      {"\x1b$B\x7e\x7e", sub},                             // valid bytes, no character
      {"\x1b$(D0!\x1b(B.", sub + "."},                     // JIS X 0212 has no CP932 form
      {"plain Shift-JIS \x93\xfa", "plain Shift-JIS \x93\xfa"},
  };
  for (const auto& c : cases) EXPECT_EQ(ConvertJisToSjis(c.in), c.out) << c.in;
}

TEST(ConvertJisIfEscaped, NeedsTwoEscapes) {
  EXPECT_EQ(ConvertJisIfEscaped("x\x1b$B$\"y"), "x\x1b$B$\"y");
  EXPECT_EQ(ConvertJisIfEscaped("\x1b$B$\"\x1b(B"), Sjis("あ"));
}

TEST(Utf8ToSjis, ConvertsAndMarksWhatCannotBeShown) {
  const std::string sub(test::kSubstitute);
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"abc", "abc"},
      {"\xEF\xBB\xBF日本語", Sjis("日本語")},  // byte-order mark dropped
      {"a\xEF\xBB\xBF", "a" + Sjis("\xEF\xBB\xBF")},  // only at the start
      {"°×", "\x81\x8b\x81\x7e"},
      {"x😀y", "x" + sub + "y"},
      {"\xE6\x97", sub + sub},                   // truncated
  };
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  for (const auto& c : cases) EXPECT_EQ(Utf8ToSjis(c.in), c.out) << c.in;
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), locale);  // the process locale stays as it was
}

TEST(Charset, ConvertsByNameOrAlias) {
  const std::string sub = test::Sub();
  struct Case { const char* name; std::string in, out; };
  const Case cases[] = {
      // Shift-JIS under all its labels passes unchanged, the Windows rows included.
      {"Shift_JIS", "\x82\xa0\x82\xe8\x87\x40", "\x82\xa0\x82\xe8\x87\x40"},
      {"x-sjis", "\x93\xfa", "\x93\xfa"},
      {"windows-31j", "\xfb\xfc", "\xfb\xfc"},
      {"CP932", "\x93\xfa", "\x93\xfa"},
      {"Shift-JIS", "\x93\xfa", "\x93\xfa"},
      {"utf8", "日\xEF\xBB\xBF", Sjis("日") + sub},
      {"UTF-8", "\xEF\xBB\xBF日", Sjis("日")},  // a leading byte-order mark goes
      {"iso-2022-jp", "\x1b$BF|\x1b(B", Sjis("日")},
      {"ISO-2022-JP-2", "\x1b$BF|\x1b(B", Sjis("日")},
      // NEC row 13 reads; JIS X 0212 has no CP932 form.
      {"euc-jp", "\xc6\xfc\x8e\xb6\xad\xa1\x8f\xb0\xa1", Sjis("日ｶ①") + sub},
      {"EUC-JP", "\xa1\xc1\xa1\xdd", Sjis("～－")},
      {"ISO-8859-1", "caf\xe9 \xb0\xb1\xd7", "caf" + sub + " " + Sjis("°±×")},
      {"latin1", "\xb5m", Sjis("μm")},
      {"windows-1252", "\x80 \x93q\x94 \x85", sub + " " + Sjis("“q” …")},
      {"koi8-r", "\xf0\xd2\xc9\xd7\xc5\xd4", Sjis("Привет")},
      {"utf-16le", std::string("\xe5\x65\x2c\x67", 4), Sjis("日本")},
      {"us-ascii", "plain", "plain"},
      {"", "\x93\xfa", "\x93\xfa"},
      // Bytes the charset does not allow: one substitute each, the rest still read.
      {"euc-jp", "a\xff" "b\xc6", "a" + sub + "b" + sub},
      {"utf-16le", "a", sub},
  };
  for (const auto& c : cases) {
    const Charset charset(c.name);
    EXPECT_TRUE(charset.Known()) << c.name;
    EXPECT_EQ(charset.Convert(c.in), c.out) << c.name << ": " << c.in;
  }
}

TEST(Charset, NamesThatConvertAlikeShareAKey) {
  EXPECT_EQ(Charset("utf8").Key(), Charset("UTF-8").Key());
  EXPECT_EQ(Charset("x-sjis").Key(), Charset("cp932").Key());
  EXPECT_NE(Charset("euc-jp").Key(), Charset("shift_jis").Key());
  EXPECT_FALSE(Charset("").Declared());
  EXPECT_FALSE(Charset("US-ASCII").Declared());  // 8-bit bytes prove it wrong; they are guessed
  EXPECT_TRUE(Charset("iso-8859-1").Declared());
  EXPECT_TRUE(Charset("UTF-8").IsUtf8());
}

TEST(Charset, UnknownNamesKeepTheBytes) {
  for (const char* name : {"x-unknown", "unknown-8bit", "UTF-8//TRANSLIT", "a,b", "\xe6\x97\xa5"}) {
    const Charset charset(name);
    EXPECT_FALSE(charset.Known()) << name;
    EXPECT_EQ(charset.Convert("\x93\xfa\xff"), "\x93\xfa\xff") << name;
  }
  Charset moved(Charset("x-unknown"));
  moved = Charset("euc-jp");  // a moved-to charset takes the other's converter
  EXPECT_EQ(moved.Convert("\xc6\xfc"), Sjis("日"));
}

TEST(IsUtf8, AcceptsOnlyWellFormedText) {
  for (const char* ok : {"", "abc", "日本", "\xC2\x80", "\xF4\x8F\xBF\xBF", "\xEF\xBB\xBF"})
    EXPECT_TRUE(IsUtf8(ok)) << ok;
  for (const char* bad : {"\x80", "\xC0\xAF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x97",
                          "\x82\xa0\x82\xe8\x82\xaa", "\xFF"})
    EXPECT_FALSE(IsUtf8(bad)) << bad;
}

TEST(AppendUndeclared, GuessesJisThenUtf8LineByLineElseKeeps) {
  const std::string sjis = "\x82\xa0\x82\xe8\x82\xaa";
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"\x1b$BF|\x1b(B", Sjis("日")},
      {"日本\r\n" + sjis + "\r\n", Sjis("日本") + "\r\n" + sjis + "\r\n"},
      {sjis, sjis},
      {"plain\n", "plain\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    AppendUndeclared(out, c.in);
    EXPECT_EQ(out, c.out) << c.in;
  }
}

}  // namespace
}  // namespace tyld::mail
