// libFuzzer target: any bytes as a mail file, and as the input of each decoding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mail/charset.h"
#include "mail/content_field.h"
#include "mail/header_line.h"
#include "mail/html_text.h"
#include "mail/mail_decoder.h"
#include "mail/transfer_decoding.h"

namespace {

// A charset for the input: the first byte picks one of a few that take different paths.
constexpr std::string_view kCharsets[] = {"", "utf-8", "iso-2022-jp", "shift_jis", "euc-jp", "windows-1252",
                                          "utf-16", "iso-2022-jp-2", "x-unknown"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tyld::mail::DecodeMail(bytes);
  // The first byte picks one routine, so each sees inputs shaped for it too.
  if (size > 0) {
    const std::string_view rest = bytes.substr(1);
    switch (data[0] % 8) {
      case 0: tyld::mail::DecodeHeaderLine(rest); break;
      case 1: tyld::mail::DecodeQuotedPrintableBlock(rest); break;
      case 2: tyld::mail::ReplaceNumericReferences(rest); break;
      case 3: tyld::mail::ConvertJisToSjis(rest); break;
      case 4: tyld::mail::Charset(kCharsets[(data[0] >> 3) % std::size(kCharsets)]).Convert(rest); break;
      case 5: tyld::mail::HtmlToText(rest); break;
      case 6: tyld::mail::ParseContentField(rest); break;
      default: tyld::mail::Utf8ToSjis(rest); break;
    }
  }
  return 0;
}
