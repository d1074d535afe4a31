// libFuzzer target: any bytes as a mail file, and as the input of each decoding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mail/charset.h"
#include "mail/header_line.h"
#include "mail/mail_decoder.h"
#include "mail/transfer_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tyld::mail::DecodeMail(bytes);
  // The first byte picks one routine, so each sees inputs shaped for it too.
  if (size > 0) {
    const std::string_view rest = bytes.substr(1);
    switch (data[0] % 6) {
      case 0: tyld::mail::DecodeHeaderLine(rest); break;
      case 1: tyld::mail::DecodeQuotedPrintableBlock(rest, data[0] & 8 ? 8 : 1); break;
      case 2: tyld::mail::ReplaceNumericReferences(rest); break;
      case 3: tyld::mail::ConvertJisToSjis(rest); break;
      case 4: tyld::mail::DecodeBase64Text(rest, data[0] & 8 ? 8 : 1); break;
      default: tyld::mail::Utf8ToSjis(rest); break;
    }
  }
  return 0;
}
