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
      {"=?UTF-8?Q?=e6=97=a5?=", Sjis("日")},    // lower-case hexadecimal
      {"=?iso-2022-jp?Q?ab=20?=c", "ab c"},
      {"=?iso-2022-jp?Q?ab=?=c", "ab=c"},
      {"=?euc-jp?B?xvzL3A==?=", Sjis("日本")},
      {"=?windows-1252?Q?=80_=93q=94?=", test::Sub() + " " + Sjis("“q”")},
      {"=?ISO-8859-1?q?r=E9sum=E9_=B0?=", "r" + test::Sub() + "sum" + test::Sub() + " " + Sjis("°")},
      {"=?koi8-r?B?8NLJ18XU?=", Sjis("Привет")},
      {"=?UTF-8*ja?B?5pel?=", Sjis("日")},  // a language tag after the charset
      // White space between two encoded words goes, whatever their charsets; next to
      // plain text it stays.
      {"=?UTF-8?B?5pel?= =?UTF-8?B?5pel?=", Sjis("日日")},
      {"=?UTF-8?B?5pel?=  \t=?UTF-8?B?5pel?=", Sjis("日日")},
      {"=?iso-2022-jp?B?GyRCJCIbKEI=?= =?UTF-8?B?5pel?=", Sjis("あ日")},
      {"=?UTF-8?B?5pel5pys?= and =?UTF-8?B?5Lit5Zu9?=", Sjis("日本 and 中国")},
      {"a =?UTF-8?B?QQ==?= b", "a A b"},
      {"x=?UTF-8?B?QQ==?=y", "xAy"},
      // A character or escape sequence split between two words comes out whole, also
      // where a fold stood and under two names of one charset.
      {"=?UTF-8?B?5pc=?= =?UTF-8?B?pQ==?=", Sjis("日")},
      {"=?UTF-8?B?5pc=?= \t =?utf8?B?pQ==?=", Sjis("日")},
      {"=?iso-2022-jp?B?GyRC?==?iso-2022-jp?B?JCIbKEI=?=", Sjis("あ")},
      {"=?iso-2022-jp?B?Gw==?= =?iso-2022-jp?B?JEIkIhsoQg==?=", Sjis("あ")},
      // Not complete words: kept as they stand.
      {"=?UTF-8?B?5pel", "=?UTF-8?B?5pel"},
      {"x =?UTF-8?B?", "x =?UTF-8?B?"},
      {"=?UTF-8?B?5p el?=", "=?UTF-8?B?5p el?="},
      {"=??B?5pel?=", "=??B?5pel?="},
      {"=?UTF-8?X?5pel?=", "=?UTF-8?X?5pel?="},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeHeaderLine(c.in), c.out) << c.in;
}

TEST(DecodeHeaderLine, UnknownCharsetKeepsTheBytesAndIsNamed) {
  std::vector<std::string> unknown;
  EXPECT_EQ(DecodeHeaderLine("a =?x-unknown?B?k/o=?= =?UTF-8?B?5pel?=", &unknown), "a \x93\xfa" + Sjis("日"));
  EXPECT_EQ(unknown, std::vector<std::string>{"x-unknown"});
  unknown.clear();
  DecodeHeaderLine("=?UTF-8//IGNORE?B?5pel?=", &unknown);  // never an iconv option
  EXPECT_EQ(unknown, std::vector<std::string>{"UTF-8//IGNORE"});
}

TEST(DecodeHeaderLine, RawUtf8OnlyWhereTheWholeLineIsUtf8) {
  const std::string sjisThanks = "\x82\xa0\x82\xe8\x82\xaa\x82\xc6\x82\xa4";  // ありがとう: E8 82 AA inside
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"To: 山田 <y@example.jp>", "To: " + Sjis("山田") + " <y@example.jp>"},
      {"caf\xC3\xA9 \xF0\x9F\x98\x80 \xD0\x96", "caf" + test::Sub() + " " + test::Sub() + " " + Sjis("Ж")},
      {"Subject: " + sjisThanks, "Subject: " + sjisThanks},           // Shift-JIS stays
      {"\xE6\x97\xA5 " + sjisThanks, "\xE6\x97\xA5 " + sjisThanks},   // one bad byte: the line is no UTF-8
      {"=?UTF-8?B?5pel?= " + sjisThanks, Sjis("日") + " " + sjisThanks},
      {"山\r\n" + sjisThanks + "\r\n川", Sjis("山") + "\r\n" + sjisThanks + "\r\n" + Sjis("川")},  // line by line
      {"\xED\xA0\x80 \xC0\xAF", "\xED\xA0\x80 \xC0\xAF"},  // surrogates and overlong forms are no UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeHeaderLine(c.in), c.out) << c.in;
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
