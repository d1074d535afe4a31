#include "settings/side_options.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace tyld::settings {
namespace {

TEST(SideOptions, TheFileStandsBesideTheSettingsFile) {
  EXPECT_EQ(SideOptionsPath("/home/u/work/YDsettei.bin"), "/home/u/work/tyld.ini");
  EXPECT_EQ(SideOptionsPath("YDsettei.bin"), "tyld.ini");
}

TEST(SideOptions, LineBreakRulesRoundTripAndKeepOtherKeys) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("tyld.ini")).toStdString();
  EXPECT_FALSE(ReadLineBreakRules(path)) << "no file: off";
  {
    std::ofstream f(path);
    f << "[other]\nkey=kept\n";
  }
  ASSERT_TRUE(WriteLineBreakRules(path, true));
  EXPECT_TRUE(ReadLineBreakRules(path));
  ASSERT_TRUE(WriteLineBreakRules(path, false));
  EXPECT_FALSE(ReadLineBreakRules(path));
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("key=kept"), std::string::npos) << text;
}

TEST(SideOptions, ACorruptFileReadsAsOff) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("tyld.ini")).toStdString();
  const std::string contents[] = {
      "[ascii]\nlineBreakRules=yes\n",           // a word QVariant would take as true
      "[ascii]\nlineBreakRules=\n",
      std::string("\0\xff\xfe[ascii\nlineBreakRules=true", 29),  // binary junk, no section
      "lineBreakRules=true\n",                    // the key outside its section
  };
  for (const std::string& c : contents) {
    {
      std::ofstream f(path, std::ios::binary | std::ios::trunc);
      f << c;
    }
    EXPECT_FALSE(ReadLineBreakRules(path)) << c;
  }
  EXPECT_FALSE(ReadLineBreakRules(dir.path().toStdString())) << "a folder where the file should be";
}

}  // namespace
}  // namespace tyld::settings
