#include "document/command_line.h"

#include <gtest/gtest.h>

namespace tyld::document {
namespace {

TEST(CommandLine, Table) {
  const std::string longPath = "/data/" + std::string(600, 'x') + ".zpa";
  struct Case {
    std::string line;
    int startMode;
    std::string dfPath, printName;
    int programType, colourTag;
    std::string caption;  // of the warning; empty when none
  } cases[] = {
      {"", 0, "", "", 0, 0, ""},
      {"   ", 0, "", "", 0, 0, ""},
      {"C:\\Data\\a.txt", 2, "C:\\Data\\a.txt", "a.txt", 0, 0, ""},
      {"/home/u/my file.txt", 2, "/home/u/my file.txt", "my file.txt", 0, 0, ""},
      {"\"C:\\x\\a.txt\"", 2, "\"C:\\x\\a.txt\"", "a.txt\"", 0, 0, ""},
      {"F=C:\\Data\\model.zpb PF=Beam 1 PGM=2 COLTAG=1", 1, "C:\\Data\\model.zpb", "Beam 1", 2, 1, ""},
      {"  F=C:\\My Data\\b.zpb", 1, "C:\\My Data\\b.zpb", "b.zpb", 0, 0, ""},
      {"F=x.txt  PF=Name  ", 1, "x.txt", "Name", 0, 0, ""},
      {"PF= F=C:\\d\\e.zpa", 1, "C:\\d\\e.zpa", "e.zpa", 0, 0, ""},
      {"F=/home/ユーザ/データ.zpa", 1, "/home/ユーザ/データ.zpa", "データ.zpa", 0, 0, ""},
      {"F=a PGM=7 COLTAG=1x CV=1", 1, "a", "a", 0, 1, ""},
      {"F=a PGM= COLTAG= CV=", 1, "a", "a", 0, 0, ""},
      {"F=a PGM=5 COLTAG=0 CV=2", 1, "a", "a", 5, 0, ""},
      // More than five items and long items are taken whole.
      {"S=/s F=a PF=p PGM=3 CV=1 COLTAG=1 F=b", 1, "b", "p", 3, 1, ""},
      {"F=" + longPath, 1, longPath, std::string(600, 'x') + ".zpa", 0, 0, ""},
      // Unknown items: warning, then the whole line is the path.
      {"f=x.txt", 2, "f=x.txt", "f=x.txt", 0, 0, "0 番目のｺﾏﾝﾄﾞ[f=x.txt]"},
      {"F=a.txt X=1", 2, "F=a.txt X=1", "F=a.txt X=1", 0, 0, "1 番目のｺﾏﾝﾄﾞ[X=1]"},
      {"F=C:\\a=b.txt", 2, "F=C:\\a=b.txt", "a=b.txt", 0, 0, "0 番目のｺﾏﾝﾄﾞ[F]"},
      {"F=a b=c=d", 2, "F=a b=c=d", "F=a b=c=d", 0, 0, "1 番目のｺﾏﾝﾄﾞ[b]"},
      {"=x", 2, "=x", "=x", 0, 0, "0 番目のｺﾏﾝﾄﾞ[=x]"},
      // Items before the bad one keep their effect.
      {"COLTAG=1 PF=Beam Q=1", 2, "COLTAG=1 PF=Beam Q=1", "Beam", 0, 1, "2 番目のｺﾏﾝﾄﾞ[Q=1]"},
      {"F=%s%n X=%d", 2, "F=%s%n X=%d", "F=%s%n X=%d", 0, 0, "1 番目のｺﾏﾝﾄﾞ[X=%d]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    StartupState s;
    const std::optional<CommandLineWarning> warning = ApplyCommandLine(c.line, s);
    EXPECT_EQ(s.StartMode, c.startMode);
    EXPECT_EQ(s.DfPath, c.dfPath);
    EXPECT_EQ(s.PrintName, c.printName);
    EXPECT_EQ(s.ProgramType, c.programType);
    EXPECT_EQ(s.ColourTagMode, c.colourTag);
    ASSERT_EQ(warning.has_value(), !c.caption.empty());
    if (warning) {
      EXPECT_EQ(warning->text, "ﾁｬｲﾙﾄﾞﾓｰﾄﾞのｺﾏﾝﾄﾞ不良、中断します");
      EXPECT_EQ(warning->caption, c.caption);
    }
  }
}

TEST(CommandLine, SettingsItemIsKeptWithoutEffectOnThePath) {
  StartupState s;
  ApplyCommandLine("S=/etc/other.bin F=a", s);
  EXPECT_EQ(s.SettingsArg, "/etc/other.bin");
  EXPECT_EQ(s.StartMode, 1);
}

TEST(CommandLine, ArgumentsJoinWithSingleSpaces) {
  const char* args[] = {"tyld", "F=/home/u/My", "Data/b.zpb", "PF=x"};
  EXPECT_EQ(JoinArguments(4, args), "F=/home/u/My Data/b.zpb PF=x");
  EXPECT_EQ(JoinArguments(1, args), "");
}

}  // namespace
}  // namespace tyld::document
