// Decoding time of a mail with large base64 attachments, at several mail sizes, and of
// a mail of large text parts in several charsets.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "mail/mail_decoder.h"

namespace {

std::string Base64Lines(std::size_t bytes, std::mt19937& random) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve(bytes + bytes / 38);
  while (out.size() < bytes) {
    for (int i = 0; i < 76; ++i) out += alphabet[random() % 64];
    out += "\r\n";
  }
  return out;
}

// A multipart mail of about `megabytes` MB: Japanese text parts in base64 and
// quoted-printable, the rest image and PDF attachments.
std::string MakeMail(std::size_t megabytes) {
  std::mt19937 random(1);
  std::string mail =
      "From: =?UTF-8?B?5bGx55Sw?= <yamada@example.jp>\r\n"
      "Subject: =?ISO-2022-JP?B?GyRCMnE1RCRORnxEeCRLJEQkJCRGGyhC?=\r\n"
      "MIME-Version: 1.0\r\n"
      "Content-Type: multipart/mixed; boundary=\"==bench==\"\r\n\r\n"
      "--==bench==\r\n"
      "Content-Type: text/plain; charset=\"utf-8\"\r\n"
      "Content-Transfer-Encoding: base64\r\n\r\n";
  for (int i = 0; i < 2000; ++i) mail += "5pel5pys6Kqe44Gu44OG44Kt44K544OI44Gn44GZ44CC5pel5pys6Kqe44Gu44OG44Kt44K544OI\r\n";
  mail += "\r\n--==bench==\r\nContent-Type: text/html; charset=\"utf-8\"\r\n"
          "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
  for (int i = 0; i < 2000; ++i) mail += "<p>=E6=97=A5=E6=9C=AC=E8=AA=9E &#12354;&#12356; =E3=81=A7=E3=81=99=\r\n=E3=80=82</p>\r\n";
  const std::size_t target = megabytes * 1'000'000;
  const std::size_t attachment = (target - std::min(target, mail.size())) / 2;
  for (const char* type : {"image/png", "application/pdf"}) {
    mail += std::string("\r\n--==bench==\r\nContent-Type: ") + type +
            "\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment\r\n\r\n";
    mail += Base64Lines(attachment, random);
  }
  mail += "\r\n--==bench==--\r\n";
  return mail;
}

// Decodes a mail of range(0) MB made by `make`, over and over.
void DecodeMade(benchmark::State& state, std::string (*make)(std::size_t)) {
  const std::string mail = make(static_cast<std::size_t>(state.range(0)));
  tyld::mail::MailDecoder decoder;
  for (auto _ : state) {
    decoder.Decode(mail);
    benchmark::DoNotOptimize(decoder.Output().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * mail.size()));
  state.counters["mail_MB"] = static_cast<double>(mail.size()) / 1e6;
}

void BM_DecodeMail(benchmark::State& state) { DecodeMade(state, MakeMail); }
BENCHMARK(BM_DecodeMail)->Arg(5)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

// A mail of about `megabytes` MB that is all text: EUC-JP in 8 bits (through iconv),
// Shift-JIS in quoted-printable, UTF-8 in base64 and an HTML part shown as its text.
std::string MakeTextMail(std::size_t megabytes) {
  const std::size_t each = megabytes * 1'000'000 / 4;
  auto repeat = [each](const std::string& line) {
    std::string out;
    out.reserve(each + line.size());
    while (out.size() < each) out += line;
    return out;
  };
  std::string mail =
      "From: =?UTF-8?B?5bGx55Sw?= <yamada@example.jp>\r\n"
      "Subject: =?UTF-8?B?5pel5pys6Kqe44Gu?=\r\n =?UTF-8?B?44OG44Kt44K544OI?=\r\n"
      "Content-Type: multipart/mixed; boundary=\"==bench==\"\r\n\r\n";
  auto part = [&](const char* type, const char* encoding, const std::string& body) {
    mail += std::string("--==bench==\r\nContent-Type: ") + type + "\r\nContent-Transfer-Encoding: " + encoding +
            "\r\n\r\n" + body + "\r\n";
  };
  // "日本語のテキストです。" in EUC-JP and Shift-JIS.
  part("text/plain; charset=euc-jp", "8bit",
       repeat("\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xC6\xA5\xAD\xA5\xB9\xA5\xC8\xA4\xC7\xA4\xB9\xA1\xA3 abc\r\n"));
  part("text/plain; charset=shift_jis", "quoted-printable",
       repeat("=93=FA=96{=8C=EA=82=CC=83e=83L=83X=83g=82=C5=82=B7=81B abc=\r\n=81B\r\n"));
  part("text/plain; charset=utf-8", "base64",
       repeat("5pel5pys6Kqe44Gu44OG44Kt44K544OI44Gn44GZ44CC5pel5pys6Kqe44Gu44OG44Kt44K544OI\r\n"));
  part("text/html; charset=utf-8", "quoted-printable",
       repeat("<p>=E6=97=A5=E6=9C=AC=E8=AA=9E &amp; <b>&#12354;</b><br>=E3=81=A7=E3=81=99</p>\r\n"));
  mail += "--==bench==--\r\n";
  return mail;
}

void BM_DecodeTextMail(benchmark::State& state) { DecodeMade(state, MakeTextMail); }
BENCHMARK(BM_DecodeTextMail)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
