#include "mail/mail_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "mail/transfer_decoding.h"
#include "test_text.h"

namespace tyld::mail {
namespace {
using test::Sjis;

// Lines joined with CR LF, each line ended.
std::string Mail(const std::vector<std::string>& lines, const char* eol = "\r\n") {
  std::string out;
  for (const auto& line : lines) out += line + eol;
  return out;
}

TEST(MailDecoder, WorkedExampleLineByLine) {
  const std::vector<std::string> in = {
      "Subject: =?UTF-8?B?5pel5pys?=",                     // 0
      "Content-Type: multipart/mixed; boundary=\"XYZ\"",    // 1
      "",                                                   // 2
      "--XYZ",                                              // 3
      "Content-Type: text/plain; charset=UTF-8",            // 4
      "Content-Transfer-Encoding: base64",                  // 5
      "",                                                   // 6
      "5pel5pys6KqeDQrj",                                   // 7
      "gafjgZkNCg==",                                       // 8
      "--XYZ",                                              // 9
      "Content-Type: image/png",                            // 10
      "Content-Transfer-Encoding: base64",                  // 11
      "",                                                   // 12
      "iVBORw0KGgo=",                                       // 13
      "--XYZ--",                                            // 14
  };
  MailDecoder decoder;
  decoder.Decode(Mail(in));

  struct Row { int kind, charset, encoding, mark; };
  const Row expected[] = {
      {2, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 0, 0},                  // mail header, its end
      {0, 0, 0, 1},                                              // boundary
      {1, 8, 2, 0}, {1, 8, 2, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},  // UTF-8 base64 text
      {0, 0, 0, 1},
      {3, 0, 2, 0}, {3, 0, 2, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},    // image
      {0, 0, 0, -1},
  };
  const auto& lines = decoder.Lines();
  ASSERT_EQ(lines.size(), std::size(expected));
  std::size_t offset = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].LineStart, offset);
    EXPECT_EQ(lines[i].LineLength, in[i].size());
    EXPECT_EQ(lines[i].PartKind, expected[i].kind);
    EXPECT_EQ(lines[i].PartCharset, expected[i].charset);
    EXPECT_EQ(lines[i].TransferEncoding, expected[i].encoding);
    EXPECT_EQ(lines[i].BoundaryMark, expected[i].mark);
    offset += in[i].size() + 2;
  }
  EXPECT_EQ(decoder.Boundaries(), std::vector<std::string>{"XYZ"});

  std::vector<std::string> out = in;
  out[0] = "Subject: " + Sjis("日本");
  out.erase(out.begin() + 7, out.begin() + 9);
  // The decoded text keeps its own line ends and is followed by one more.
  out.insert(out.begin() + 7, {Sjis("日本語"), Sjis("です"), ""});
  EXPECT_EQ(decoder.Output(), Mail(out));
}

