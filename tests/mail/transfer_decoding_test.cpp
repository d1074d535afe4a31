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

TEST(DecodeQuotedPrintable, Escapes) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"=41", "A"},
      {"a_b", "a_b"},
      {"=3D", "="},
      {"=3d", "="},  // either case, as real senders write it
      {"=E6=97=A5", "\xE6\x97\xA5"},
      {"=e3=81=82", "\xE3\x81\x82"},
      {"x=", "x="},  // an "=" without two hexadecimal digits stays
      {"x=4", "x=4"},
      {"=ZZ=4g", "=ZZ=4g"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeQuotedPrintable(c.in), c.out) << c.in;
}

TEST(DecodeQuotedPrintableBlock, JoinsSoftBreaksAndKeepsHardOnes) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"\r\nab=\r\ncd\r\nef\r\n", "\r\nabcd\r\nef\r\n"},
      {"ab=20\r\ncd\r\n", "ab \r\ncd\r\n"},  // an encoded trailing space ends its line as written
      {"a=3Db\r\n", "a=b\r\n"},
      {"=E6=97=\r\n=A5\r\n", "\xE6\x97\xA5\r\n"},  // break inside a character
      {".\r\n..\r\n", ".\r\n..\r\n"},
      // Text pending at the end of the block is still shown.
      {"ab\r\ncd=", "ab\r\ncd"},
      {"ab\ncd=\nef\n", "ab\r\ncdef\r\n"},  // LF line ends
      {"x", "x\r\n"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeQuotedPrintableBlock(c.in), c.out) << c.in;
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
