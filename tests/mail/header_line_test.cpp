#include "mail/header_line.h"

#include <gtest/gtest.h>

#include "test_text.h"

namespace tyld::mail {
namespace {
using test::Sjis;

TEST(DecodeHeaderLine, EncodedWords) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"Subject: =?UTF-8?B?5pel?=", "Subject: " + Sjis("日")},
      {"=?utf-8?b?5pel?=", Sjis("日")},  // prefixes ignore case
      {"=?ISO-2022-JP?B?GyRCJCIbKEI=?=", Sjis("あ")},
      {"=?shift_jis?B?k/o=?=", "\x93\xfa"},
      {"=?iso-2022-jp?Q?=41?=", "A"},
      {"=?utf-8?Q?a_b=3F?=", "a b?"},           // "_" is a space in a Q word
      {"=?iso-2022-jp?Q?ab=20?=c", "ab c"},      // pending text at the end of a word is kept
      {"=?iso-2022-jp?Q?ab=?=c", "ab=c"},
      // White space between words of one charset goes; between charsets it stays.
      {"=?UTF-8?B?5pel?= =?UTF-8?B?5pel?=", Sjis("日日")},
      {"=?UTF-8?B?5pel?=  \t=?UTF-8?B?5pel?=", Sjis("日") + "  \t" + Sjis("日")},
      {"=?iso-2022-jp?B?GyRCJCIbKEI=?= =?UTF-8?B?5pel?=", Sjis("あ 日")},
      {"=?UTF-8?B?QQ==?= x =?UTF-8?B?Qg==?=", "A xB"},  // even with text between
      {"a =?UTF-8?B?QQ==?= b", "a A b"},
      // A character or escape sequence split between two words comes out whole.
      {"=?UTF-8?B?5pc=?= =?UTF-8?B?pQ==?=", Sjis("日")},
      {"=?iso-2022-jp?B?GyRC?==?iso-2022-jp?B?JCIbKEI=?=", Sjis("あ")},
      {"=?iso-2022-jp?B?Gw==?= =?iso-2022-jp?B?JEIkIhsoQg==?=", Sjis("あ")},
      // Not complete words: kept as they stand.
      {"=?UTF-8?B?5pel", "=?UTF-8?B?5pel"},
      {"x =?UTF-8?B?", "x =?UTF-8?B?"},
      {"=?UTF-8?B?5p el?=", "=?UTF-8?B?5p el?="},
      {"=?koi8-r?B?5pel?=", "=?koi8-r?B?5pel?="},
      {"=?UTF-8?X?5pel?=", "=?UTF-8?X?5pel?="},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeHeaderLine(c.in), c.out) << c.in;
}

TEST(DecodeHeaderLine, RawUtf8OfThreeBytes) {
  EXPECT_EQ(DecodeHeaderLine("To: 山田 <y@example.jp>"), "To: " + Sjis("山田") + " <y@example.jp>");
  EXPECT_EQ(DecodeHeaderLine("caf\xC3\xA9 \xF0\x9F\x98\x80"), "caf\xC3\xA9 \xF0\x9F\x98\x80");
  // Shift-JIS that looks like UTF-8 is taken for it.
  EXPECT_EQ(DecodeHeaderLine("\xE6\x97\xA5"), Sjis("日"));
}

TEST(DecodeHeaderLine, LongWords) {
  std::string encoded;
  for (int i = 0; i < 1000; ++i) encoded += "5pel";
  std::string expected;
  for (int i = 0; i < 1000; ++i) expected += Sjis("日");
  EXPECT_EQ(DecodeHeaderLine("=?UTF-8?B?" + encoded + "?="), expected);
  // Thousands of unfinished prefixes on one line stay text (and stay quick).
  std::string prefixes;
  for (int i = 0; i < 20000; ++i) prefixes += "=?utf-8?b?QQ";
  EXPECT_EQ(DecodeHeaderLine(prefixes), prefixes);
}

}  // namespace
}  // namespace tyld::mail
