// Decoding time of a mail with large base64 attachments, at several mail sizes.
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

void BM_DecodeMail(benchmark::State& state) {
  const std::string mail = MakeMail(static_cast<std::size_t>(state.range(0)));
  tyld::mail::MailDecoder decoder;
  for (auto _ : state) {
    decoder.Decode(mail);
    benchmark::DoNotOptimize(decoder.Output().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * mail.size()));
  state.counters["mail_MB"] = static_cast<double>(mail.size()) / 1e6;
}
BENCHMARK(BM_DecodeMail)->Arg(5)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
