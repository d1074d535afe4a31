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

}  // namespace
}  // namespace tyld::mail
