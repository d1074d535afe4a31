// Mails written by a standard MIME library (fixtures/make_fixtures.py): the subject and
// every text body Tyld shows equal what that library decodes, in Shift-JIS.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "mail/mail_decoder.h"

namespace tyld::mail {
namespace {

std::filesystem::path FixtureDir() { return TYLD_MAIL_FIXTURES; }

bool ReadFile(const std::filesystem::path& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  out = text.str();
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The Subject field of decoded output, unfolded as the library unfolds it: the line
// break goes, and so does the white space of a fold between two encoded words (which
// the raw mail tells, since decoding keeps header lines one for one).
std::string UnfoldedSubject(const std::string& raw, const std::string& decoded) {
  const auto rawLines = SplitLines(raw);
  const auto lines = SplitLines(decoded);
  std::size_t i = 0;
  while (i < lines.size() && lines[i].rfind("Subject: ", 0) != 0) ++i;
  if (i == lines.size() || rawLines.size() <= i) return "<no subject>";
  std::string subject = lines[i].substr(9);
  for (++i; i < lines.size() && !lines[i].empty() && (lines[i][0] == ' ' || lines[i][0] == '\t'); ++i) {
    const bool betweenWords = rawLines[i - 1].ends_with("?=") && rawLines[i].find_first_not_of(" \t") != std::string::npos &&
                              rawLines[i].compare(rawLines[i].find_first_not_of(" \t"), 2, "=?") == 0;
    subject += betweenWords ? lines[i].substr(lines[i].find_first_not_of(" \t")) : lines[i];
  }
  return subject;
}

class MailFixture : public testing::TestWithParam<const char*> {};

TEST_P(MailFixture, ShowsWhatTheLibraryDecodes) {
  const auto base = FixtureDir() / GetParam();
  std::string raw, subject;
  ASSERT_TRUE(ReadFile(base.string() + ".eml", raw)) << base;
  ASSERT_TRUE(ReadFile(base.string() + ".subject", subject));
  const std::string decoded = DecodeMail(raw);

  EXPECT_EQ(UnfoldedSubject(raw, decoded), subject);
  int bodies = 0;
  std::string expected;
  for (int n = 1; ReadFile(base.string() + ".body" + std::to_string(n), expected); ++n, ++bodies)
    EXPECT_NE(decoded.find(expected), std::string::npos) << "body " << n << ":\n" << expected << "\nin:\n" << decoded;
  EXPECT_GT(bodies, 0);
  for (int n = 1; ReadFile(base.string() + ".raw" + std::to_string(n), expected); ++n)
    EXPECT_NE(decoded.find(expected), std::string::npos) << "raw " << n;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, MailFixture,
                         testing::Values("iso2022jp_7bit", "utf8_base64", "utf8_quoted_printable", "multipart_png",
                                         "alternative_html", "folded_headers"));

}  // namespace
}  // namespace tyld::mail
