// Mails written by a standard MIME library and by hand (fixtures/make_fixtures.py): the
// subject, the sender, every text body and every file name Tyld shows equal what that
// library shows, in Shift-JIS. The table is fixtures/expected.txt; each mail is decoded
// as stored and with its line ends swapped.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "mail/mail_decoder.h"

namespace tyld::mail {
namespace {

std::filesystem::path FixtureDir() { return TYLD_MAIL_FIXTURES; }

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Expected {
  std::string name;
  std::string subject, sender;
  std::vector<std::string> bodies;  // "-" where the text is not compared
  std::vector<std::string> files, raws;
};

void PrintTo(const Expected& e, std::ostream* os) { *os << e.name; }

// The records of expected.txt (see make_fixtures.py).
std::vector<Expected> ReadTable() {
  const std::string t = ReadFile(FixtureDir() / "expected.txt");
  std::vector<Expected> table;
  std::size_t p = 0;
  auto line = [&] {
    const std::size_t end = t.find("\r\n", p);
    std::string text = t.substr(p, end - p);
    p = end == std::string::npos ? t.size() : end + 2;
    return text;
  };
  auto sized = [&](const std::string& head, std::size_t skip) {
    const std::size_t n = std::stoul(head.substr(skip));
    std::string bytes = t.substr(p, n);
    p += n + 2;
    return bytes;
  };
  while (p < t.size()) {
    const std::string head = line();
    if (head.starts_with("== ")) {
      table.push_back({head.substr(3), {}, {}, {}, {}, {}});
    } else if (table.empty()) {
      break;
    } else if (head.starts_with("Subject: ")) {
      table.back().subject = head.substr(9);
    } else if (head.starts_with("From: ")) {
      table.back().sender = head.substr(6);
    } else if (head == "Body -") {
      table.back().bodies.emplace_back("-");
    } else if (head.starts_with("Body ")) {
      table.back().bodies.push_back(sized(head, 5));
    } else if (head.starts_with("File ")) {
      table.back().files.push_back(sized(head, 5));
    } else if (head.starts_with("Raw ")) {
      table.back().raws.push_back(sized(head, 4));
    }
  }
  return table;
}

std::string SwapLineEnds(const std::string& mail) {
  std::string out;
  if (mail.find("\r\n") != std::string::npos) {
    for (char c : mail)
      if (c != '\r') out += c;
  } else {
    for (char c : mail) {
      if (c == '\n') out += '\r';
      out += c;
    }
  }
  return out;
}

// A field of the decoded mail header (before the first empty line), its leading white
// space dropped as a reader skips it.
std::string HeaderField(const std::string& decoded, std::string_view name) {
  std::size_t p = 0;
  while (p < decoded.size()) {
    std::size_t end = decoded.find("\r\n", p);
    if (end == std::string::npos) end = decoded.size();
    const std::string_view line(decoded.data() + p, end - p);
    if (line.empty()) break;
    if (line.starts_with(name)) {
      std::string_view value = line.substr(name.size());
      while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
      return std::string(value);
    }
    p = end + 2;
  }
  return "<no " + std::string(name) + ">";
}

std::string WithoutFinalBreaks(std::string s) {
  while (s.ends_with("\r\n")) s.resize(s.size() - 2);
  return s;
}

class MailFixture : public testing::TestWithParam<Expected> {};

TEST_P(MailFixture, ShowsWhatTheLibraryShows) {
  const Expected& want = GetParam();
  const std::string stored = ReadFile(FixtureDir() / (want.name + ".eml"));
  ASSERT_FALSE(stored.empty()) << want.name;
  for (const std::string& mail : {stored, SwapLineEnds(stored)}) {
    SCOPED_TRACE(mail.find("\r\n") != std::string::npos ? "CR LF" : "LF");
    MailDecoder decoder;
    decoder.Decode(mail);
    const std::string& decoded = decoder.Output();
    EXPECT_TRUE(decoder.UnknownCharsets().empty());
    EXPECT_EQ(HeaderField(decoded, "Subject:"), want.subject);
    EXPECT_EQ(HeaderField(decoded, "From:"), want.sender);
    const auto& bodies = decoder.TextBodies();
    ASSERT_EQ(bodies.size(), want.bodies.size());
    for (std::size_t k = 0; k < bodies.size(); ++k) {
      if (want.bodies[k] == "-") continue;
      // Whether the last line's break belongs to the body or to the boundary after it
      // is no difference a reader sees.
      EXPECT_EQ(WithoutFinalBreaks(decoded.substr(bodies[k].Offset, bodies[k].Length)),
                WithoutFinalBreaks(want.bodies[k]))
          << "body " << k + 1;
    }
    for (const std::string& file : want.files)
      EXPECT_NE(decoded.find("=\"" + file + "\""), std::string::npos) << "file name";
    for (const std::string& raw : want.raws) EXPECT_NE(decoded.find(raw), std::string::npos) << "raw lines";
  }
}

TEST(MailFixtureTable, Loads) { EXPECT_FALSE(ReadTable().empty()) << FixtureDir(); }

INSTANTIATE_TEST_SUITE_P(Fixtures, MailFixture, testing::ValuesIn(ReadTable()),
                         [](const testing::TestParamInfo<Expected>& info) { return info.param.name; });

}  // namespace
}  // namespace tyld::mail
