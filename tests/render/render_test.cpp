// tyld-render end to end: files in, pages out, checked against the files' own bytes.
#include "render/render_job.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <regex>
#include <sstream>

#include "document/document_buffer.h"
#include "platform/version.h"
#include "platform/codepage.h"
#include "render/render_batch.h"
#include "render/render_options.h"
#include "settings/page_format.h"
#include "settings/settings_file.h"
#include "../support/test_workspace.h"

namespace tyld::render {
namespace {

class RenderTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const QString path = dir_.filePath(QString::fromStdString(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path.toStdString();
  }

  // Runs with the given arguments as tyld-render does; returns the exit code, fills out/err.
  int Run(const std::vector<std::string>& args, const std::string& input = {}) {
    out_.str("");
    err_.str("");
    const ParseResult parsed = ParseRenderArguments(args);
    if (!parsed.options) {
      err_ << parsed.error;
      return kUsageError;
    }
    state_.live = settings::LiveSettings{};
    std::istringstream in(input);
    return RunRenderBatch(*parsed.options, state_.workspace, in, out_, err_);
  }

  QTemporaryDir dir_;
  testing_support::TestWorkspace state_;
  std::ostringstream out_, err_;
};

// The rows of a txt rendering, without the headings.
std::vector<std::string> Rows(const std::string& text) {
  std::vector<std::string> rows;
  std::istringstream in(text);
  std::string line;
  bool inColumn = false;
  while (std::getline(in, line)) {
    if (line.rfind("=== ", 0) == 0 || line == "--- footer ---") {
      inColumn = false;
    } else if (line.rfind("--- column", 0) == 0) {
      inColumn = true;
    } else if (inColumn) {
      rows.push_back(line);
    }
  }
  return rows;
}

TEST_F(RenderTest, AsciiTextReproducesAShiftJisFile) {
  // Long lines wrap, TABs expand to 8, double-byte characters never split at a row end.
  std::string text;
  std::mt19937 rng(7);
  const char* words[] = {"日本語", "応力", "abc", "\t", "Ｘ", "構造解析の結果", "12.5", " "};
  std::string expected;
  for (int line = 0; line < 400; ++line) {
    std::string l;
    const int n = static_cast<int>(rng() % 40);
    for (int w = 0; w < n; ++w) l += words[rng() % 8];
    text += platform::codepage::FromUtf8(l) + "\r\n";
    std::string expanded;
    int col = 0;
    for (char32_t c : QString::fromStdString(l).toStdU32String()) {
      if (c == U'\t') {
        do expanded += ' ';
        while (++col % 8 != 0);
        continue;
      }
      expanded += QString::fromStdU32String(std::u32string(1, c)).toStdString();
      col += c < 0x80 ? 1 : 2;
    }
    expected += expanded;
  }
  const std::string path = Write("jp.txt", text);
  ASSERT_EQ(Run({"--format", "txt", "--out", "-", path}), kDone) << err_.str();
  std::string joined;
  const int width = state_.live.ascii.AscCharsPerLine;
  for (const std::string& row : Rows(out_.str())) {
    const std::string sjis = platform::codepage::FromUtf8(row);
    EXPECT_LE(static_cast<int>(sjis.size()), width + 2) << row;
    EXPECT_EQ(platform::codepage::ToUtf8(sjis), row);  // whole characters only
    joined += row;
  }
  // Trailing blanks of a row are not drawn, so compare without spaces.
  auto squeeze = [](std::string s) {
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
  };
  EXPECT_EQ(squeeze(joined), squeeze(expected));
}

TEST_F(RenderTest, BinaryTextListsEveryByteAtItsAddress) {
  std::string data(300000, '\0');
  std::mt19937 rng(11);
  for (char& c : data) c = static_cast<char>(rng());
  data.back() = 'z';  // a final NUL would be shown as 0x1A
  const std::string path = Write("rand.bin", data);
  ASSERT_EQ(Run({"--screen", "binary", "--format", "txt", "--out", "-", path}), kDone) << err_.str();
  const std::regex dump("^([0-9A-F]{6}): ((?:[0-9A-F]{2} {1,2}){0,15}[0-9A-F]{2})");
  std::istringstream in(out_.str());
  std::string line;
  std::int64_t next = 0;
  while (std::getline(in, line)) {
    std::smatch m;
    if (!std::regex_search(line, m, dump)) continue;
    ASSERT_EQ(std::stoll(m[1].str(), nullptr, 16), next) << line;
    std::istringstream bytes(m[2].str());
    std::string hex;
    while (bytes >> hex) {
      ASSERT_LT(next, static_cast<std::int64_t>(data.size()));
      ASSERT_EQ(std::stoi(hex, nullptr, 16), static_cast<unsigned char>(data[next])) << "at " << next;
      ++next;
    }
  }
  EXPECT_EQ(next, static_cast<std::int64_t>(data.size()));
}

TEST_F(RenderTest, BinaryRangeLinesAndPageCountFollowTheBlocksPerPage) {
  const std::string path = Write("d.bin", std::string(5000, 'A'));
  for (int columns : {1, 2, 4}) {
    // A settings file with tall top margins leaves room for one block per column.
    settings::SettingsRecord r{};
    settings::LiveSettings live;
    live.binary.BinColumns = columns;
    live.binary.BinMarginTop = 150;
    live.binaryFont.choice.pointSize = 40;
    settings::CollectRecord(live, r);
    std::string bytes(reinterpret_cast<const char*>(&r), sizeof r);
    const std::string settingsPath = Write("s" + std::to_string(columns) + ".bin", bytes);
    ASSERT_EQ(Run({"--screen", "binary", "--format", "txt", "--settings", settingsPath, "--out", "-", path}), kDone)
        << err_.str();
    const settings::BinaryPageFormat& fmt = state_.live.binary;
    ASSERT_EQ(fmt.BinBlocksPerColumn, 1) << columns;
    ASSERT_EQ(fmt.BinColumns, columns);
    const int perPage = 256 * columns;
    const int pages = (5000 + perPage - 1) / perPage;
    const std::string text = out_.str();
    int seen = 0;
    for (int n = 0; n < pages; ++n) {
      char range[64];
      std::snprintf(range, sizeof range, "[%06X-%06X/%06X]H", n * perPage, std::min((n + 1) * perPage, 5000) - 1, 5000);
      EXPECT_NE(text.find(range), std::string::npos) << range;
      ++seen;
    }
    EXPECT_EQ(text.find("=== page " + std::to_string(pages + 1) + " ==="), std::string::npos);
    EXPECT_NE(text.find("=== page " + std::to_string(pages) + " ==="), std::string::npos);
    EXPECT_EQ(seen, pages);
  }
}

// A page range of the binary screen reads only the bytes it shows; each page must come out
// as it does in a rendering of the whole file: pairs carried over a page start (and one
// that is not, its lead being a trail), a CR+LF across it, the final NUL shown as 0x1A.
TEST_F(RenderTest, BinaryPagesOfARangeEqualThoseOfTheWholeFile) {
  std::string data(20000, '\0');
  std::mt19937 rng(5);
  for (char& c : data) c = static_cast<char>(rng());
  const auto put = [&](std::size_t at, std::initializer_list<unsigned char> bytes) {
    for (const unsigned char b : bytes) data[at++] = static_cast<char>(b);
  };
  put(511, {0x88, 0x9F});        // carried into page 2 (512 bytes a page, see below)
  put(1024 * 10 - 2, {'a', 0x0D, 0x0A});
  put(512 * 20 - 2, {0x88, 0x88, 0x9F});  // the byte before the page start is a trail
  put(512 * 39 - 1, {0x88, 0x9F});        // into the last page
  data.back() = '\0';
  const std::string path = Write("big.bin", data);
  settings::SettingsRecord r{};
  settings::LiveSettings live;
  live.binary.BinColumns = 2;
  live.binary.BinMarginTop = 150;
  live.binaryFont.choice.pointSize = 40;
  settings::CollectRecord(live, r);
  const std::string settingsPath = Write("s.bin", std::string(reinterpret_cast<const char*>(&r), sizeof r));
  const std::vector<std::string> common = {"--screen", "binary", "--format", "txt", "--settings", settingsPath,
                                           "--out", "-"};

  std::vector<std::string> args = common;
  args.push_back(path);
  ASSERT_EQ(Run(args), kDone) << err_.str();
  const std::string whole = out_.str();
  const auto pageOf = [](const std::string& text, int n) {
    const std::size_t from = text.find("=== page " + std::to_string(n) + " ===\n");
    const std::size_t to = text.find("=== page " + std::to_string(n + 1) + " ===\n");
    return from == std::string::npos ? std::string() : text.substr(from, to == std::string::npos ? to : to - from);
  };
  ASSERT_NE(pageOf(whole, 40), "");
  ASSERT_EQ(pageOf(whole, 41), "");
  ASSERT_NE(pageOf(whole, 2).find("[000200-0003FF/004E20]H"), std::string::npos);
  for (const int page : {1, 2, 3, 20, 21, 39, 40}) {
    args = common;
    args.insert(args.end(), {"--pages", std::to_string(page) + "-" + std::to_string(page), path});
    ASSERT_EQ(Run(args), kDone) << err_.str();
    EXPECT_EQ(out_.str(), pageOf(whole, page)) << "page " << page;
  }
  args = common;
  args.insert(args.end(), {"--pages", "19-21", path});
  ASSERT_EQ(Run(args), kDone) << err_.str();
  EXPECT_EQ(out_.str(), pageOf(whole, 19) + pageOf(whole, 20) + pageOf(whole, 21));
}

TEST_F(RenderTest, ExitCodesNameTheProblem) {
  const std::string good = Write("a.txt", "hello\r\n");
  const std::string binary = Write("b.bin", std::string("ab\x01" "cd", 5));
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* says;
  } cases[] = {
      {{"--bogus", good}, kUsageError, "--bogus"},
      {{"-x", good}, kUsageError, "'-x'"},
      {{good, "--pages"}, kUsageError, "--pages needs FIRST-LAST"},
      {{}, kUsageError, "FILE is missing"},
      {{"-", "-"}, kUsageError, "only once"},
      {{"--out", "x.pdf", good, good}, kUsageError, "--out-dir"},
      {{"--out", "-", good, good}, kUsageError, "--out-dir"},
      {{"--out", "x", "--out-dir", "d", good}, kUsageError, "exclude"},
      {{"--pages", "x-2", good}, kUsageError, "--pages"},
      {{"--format", "txt", "--pages", "9-9", good}, kUsageError, "--pages"},
      {{"--format", "txt", dir_.filePath("missing.txt").toStdString()}, kNothingToPrint, "ファイルがないか空です"},
      {{"--format", "txt", binary}, kNothingToPrint, "2(0x0002) ﾊﾞｲﾄ目がアスキー状態ではなくアスキー表示できません。"},
      {{"--out", "/nonexistent-dir/x.pdf", good}, kNotWritable, "/nonexistent-dir/x.pdf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_NE(err_.str().find(c.says), std::string::npos) << err_.str();
  }
}

// Page numbers follow --page-number from the first page of the range, and a number near the
// int limit stays there instead of wrapping round to a negative one.
TEST_F(RenderTest, PageNumbersCountFromTheGivenNumber) {
  std::string text;
  for (int line = 0; line < 300; ++line) text += "line " + std::to_string(line) + "\r\n";
  const std::string path = Write("long.txt", text);
  const struct {
    const char* number;
    const char* firstShown;
    const char* secondShown;
  } cases[] = {
      {"-1", "- 2 -", "- 3 -"},
      {"7", "- 7 -", "- 8 -"},
      {"2147483647", "- 2147483647 -", "- 2147483647 -"},
  };
  for (const char* screen : {"ascii", "binary"}) {
    for (const auto& c : cases) {
      ASSERT_EQ(Run({"--screen", screen, "--format", "txt", "--pages", "2-3", "--page-number", c.number, "--out", "-",
                     path}),
                kDone)
          << err_.str();
      const std::string out = out_.str();
      const std::size_t first = out.find(c.firstShown);
      ASSERT_NE(first, std::string::npos) << screen << " " << c.number;
      EXPECT_NE(out.find(c.secondShown, first + 1), std::string::npos) << screen << " " << c.number;
      EXPECT_EQ(out.find("- -"), std::string::npos) << c.number;  // no negative number
    }
  }
  ASSERT_EQ(Run({"--format", "txt", "--page-number", "0", "--out", "-", path}), kDone);
  EXPECT_EQ(out_.str().find("- 1 -"), std::string::npos);
}

// A settings file is judged by its size before it is read: a device or a directory is
// refused at once, never read whole or waited on.
TEST_F(RenderTest, OnlyARegularFileOfTheRecordSizeServesAsSettings) {
  const std::string good = Write("a.txt", "hello\r\n");
  settings::SettingsRecord r{};
  settings::CollectRecord(settings::LiveSettings{}, r);
  std::string record(reinterpret_cast<const char*>(&r), sizeof r);
  const struct {
    std::string settings;
    int code;
    const char* says;
  } cases[] = {
      {"/dev/zero", kUsageError, "cannot read"},
      {dir_.path().toStdString(), kUsageError, "cannot read"},
      {Write("short.bin", record.substr(0, 1510)), kUsageError, "size 1510"},
      {Write("long.bin", record + "xy"), kUsageError, "size 1514"},
      {Write("one-less.bin", record.substr(0, 1511)), kDone, ""},
      {Write("one-more.bin", record + "x"), kDone, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run({"--format", "txt", "--out", "-", "--settings", c.settings, good}), c.code) << c.settings;
    EXPECT_NE(err_.str().find(c.says), std::string::npos) << err_.str();
  }
}

// The line-breaking rules come from tyld.ini beside the settings file, or from the option.
TEST_F(RenderTest, LineBreakRulesFollowTheIniBesideTheSettingsOrTheOption) {
  settings::SettingsRecord r{};
  settings::CollectRecord(settings::LiveSettings{}, r);
  const std::string settingsPath = Write("YDsettei.bin", std::string(reinterpret_cast<const char*>(&r), sizeof r));
  const std::string maru = "\x81\x42";
  // Lines of 1 to 100 characters and a full stop: one of them fills a row exactly.
  std::string text;
  for (int n = 1; n <= 100; ++n) {
    for (int i = 0; i < n; ++i) text += "\x82\xa0";
    text += maru + "\r\n";
  }
  const std::string path = Write("maru.txt", text);
  const auto rowsWith = [&](std::vector<std::string> extra) {
    std::vector<std::string> args{"--format", "txt", "--out", "-", "--settings", settingsPath};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(path);
    EXPECT_EQ(Run(args), kDone) << err_.str();
    return Rows(out_.str());
  };
  const auto startsWithMaru = [](const std::vector<std::string>& rows) {
    return std::count_if(rows.begin(), rows.end(), [](const std::string& row) { return row.rfind("。", 0) == 0; });
  };
  const std::vector<std::string> off = rowsWith({});
  ASSERT_GT(startsWithMaru(off), 0) << "the fixture must put a full stop at a row start";
  Write("tyld.ini", "[ascii]\nlineBreakRules=true\n");
  const std::vector<std::string> on = rowsWith({});
  EXPECT_EQ(startsWithMaru(on), 0);
  EXPECT_EQ(rowsWith({"--line-break-rules", "off"}), off);
  Write("tyld.ini", "[ascii]\nlineBreakRules=false\n");
  EXPECT_EQ(rowsWith({"--line-break-rules", "on"}), on);
  EXPECT_EQ(Run({"--line-break-rules", "maybe", path}), kUsageError);
}

TEST_F(RenderTest, MailsAreRenderedDecoded) {
  QFile mail(QStringLiteral(TYLD_SOURCE_DIR "/tests/mail/fixtures/compat32_iso2022jp_7bit.eml"));
  ASSERT_TRUE(mail.open(QIODevice::ReadOnly));
  const std::string path = Write("m.eml", mail.readAll().toStdString());
  for (const char* format : {"decoded", "txt"}) {
    ASSERT_EQ(Run({"--format", format, "--out", "-", path}), kDone) << err_.str();
    EXPECT_NE(out_.str().find("Subject: JISの件名"), std::string::npos) << format << "\n" << out_.str();
    EXPECT_EQ(out_.str().find("=?iso-2022-jp?"), std::string::npos) << format;
  }
}

TEST_F(RenderTest, PdfTextComesBack) {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext missing";
  const std::string path = Write("jp.txt", platform::codepage::FromUtf8("構造解析の結果\r\n応力 σ=12.5 N/mm2\r\n"));
  const std::string pdf = dir_.filePath("jp.pdf").toStdString();
  ASSERT_EQ(Run({"--out", pdf, path}), kDone) << err_.str();
  const std::string cmd = "pdftotext -enc UTF-8 '" + pdf + "' -";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string text;
  char buf[4096];
  while (const std::size_t n = fread(buf, 1, sizeof buf, p)) text.append(buf, n);
  pclose(p);
  EXPECT_NE(text.find("構造解析の結果"), std::string::npos) << text;
  EXPECT_NE(text.find("σ=12.5 N/mm2"), std::string::npos) << text;
  EXPECT_NE(text.find("[jp.txt]"), std::string::npos) << text;
}

TEST_F(RenderTest, HelpAndVersionNeedNoFile) {
  const ParseResult help = ParseRenderArguments({"-h"});
  EXPECT_TRUE(help.help);
  EXPECT_TRUE(ParseRenderArguments({"--version"}).version);
  EXPECT_EQ(VersionText(), std::string("tyld-render ") + platform::kVersionText + "\n");
  const std::string usage = UsageText();
  for (const char* option : {"--screen", "--format", "--out-dir", "--pages", "--page-number", "--printer", "--dpi",
                             "--version", "FILE..."})
    EXPECT_NE(usage.find(option), std::string::npos) << option;
}

// Values are taken as given even when they start with a dash, and after "--" every
// argument is a file.
TEST_F(RenderTest, ValuesMayStartWithADashAndFilesFollowADoubleDash) {
  const ParseResult r = ParseRenderArguments({"--page-number", "-1", "--out", "-", "--format=txt", "--", "--mono", "-"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->pageNumber, -1);
  EXPECT_EQ(r.options->out, "-");
  EXPECT_EQ(r.options->format, Format::Txt);
  EXPECT_FALSE(r.options->mono);
  EXPECT_EQ(r.options->files, (std::vector<std::string>{"--mono", "-"}));
}

TEST_F(RenderTest, OutDirWritesOneOutputPerInputAndEndsWithTheWorstStatus) {
  const std::string a = Write("a.txt", "alpha\r\n");
  const std::string b = Write("b.bin", std::string("\x01\x02zz", 4));
  const std::string missing = dir_.filePath("missing.txt").toStdString();
  const QString out = dir_.filePath("out/sub");
  ASSERT_EQ(Run({"--format", "txt", "--screen", "binary", "--out-dir", out.toStdString(), a, b}), kDone) << err_.str();
  for (const char* name : {"a.txt.txt", "b.bin.txt"}) {
    QFile f(QDir(out).filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    EXPECT_TRUE(f.readAll().contains("=== page 1 ===")) << name;
  }
  EXPECT_TRUE(out_.str().empty());

  // A missing input does not stop the others; the binary file the ASCII screen refuses
  // (3) and an unwritable output (4) leave the worst status.
  ASSERT_EQ(Run({"--out-dir", out.toStdString(), missing, a}), kNothingToPrint) << err_.str();
  EXPECT_TRUE(QFile::exists(QDir(out).filePath(QStringLiteral("a.txt.pdf"))));
  EXPECT_NE(err_.str().find("'" + missing + "' ended with status 3"), std::string::npos) << err_.str();
  ASSERT_TRUE(QFile::remove(QDir(out).filePath(QStringLiteral("a.txt.pdf"))));
  ASSERT_TRUE(QDir(out).mkdir(QStringLiteral("a.txt.pdf")));  // a directory where the PDF goes
  EXPECT_EQ(Run({"--out-dir", out.toStdString(), b, a, missing}), kNotWritable) << err_.str();
  EXPECT_EQ(Run({"--out-dir", dir_.filePath("a.txt").toStdString(), a}), kNotWritable) << err_.str();
}

TEST_F(RenderTest, InputsOfTheSameNameAreRefusedBeforeAnythingIsWritten) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("x")));
  const std::string first = Write("same.txt", "one\r\n");
  const std::string second = Write("x/same.txt", "two\r\n");
  const QString out = dir_.filePath(QStringLiteral("o"));
  EXPECT_EQ(Run({"--out-dir", out.toStdString(), first, second}), kUsageError);
  EXPECT_NE(err_.str().find("would both write"), std::string::npos) << err_.str();
  EXPECT_FALSE(QFile::exists(QDir(out).filePath(QStringLiteral("same.txt.pdf"))));
  // Text to standard output may follow text.
  ASSERT_EQ(Run({"--format", "decoded", first, second}), kDone) << err_.str();
  EXPECT_EQ(out_.str(), "one\r\ntwo\r\n");
}

TEST_F(RenderTest, StandardInputIsRenderedAsAFileNamedStdin) {
  const std::string a = Write("a.txt", "from a file\r\n");
  ASSERT_EQ(Run({"--format", "txt", "-", a}, platform::codepage::FromUtf8("標準入力の行\r\n")), kDone) << err_.str();
  const std::string text = out_.str();
  const std::size_t piped = text.find("標準入力の行");
  ASSERT_NE(piped, std::string::npos) << text;
  EXPECT_NE(text.find("[stdin]"), std::string::npos) << text;
  EXPECT_GT(text.find("from a file"), piped);
  // Empty standard input is an empty file.
  EXPECT_EQ(Run({"--format", "txt", "-"}, ""), kNothingToPrint);
  // With --out-dir the output is named after it too.
  const QString out = dir_.filePath(QStringLiteral("o"));
  ASSERT_EQ(Run({"--out-dir", out.toStdString(), "-"}, "piped\r\n"), kDone) << err_.str();
  EXPECT_TRUE(QFile::exists(QDir(out).filePath(QStringLiteral("stdin.pdf"))));
}

}  // namespace
}  // namespace tyld::render
