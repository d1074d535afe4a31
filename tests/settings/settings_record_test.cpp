#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tyld::settings {
namespace {

TEST(LastOpenPath, CutsWholeCharactersAndZeroFillsTheField) {
  const std::string a253(253, 'a');
  const std::string pair = "\x83\x66";  // "デ"
  struct Case {
    std::string stored;
    std::string kept;
  } cases[] = {
      {"C:\\d\\e.zpa", "C:\\d\\e.zpa"},
      {std::string(300, 'a'), std::string(255, 'a')},
      {a253 + pair, a253 + pair},                // exactly 255 bytes
      {a253 + "a" + pair, a253 + "a"},           // the pair would need bytes 254 and 255
      {std::string("ab\0cd", 5), "ab"},
      {"x\x83", "x\x83"},                        // a lone lead byte at the end is one byte
  };
  for (const Case& c : cases) {
    SettingsRecord r;
    std::memset(r.LastOpenPath, 0x5A, sizeof r.LastOpenPath);
    SetLastOpenPath(r, c.stored);
    EXPECT_EQ(LastOpenPath(r), c.kept);
    for (std::size_t i = c.kept.size(); i < kLastOpenPathSize; ++i)
      ASSERT_EQ(r.LastOpenPath[i], 0) << "byte " << i << " after " << c.kept.size();
  }
}

TEST(LastOpenPath, UnterminatedFieldIsReadAsAtMostItsSize) {
  SettingsRecord r;
  std::memset(r.LastOpenPath, 'z', sizeof r.LastOpenPath);
  r.unused2E8[0] = 'y';  // the byte after the field must not be taken
  EXPECT_EQ(LastOpenPath(r), std::string(kLastOpenPathSize, 'z'));
}

TEST(LastOpenPath, Utf8IsStoredAsCodePage932) {
  SettingsRecord r;
  SetLastOpenPathUtf8(r, "/home/ユーザ/データ.txt");
  EXPECT_EQ(LastOpenPath(r), "/home/\x83\x86\x81\x5B\x83\x55/\x83\x66\x81\x5B\x83\x5E.txt");
  EXPECT_EQ(LastOpenPathUtf8(r), "/home/ユーザ/データ.txt");
}

}  // namespace
}  // namespace tyld::settings
