#include "mail/transfer_decoding.h"

#include <gtest/gtest.h>

#include "test_text.h"

namespace tyld::mail {
namespace {
using test::Sjis;

TEST(DecodeBase64, GroupsBreaksAndStops) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"QUJD", "ABC"},
      {"QUI=", "AB"},
      {"QUJ", "AB"},                  // incomplete group: its whole bytes
      {"Q", ""},
      {"QUJD\r\nREVG\nR0g", "ABCDEFGH"},  // line breaks inside the text are skipped
      {"QUJD=REVG", "ABC"},           // stops at the first "="
      {"QUJD?REVG", "ABC"},
      {"//79", "\xff\xfe\xfd"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeBase64(c.in), c.out) << c.in;
}

TEST(DecodeBase64Text, ConvertsByCharset) {
  EXPECT_EQ(DecodeBase64Text("5pel", kCharsetUtf8), Sjis("日"));
  EXPECT_EQ(DecodeBase64Text("GyRCJCIbKEI=", kCharsetOther), Sjis("あ"));  // ISO-2022-JP
  EXPECT_EQ(DecodeBase64Text("k/o=", kCharsetNone), "\x93\xfa");            // Shift-JIS as it is
}

TEST(DecodeQuotedPrintable, Escapes) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"=41", "A"},
      {"a_b", "a_b"},
      {"=3D", "="},
      {"=3d", "d"},  // lower-case digits are not hexadecimal here
      {"=E6=97=A5", "\xE6\x97\xA5"},
      {"x=", "x="},  // an "=" without two characters stays
      {"x=4", "x=4"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeQuotedPrintable(c.in), c.out) << c.in;
}

TEST(DecodeQuotedPrintableBlock, JoinsLinesAndKeepsEverything) {
  struct Case { std::string in; int charset; std::string out; };
  const Case cases[] = {
      {"\r\nab=\r\ncd\r\nef\r\n", kCharsetOther, "\r\nabcd\r\nef\r\n"},
      {"ab=20\r\ncd\r\n", kCharsetOther, "ab cd\r\n"},
      {"a=3Db\r\n", kCharsetOther, "a=b\r\n"},
      {"=E6=97=\r\n=A5\r\n", kCharsetUtf8, Sjis("日") + "\r\n"},  // break inside a character
      {"&#12354;&#x3044;\r\n", kCharsetOther, Sjis("あい") + "\r\n"},
      {"\x1b$B$\"\x1b(B\r\n", kCharsetOther, Sjis("あ") + "\r\n"},
      // Text pending at the end of the block is still shown.
      {"ab\r\ncd=", kCharsetOther, "ab\r\ncd\r\n"},
      {"ab\r\ncd=20", kCharsetOther, "ab\r\ncd \r\n"},
      {"ab\ncd=\nef\n", kCharsetOther, "ab\r\ncdef\r\n"},  // LF line ends
      {"x", kCharsetOther, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeQuotedPrintableBlock(c.in, c.charset), c.out) << c.in;
}

TEST(ReplaceNumericReferences, ReplacesCompleteReferencesOnly) {
  const std::string sub(test::kSubstitute);
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"&#12354;", Sjis("あ")},
      {"x&#X3042;y&#65;", "x" + Sjis("あ") + "yA"},
      {"&#8364;", sub},    // no code page 932 form
      {"&#128512;", sub},  // beyond 16 bits
      {"&amp;&#;&#x;", "&amp;&#;&#x;"},
      {"a &#12354 b <p>", "a &#12354 b <p>"},  // unterminated: the rest is kept
      {"&#12a;", "&#12a;"},
      {"&#&#65;", "&#A"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceNumericReferences(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tyld::mail
