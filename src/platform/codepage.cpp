#include "platform/codepage.h"

#include <array>
#include <cstring>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace tyld::platform::codepage {
namespace {

struct Tables {
  std::array<char16_t, 256> single{};
  std::vector<char16_t> pairs = std::vector<char16_t>(65536, 0);  // index lead<<8|trail
  std::vector<std::int32_t> encode = std::vector<std::int32_t>(65536, -1);
};

#ifndef _WIN32
// iconv's own error value.
const iconv_t kIconvFailed = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
#endif

#ifdef _WIN32
char16_t ConvertOne(const char* bytes, int n) {
  wchar_t out[4] = {};
  const int got = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, n, out, 4);
  return got == 1 ? static_cast<char16_t>(out[0]) : 0;
}
#else
char16_t ConvertOne(iconv_t cd, const char* bytes, std::size_t n) {
  char in[2] = {bytes[0], n > 1 ? bytes[1] : '\0'};
  char16_t out[4] = {};
  char* inp = in;
  char* outp = reinterpret_cast<char*>(out);
  std::size_t inLeft = n;
  std::size_t outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) return 0;
  if (inLeft != 0 || sizeof out - outLeft != 2) return 0;
  return out[0];
}
#endif

// Windows never produces the NEC-selected IBM extensions (rows 0xED/0xEE) when another
// code exists; otherwise the lowest code wins.
bool Preferred(int candidate, int current) {
  if (current < 0) return true;
  const bool candNec = candidate >= 0xED00 && candidate <= 0xEEFF;
  const bool curNec = current >= 0xED00 && current <= 0xEEFF;
  if (candNec != curNec) return curNec;
  return candidate < current;
}

Tables Build() {
  Tables t;
#ifdef _WIN32
  auto conv = [](const char* b, int n) { return ConvertOne(b, n); };
#else
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  auto conv = [cd](const char* b, std::size_t n) {
    return cd == kIconvFailed ? char16_t{0} : ConvertOne(cd, b, n);
  };
#endif
  for (int b = 0; b < 256; ++b) {
    if (IsLeadByte(static_cast<std::uint8_t>(b))) continue;
    const char c = static_cast<char>(b);
    char16_t u = b < 0x80 ? static_cast<char16_t>(b) : conv(&c, 1);
    t.single[b] = u;
    if (u != 0 || b == 0) {
      if (Preferred(b, t.encode[u])) t.encode[u] = b;
    }
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<std::uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrailByte(static_cast<std::uint8_t>(trail))) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const char16_t u = conv(pair, 2);
      if (u == 0) continue;
      const int code = (lead << 8) | trail;
      t.pairs[code] = u;
      if (Preferred(code, t.encode[u])) t.encode[u] = code;
    }
  }
#ifndef _WIN32
  if (cd != kIconvFailed) iconv_close(cd);
#endif
  // Characters that other Japanese mappings (JIS, Unicode text from other systems) use
  // where CP932 has a look-alike: show the look-alike instead of a substitute.
  const std::pair<char16_t, int> lookAlikes[] = {
      {u'\u00B5', 0x83CA}, {u'\u00A5', 0x5C},   {u'\u203E', 0x7E},   {u'\u2212', 0x817C},
      {u'\u301C', 0x8160}, {u'\u2016', 0x8161}, {u'\u00A2', 0x8191}, {u'\u00A3', 0x8192},
      {u'\u00AC', 0x81CA}, {u'\u2014', 0x815C}};
  for (const auto& [u, code] : lookAlikes)
    if (t.encode[u] < 0) t.encode[u] = code;
  return t;
}

const Tables& Get() {
  static const Tables tables = Build();
  return tables;
}

// The UTF-8 form of a BMP character at p; its length.
std::size_t EncodeUtf8(char16_t c, char* p) {
  if (c < 0x80) {
    p[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    p[0] = static_cast<char>(0xC0 | (c >> 6));
    p[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  p[0] = static_cast<char>(0xE0 | (c >> 12));
  p[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  p[2] = static_cast<char>(0x80 | (c & 0x3F));
  return 3;
}

void AppendSjis(std::string& out, int code) {
  if (code < 0) code = kSubstitute;
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

}  // namespace

char16_t DecodeByte(std::uint8_t b) { return Get().single[b]; }

char16_t DecodePair(std::uint8_t lead, std::uint8_t trail) {
  return Get().pairs[(static_cast<unsigned>(lead) << 8) | trail];
}

int Encode(char16_t u) { return Get().encode[u]; }

namespace {
// Calls f with each UTF-16 unit of the Shift-JIS text (see ToUtf16).
template <class F>
void DecodeEach(std::string_view sjis, F f) {
  const auto& t = Get();
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(sjis[i]);
    if (IsLeadByte(b) && i + 1 < sjis.size()) {
      const auto trail = static_cast<std::uint8_t>(sjis[i + 1]);
      const char16_t u = t.pairs[(static_cast<unsigned>(b) << 8) | trail];
      if (u != 0) {
        f(u);
        ++i;
        continue;
      }
    }
    const char16_t u = t.single[b];
    f((u != 0 || b == 0) ? u : static_cast<char16_t>(b));
  }
}
}  // namespace

std::u16string ToUtf16(std::string_view sjis) {
  std::u16string out;
  out.reserve(sjis.size());
  DecodeEach(sjis, [&out](char16_t u) { out += u; });
  return out;
}

void AppendUtf8(std::string& out, std::string_view sjis) {
  // Through a small buffer: appending byte by byte costs more than the decoding.
  char buf[256];
  std::size_t n = 0;
  DecodeEach(sjis, [&](char16_t u) {
    if (n + 3 > sizeof buf) {
      out.append(buf, n);
      n = 0;
    }
    n += EncodeUtf8(u, buf + n);
  });
  out.append(buf, n);
}

char* PutUtf8(char* out, char16_t u) { return out + EncodeUtf8(u, out); }

char* PutUtf8(char* out, std::string_view sjis) {
  DecodeEach(sjis, [&](char16_t u) { out += EncodeUtf8(u, out); });
  return out;
}

std::string ToUtf8(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() * 3 / 2);
  AppendUtf8(out, sjis);
  return out;
}

std::string FromUtf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 2);
  const auto& t = Get();
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t u = utf16[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      ++i;  // a character outside the BMP: no CP932 form
      AppendSjis(out, -1);
      continue;
    }
    AppendSjis(out, t.encode[u]);
  }
  return out;
}

std::string FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto& t = Get();
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    const auto b = static_cast<std::uint8_t>(utf8[i]);
    char32_t c = 0;
    int len = 0;
    if (b < 0x80) {
      c = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      len = 4;
    } else {
      AppendSjis(out, -1);
      ++i;
      continue;
    }
    bool ok = i + static_cast<std::size_t>(len) <= n;
    for (int k = 1; ok && k < len; ++k) {
      const auto cb = static_cast<std::uint8_t>(utf8[i + k]);
      if ((cb & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (cb & 0x3F);
    }
    if (!ok) {
      AppendSjis(out, -1);
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(len);
    AppendSjis(out, c <= 0xFFFF ? t.encode[c] : -1);
  }
  return out;
}

}  // namespace tyld::platform::codepage