TEST(MailDecoder, PartsAndEncodings) {
  struct Case { const char* what; std::vector<std::string> in, out; };
  const std::string a = Sjis("あ"), nichi = Sjis("日");
  const std::string thanks = "\x82\xa0\x82\xe8\x82\xaa\x82\xc6\x82\xa4\x82\xb2\x82\xb4\x82\xa2\x82\xdc\x82\xb7";
  const Case cases[] = {
      {"ISO-2022-JP 7bit body converted as a block",
       {"Subject: =?ISO-2022-JP?B?GyRCJCIbKEI=?=", "Content-Type: text/plain; charset=ISO-2022-JP",
        "Content-Transfer-Encoding: 7bit", "", "\x1b$B$\"\x1b(B", "\x1b$BF|"},
       {"Subject: " + a, "Content-Type: text/plain; charset=ISO-2022-JP", "Content-Transfer-Encoding: 7bit",
        "", a, nichi, ""}},
      {"charset on a folded line; the field shows unfolded",
       {"Content-Type: text/plain;", "\tcharset=UTF-8", "Content-Transfer-Encoding: base64", "", "5pel"},
       {"Content-Type: text/plain;\tcharset=UTF-8", "Content-Transfer-Encoding: base64", "", nichi}},
      {"folded subject: one line, a character split across the fold whole",
       {"Subject: =?UTF-8?B?5pel5pys?= and", " =?UTF-8?B?5pc=?=", "\t=?UTF-8?B?pQ==?= x", "", "body"},
       {"Subject: " + Sjis("日本 and 日") + " x", "", "body"}},
      {"indented lines are continuations only after a field",
       {"From foo@example.jp Mon Apr  1", "  indented", "Subject: s", "", "  body"},
       {"From foo@example.jp Mon Apr  1", "  indented", "Subject: s", "", "  body"}},
      {"Shift_JIS 8bit, 7bit and unmarked bodies pass as written",
       {"Content-Type: multipart/mixed; boundary=b", "", "--b", "Content-Type: text/plain; charset=shift_jis",
        "Content-Transfer-Encoding: 8bit", "", thanks, "--b", "Content-Type: text/plain; charset=Shift_JIS",
        "Content-Transfer-Encoding: 7bit", "", thanks, "--b", "Content-Type: text/plain; charset=\"shift_jis\"", "",
        thanks, "=?UTF-8?B?5pel?=", "--b--"},
       {"Content-Type: multipart/mixed; boundary=b", "", "--b", "Content-Type: text/plain; charset=shift_jis",
        "Content-Transfer-Encoding: 8bit", "", thanks, "", "--b", "Content-Type: text/plain; charset=Shift_JIS",
        "Content-Transfer-Encoding: 7bit", "", thanks, "", "--b", "Content-Type: text/plain; charset=\"shift_jis\"",
        "", thanks, "=?UTF-8?B?5pel?=", "--b--"}},
      {"raw Shift-JIS header", {"Subject: " + thanks, "", "x"}, {"Subject: " + thanks, "", "x"}},
      {"EUC-JP quoted-printable with lower-case hexadecimal",
       {"Content-Type: text/plain; charset=euc-jp", "Content-Transfer-Encoding: quoted-printable", "",
        "=c6=fc=CB=DC"},
       {"Content-Type: text/plain; charset=euc-jp", "Content-Transfer-Encoding: quoted-printable", "", Sjis("日本"),
        ""}},
      {"base64 with white space and blank lines inside; a footer after the padding stays",
       {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: base64", "", "", "5pel 5py", "",
        "s5pe", "l", "", "-- ", "list footer"},
       {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: base64", "", "", Sjis("日本日"), "",
        "-- ", "list footer"}},
      {"base64 up to its padding",
       {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: base64", "", "5pc=", "Zm9v"},
       {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: base64", "", test::Sub() + test::Sub(),
        "Zm9v"}},
      {"encoding named before the type",
       {"Content-Transfer-Encoding: base64", "Content-Type: text/plain; charset=UTF-8", "", "5pel"},
       {"Content-Transfer-Encoding: base64", "Content-Type: text/plain; charset=UTF-8", "", nichi}},
      {"other header lines between type and encoding",
       {"Content-Type: text/plain; charset=\"utf-8\"", "MIME-Version: 1.0", "Content-Disposition: inline",
        "Content-Transfer-Encoding: quoted-printable", "", "=E6=97=A5=", "=E6=97=A5 a=3Db"},
       {"Content-Type: text/plain; charset=\"utf-8\"", "MIME-Version: 1.0", "Content-Disposition: inline",
        "Content-Transfer-Encoding: quoted-printable", "", nichi + nichi + " a=b", ""}},
      {"names and keywords in any case",
       {"content-type: TEXT/Plain; CHARSET=Utf-8", "content-transfer-encoding: BASE64", "", "5pel"},
       {"content-type: TEXT/Plain; CHARSET=Utf-8", "content-transfer-encoding: BASE64", "", nichi}},
      {"8bit UTF-8 body",
       {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: 8bit", "", "日 °"},
       {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: 8bit", "", Sjis("日 °"), ""}},
      {"text without transfer encoding, line by line",
       {"Content-Type: text/plain; charset=utf-8", "", "日 °", "x"},
       {"Content-Type: text/plain; charset=utf-8", "", Sjis("日 °"), "x"}},
      {"a type that merely contains \"text\" is no text",
       {"Content-Type: application/octet-stream; name=\"context.txt\"", "Content-Transfer-Encoding: base64", "",
        "5pel"},
       {"Content-Type: application/octet-stream; name=\"context.txt\"", "Content-Transfer-Encoding: base64", "",
        "5pel"}},
      {"unknown transfer encoding passes through",
       {"Content-Type: text/plain", "Content-Transfer-Encoding: x-uuencode", "", "=?UTF-8?B?5pel?="},
       {"Content-Type: text/plain", "Content-Transfer-Encoding: x-uuencode", "", nichi}},
      {"unquoted boundary, unclosed multipart",
       {"Content-Type: multipart/mixed; boundary=b1", "", "--b1", "Content-Type: text/plain; charset=utf-8",
        "Content-Transfer-Encoding: base64", "", "5pel", "", "trailing text."},
       {"Content-Type: multipart/mixed; boundary=b1", "", "--b1", "Content-Type: text/plain; charset=utf-8",
        "Content-Transfer-Encoding: base64", "", nichi, "", "trailing text."}},
      {"header lines inside a body are body text",
       {"Content-Type: text/plain", "", "Content-Transfer-Encoding: base64", "", "5pel"},
       {"Content-Type: text/plain", "", "Content-Transfer-Encoding: base64", "", "5pel"}},
      {"a part header running to the end has no body",
       {"Subject: x", "Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: quoted-printable"},
       {"Subject: x", "Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: quoted-printable"}},
      {"a line of a dot is text like any other", {"a", ".", "..", "b"}, {"a", ".", "..", "b"}},
      {"embedded message",
       {"Content-Type: message/rfc822", "", "Subject: =?UTF-8?B?5pel?=", "Content-Type: text/plain; charset=utf-8",
        "Content-Transfer-Encoding: base64", "", "5pel"},
       {"Content-Type: message/rfc822", "", "Subject: " + nichi, "Content-Type: text/plain; charset=utf-8",
        "Content-Transfer-Encoding: base64", "", nichi}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeMail(Mail(c.in)), Mail(c.out)) << c.what;
    EXPECT_EQ(DecodeMail(Mail(c.in, "\n")), Mail(c.out)) << c.what << " (LF line ends)";
  }
}

TEST(MailDecoder, HtmlShowsItsTextUnlessPlainTextIsTheAlternative) {
  const std::vector<std::string> htmlPart = {"Content-Type: text/html; charset=utf-8",
                                             "Content-Transfer-Encoding: quoted-printable", "",
                                             "<p>=E6=97=A5&amp;</p><style>p{}</style>"};
  auto mail = [&](const std::string& type, bool withPlain) {
    std::vector<std::string> in = {"Content-Type: " + type + "; boundary=\"b\"", "", "--b"};
    if (withPlain) in.insert(in.end(), {"Content-Type: text/plain; charset=utf-8", "", "plain", "--b"});
    in.insert(in.end(), htmlPart.begin(), htmlPart.end());
    in.push_back("--b--");
    return Mail(in);
  };
  const std::string text = "\r\n" + Sjis("日") + "&\r\n\r\n--b--";
  EXPECT_NE(DecodeMail(mail("multipart/alternative", false)).find(text), std::string::npos);
  EXPECT_NE(DecodeMail(mail("multipart/mixed", true)).find(text), std::string::npos);  // plain text beside, no alternative
  EXPECT_NE(DecodeMail(mail("multipart/alternative", true)).find("<p>" + Sjis("日") + "&amp;</p><style>"),
            std::string::npos);
  // A single-part HTML mail, and one nested below an alternative to plain text.
  EXPECT_EQ(DecodeMail(Mail(htmlPart)), Mail({htmlPart[0], htmlPart[1], "", Sjis("日") + "&", ""}));
  const std::string nested = DecodeMail(Mail(
      {"Content-Type: multipart/alternative; boundary=a", "", "--a", "Content-Type: text/plain", "", "plain", "--a",
       "Content-Type: multipart/related; boundary=r", "", "--r", htmlPart[0], htmlPart[1], "", htmlPart[3], "--r--",
       "--a--"}));
  EXPECT_NE(nested.find("<p>"), std::string::npos);
}

TEST(MailDecoder, FileNamesInSectionsAndCharsetsShowDecoded) {
  const std::string out = DecodeMail(Mail({
      "Content-Type: multipart/mixed; boundary=b", "", "--b",
      "Content-Type: application/octet-stream;", " name*0*=iso-2022-jp''%1B%24BF%7CK%5C%1B%28B; name*1=.txt",
      "Content-Disposition: attachment;", " filename*0*=UTF-8''%E6%97%A5;", "\tfilename*1*=%E6%9C%AC.txt; size=3",
      "Content-Disposition: inline; filename=\"=?UTF-8?B?5pel?=.txt\"", "", "AAAA", "--b--"}));
  EXPECT_NE(out.find("Content-Type: application/octet-stream; name=\"" + Sjis("日本") + ".txt\"\r\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("Content-Disposition: attachment; filename=\"" + Sjis("日本") + ".txt\"; size=3\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("filename=\"" + Sjis("日") + ".txt\""), std::string::npos);  // an encoded word in quotes
}

TEST(MailDecoder, UnknownCharsetShowsBytesAndSaysSoOnce) {
  MailDecoder decoder;
  decoder.Decode(Mail({"Subject: =?x-mac-klingon?B?k/o=?=", "Content-Type: multipart/mixed; boundary=b", "", "--b",
                       "Content-Type: text/plain; charset=x-mac-klingon", "Content-Transfer-Encoding: base64", "",
                       "k/o=", "--b", "Content-Type: text/plain; charset=\"X-MAC-KLINGON\"", "", "\x93\xfa", "--b",
                       "Content-Type: text/plain; charset=unknown-8bit", "", "\x93\xfa", "--b--"}));
  const std::string& out = decoder.Output();
  EXPECT_EQ(decoder.UnknownCharsets(), (std::vector<std::string>{"x-mac-klingon", "unknown-8bit"}));
  const std::string note = Sjis("変換できない文字コードがあります（x-mac-klingon、unknown-8bit）。"
                                "その部分は元のバイトのまま表示しています。") + "\r\n";
  EXPECT_TRUE(out.starts_with(note + "Subject: \x93\xfa\r\n")) << out;
  EXPECT_EQ(out.find(note, 1), std::string::npos);
  ASSERT_EQ(decoder.TextBodies().size(), 3u);
  for (const TextBody& body : decoder.TextBodies()) EXPECT_EQ(out.substr(body.Offset, body.Length).substr(0, 2), "\x93\xfa");
}

TEST(MailDecoder, ManyNestedAndLongBoundaries) {
  std::vector<std::string> in = {"Subject: nest"};
  std::vector<std::string> names;
  for (int i = 0; i < 7; ++i) {
    names.push_back(std::string(150 + i, static_cast<char>('a' + i)));
    in.push_back("Content-Type: multipart/mixed;");
    in.push_back(" boundary=\"" + names.back() + "\"");
    in.push_back("");
    in.push_back("--" + names.back());
  }
  in.insert(in.end(), {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: base64", "", "5pel"});
  for (int i = 6; i >= 0; --i) in.push_back("--" + names[static_cast<std::size_t>(i)] + "--");

  MailDecoder decoder;
  decoder.Decode(Mail(in));
  EXPECT_EQ(decoder.Boundaries(), names);
  const auto& lines = decoder.Lines();
  EXPECT_EQ(lines[in.size() - 1].BoundaryMark, -1);
  EXPECT_EQ(lines[in.size() - 7].BoundaryMark, -7);
  EXPECT_EQ(lines[28].BoundaryMark, 7);
  EXPECT_NE(decoder.Output().find("\r\n\r\n" + Sjis("日") + "\r\n--" + names[6] + "--"), std::string::npos);
}

TEST(MailDecoder, BadInputNeverBreaks) {
  EXPECT_EQ(DecodeMail(""), "");
  EXPECT_EQ(DecodeMail("."), ".\r\n");
  EXPECT_EQ(DecodeMail("\r"), "\r\n");
  EXPECT_EQ(DecodeMail("x"), "x\r\n");  // a last line without its end still counts
  EXPECT_EQ(DecodeMail(std::string("a\0b", 3)), std::string("a\0b\r\n", 5));

  // A 30 MB line passes unchanged.
  std::string huge(30'000'000, 'A');  // NOLINT(bugprone-string-constructor): meant to be huge
  EXPECT_EQ(DecodeMail(huge).size(), huge.size() + 2);

  // Random mixtures of mail fragments.
  const char* pieces[] = {"Content-Type: text/plain; charset=utf-8\r\n", "Content-Type: multipart/mixed; boundary=\"b\"\r\n",
                          "Content-Transfer-Encoding: base64\r\n", "Content-Transfer-Encoding: quoted-printable\r\n",
                          "Content-Transfer-Encoding: 7bit\r\n", "\r\n", "\n", "\r", "--b\r\n", "--b--\r\n", "5pel",
                          "=E6=97=", "=?UTF-8?B?", "?=", "\x1b$B", "\x1b(B", "&#12", ";", ".\r\n", "\xE6\x97", " ", "\t"};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string mail;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      if (random() % 4 == 0) {
        mail += static_cast<char>(random() % 256);
      } else {
        mail += pieces[random() % std::size(pieces)];
      }
    }
    const std::string out = DecodeMail(mail);
    if (!mail.empty()) {
      EXPECT_FALSE(out.empty()) << round;
    }
  }
}

}  // namespace
}  // namespace tyld::mail
