#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace cp = tyld::platform::codepage;

TEST(Codepage, RoundTripsEverydayCharacters) {
  struct Case { const char* utf8; const char* sjis; };
  const Case cases[] = {
      {"abc", "abc"},
      {"\\~", "\\~"},
      {"日本語", "\x93\xfa\x96\x7b\x8c\xea"},
      {"ｱｲｳ", "\xb1\xb2\xb3"},
      {"ソ表", "\x83\x5c\x95\x5c"},          // second byte 0x5C
      {"°±×μ", "\x81\x8b\x81\x7d\x81\x7e\x83\xca"},
      {"①Ⅰ", "\x87\x40\x87\x54"},            // NEC row 13, not the IBM duplicates
      {"ⅰ", "\xfa\x40"},                      // IBM extension, not the NEC-selected copy
      {"≒", "\x81\xe0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp::FromUtf8(c.utf8), c.sjis) << c.utf8;
    EXPECT_EQ(cp::ToUtf8(c.sjis), c.utf8) << c.utf8;
  }
}

TEST(Codepage, UnmappableBecomesOneVisibleSubstitute) {
  EXPECT_EQ(cp::FromUtf8("a\xF0\x9F\x98\x80z"), "a\x81\x45z");  // emoji
  EXPECT_EQ(cp::FromUtf8("\xE2\x82"), "\x81\x45\x81\x45");     // truncated sequence
  EXPECT_EQ(cp::Encode(u'\u20AC'), -1);                         // euro sign
}

TEST(Codepage, UndefinedBytesAreNotDropped) {
  // A lead byte at the end and a pair without a character keep their bytes visible.
  EXPECT_EQ(cp::ToUtf16("a\x81").size(), 2u);
  EXPECT_EQ(cp::ToUtf16("\x85\x40").size(), 2u);
}

TEST(Codepage, LookAlikesFromOtherMappings) {
  EXPECT_EQ(cp::FromUtf8("µ〜−"), "\x83\xca\x81\x60\x81\x7c");  // micro, wave dash, minus
}
