#include "mail/charset.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <utility>

#include "mail/ascii_case.h"
#include "platform/codepage.h"

namespace tyld::mail {
namespace cp = tyld::platform::codepage;
namespace {

constexpr char kEsc = 0x1B;

void AppendSubstitute(std::string& out) {
  out += static_cast<char>(cp::kSubstitute >> 8);
  out += static_cast<char>(cp::kSubstitute & 0xFF);
}

bool IsJisByte(std::uint8_t b) { return b >= 0x21 && b <= 0x7E; }

// JIS X 0208 row/cell bytes to their Shift-JIS code.
int JisToSjis(std::uint8_t c1, std::uint8_t c2) {
  const int lead = ((c1 + 1) >> 1) + (c1 < 0x5F ? 0x70 : 0xB0);
  int trail;
  if (c1 & 1) {
    trail = c2 + (c2 < 0x60 ? 0x1F : 0x20);
  } else {
    trail = c2 + 0x7E;
  }
  return (lead << 8) | trail;
}

enum class Mode { kAscii, kKanji, kSupplementary, kKatakana };

}  // namespace

void AppendJisAsSjis(std::string& out, std::string_view in) {
  Mode mode = Mode::kAscii;
  const std::size_t n = in.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b = static_cast<std::uint8_t>(in[i]);
    if (in[i] == kEsc) {
      const char c1 = i + 1 < n ? in[i + 1] : '\0';
      const char c2 = i + 2 < n ? in[i + 2] : '\0';
      if (c1 == '$' && (c2 == '@' || c2 == 'B')) {  // JIS C 6226 / X 0208
        mode = Mode::kKanji;
        i += 3;
      } else if (c1 == '$' && c2 == '(' && i + 3 < n && in[i + 3] == 'D') {
        mode = Mode::kSupplementary;  // JIS X 0212: no CP932 form
        i += 4;
      } else if (c1 == '(' && (c2 == 'B' || c2 == 'J' || c2 == 'H')) {
        mode = Mode::kAscii;
        i += 3;
      } else if (c1 == '(' && c2 == 'I') {
        mode = Mode::kKatakana;
        i += 3;
      } else {
        // Not a sequence we know: show that something was here and go on.
        AppendSubstitute(out);
        ++i;
      }
      continue;
    }
    if (mode == Mode::kAscii || b < 0x21 || b == 0x7F) {
      // Controls pass in any mode; a line end also ends a double-byte run that its
      // writer forgot to close, so the following line is not misread.
      out += in[i];
      if (b == '\n' || b == '\r') mode = Mode::kAscii;
      ++i;
      continue;
    }
    if (mode == Mode::kKatakana) {
      if (b <= 0x5F) {
        out += static_cast<char>(b + 0x80);
      } else {
        AppendSubstitute(out);
      }
      ++i;
      continue;
    }
    const auto b2 = static_cast<std::uint8_t>(i + 1 < n ? in[i + 1] : 0);
    if (!IsJisByte(b) || !IsJisByte(b2)) {
      AppendSubstitute(out);  // the next byte may start something valid
      ++i;
      continue;
    }
    const int code = JisToSjis(b, b2);
    if (mode == Mode::kSupplementary ||
        cp::DecodePair(static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code & 0xFF)) == 0) {
      AppendSubstitute(out);
    } else {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    }
    i += 2;
  }
}

std::string ConvertJisToSjis(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  AppendJisAsSjis(out, bytes);
  return out;
}

std::string ConvertJisIfEscaped(std::string_view text) {
  if (std::count(text.begin(), text.end(), kEsc) > 1) return ConvertJisToSjis(text);
  return std::string(text);
}

void AppendUtf8AsSjis(std::string& out, std::string_view utf8) {
  // A byte-order mark in either order only tells how the text was written.
  if (utf8.starts_with("\xEF\xBB\xBF") || utf8.starts_with("\xEF\xBF\xBE")) utf8.remove_prefix(3);
  out += cp::FromUtf8(utf8);
}

std::string Utf8ToSjis(std::string_view utf8) {
  std::string out;
  AppendUtf8AsSjis(out, utf8);
  return out;
}

bool IsUtf8(std::string_view s) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b = static_cast<std::uint8_t>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t len = 0;
    std::uint8_t lo = 0x80, hi = 0xBF;  // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      if (b == 0xE0) lo = 0xA0;  // overlong
      if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;  // beyond U+10FFFF
    } else {
      return false;
    }
    if (i + len > n) return false;
    const auto b1 = static_cast<std::uint8_t>(s[i + 1]);
    if (b1 < lo || b1 > hi) return false;
    for (std::size_t k = 2; k < len; ++k)
      if ((static_cast<std::uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

void AppendUndeclared(std::string& out, std::string_view bytes) {
  if (std::count(bytes.begin(), bytes.end(), kEsc) > 1) {
    AppendJisAsSjis(out, bytes);
    return;
  }
  std::size_t p = 0;
  while (p < bytes.size()) {
    std::size_t end = p;
    bool high = false;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') {
      high |= static_cast<std::uint8_t>(bytes[end]) >= 0x80;
      ++end;
    }
    while (end < bytes.size() && (bytes[end] == '\n' || bytes[end] == '\r')) ++end;
    const std::string_view line = bytes.substr(p, end - p);
    if (high && IsUtf8(line)) {
      out += cp::FromUtf8(line);
    } else {
      out += line;
    }
    p = end;
  }
}

namespace {

// iconv's own error value.
const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

constexpr std::string_view kSubstituteUtf8 = "\xE3\x83\xBB";  // U+30FB, CP932's 0x8145

// Characters of a charset name (RFC 2978); anything else, "/" and "," above all,
// would reach iconv as an option of its own.
bool IsNameChar(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'+-^_`{}~.:()").find(c) != std::string_view::npos;
}

// Names senders use that mean one of the built-in conversions, or that iconv knows
// under another name. Shift_JIS is read as code page 932, its superset, because the
// Windows characters (circled digits, the IBM kanji) are what real senders write under
// every one of these labels.
constexpr std::pair<std::string_view, std::string_view> kAliases[] = {  // lower-case name, key
    {"shift_jis", "SHIFT_JIS"},     {"shift-jis", "SHIFT_JIS"},       {"sjis", "SHIFT_JIS"},
    {"x-sjis", "SHIFT_JIS"},        {"ms_kanji", "SHIFT_JIS"},        {"csshiftjis", "SHIFT_JIS"},
    {"windows-31j", "SHIFT_JIS"},   {"cswindows31j", "SHIFT_JIS"},    {"cp932", "SHIFT_JIS"},
    {"ms932", "SHIFT_JIS"},         {"x-ms-cp932", "SHIFT_JIS"},      {"windows-932", "SHIFT_JIS"},
    {"iso-2022-jp", "ISO-2022-JP"}, {"csiso2022jp", "ISO-2022-JP"},
    {"utf-8", "UTF-8"},             {"utf8", "UTF-8"},
    {"us-ascii", ""},               {"ascii", ""},                    {"ansi_x3.4-1968", ""},
    // EUC-JP as the Windows world writes it keeps the NEC and IBM rows readable.
    {"euc-jp", "EUC-JP-MS"},        {"x-euc-jp", "EUC-JP-MS"},        {"eucjp", "EUC-JP-MS"},
    {"cseucpkdfmtjapanese", "EUC-JP-MS"},
    {"ks_c_5601-1987", "CP949"},    {"ks_c_5601", "CP949"},           {"ksc5601", "CP949"},
    {"gb2312", "GBK"},              {"x-gbk", "GBK"},                 {"iso-8859-8-i", "ISO-8859-8"},
    {"x-mac-roman", "MACINTOSH"},
};

std::string Upper(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; });
  return out;
}

}  // namespace

Charset::Charset(std::string_view name) : cd_(kNoIconv) {
  name = name.substr(0, name.find('*'));
  if (name.empty()) return;  // undeclared
  const auto* alias = std::find_if(std::begin(kAliases), std::end(kAliases),
                                   [&](const auto& a) { return EqualsNoCase(name, a.first); });
  key_ = alias != std::end(kAliases) ? std::string(alias->second) : Upper(name);
  if (key_.empty()) return;  // US-ASCII
  if (key_ == "SHIFT_JIS") {
    kind_ = Kind::kShiftJis;
  } else if (key_ == "ISO-2022-JP") {
    kind_ = Kind::kJis;
  } else if (key_ == "UTF-8") {
    kind_ = Kind::kUtf8;
  } else if (key_.size() <= 64 && std::all_of(key_.begin(), key_.end(), IsNameChar)) {
    cd_ = iconv_open("UTF-8", key_.c_str());
    if (cd_ == kNoIconv && key_ == "EUC-JP-MS") cd_ = iconv_open("UTF-8", "EUC-JP");
    kind_ = cd_ == kNoIconv ? Kind::kUnknown : Kind::kIconv;
  } else {
    kind_ = Kind::kUnknown;
  }
}

Charset::~Charset() { Close(); }

Charset::Charset(Charset&& other) noexcept
    : kind_(other.kind_), key_(std::move(other.key_)), cd_(std::exchange(other.cd_, kNoIconv)) {}

Charset& Charset::operator=(Charset&& other) noexcept {
  if (this != &other) {
    Close();
    kind_ = other.kind_;
    key_ = std::move(other.key_);
    cd_ = std::exchange(other.cd_, kNoIconv);
  }
  return *this;
}

void Charset::Close() {
  if (cd_ != kNoIconv) iconv_close(cd_);
  cd_ = kNoIconv;
}

void Charset::Append(std::string& out, std::string_view bytes) const {
  switch (kind_) {
    case Kind::kUndeclared: AppendUndeclared(out, bytes); return;
    case Kind::kShiftJis:
    case Kind::kUnknown: out += bytes; return;
    case Kind::kJis: AppendJisAsSjis(out, bytes); return;
    case Kind::kUtf8: AppendUtf8AsSjis(out, bytes); return;
    case Kind::kIconv: break;
  }
  // Through UTF-8; a byte iconv refuses becomes one substitute and the walk goes on.
  std::string utf8;
  utf8.reserve(bytes.size() + bytes.size() / 2);
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes.data());  // iconv's interface; it only reads
  std::size_t inLeft = bytes.size();
  char chunk[4096];
  while (inLeft > 0) {
    char* o = chunk;
    std::size_t outLeft = sizeof chunk;
    const std::size_t r = iconv(cd_, &in, &inLeft, &o, &outLeft);
    const int error = errno;
    utf8.append(chunk, static_cast<std::size_t>(o - chunk));
    if (r != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    utf8 += kSubstituteUtf8;
    if (error != EILSEQ) break;  // an incomplete sequence at the end
    ++in;
    --inLeft;
  }
  // A stateful charset may owe a final shift back.
  char* o = chunk;
  std::size_t outLeft = sizeof chunk;
  iconv(cd_, nullptr, nullptr, &o, &outLeft);
  utf8.append(chunk, static_cast<std::size_t>(o - chunk));
  out += cp::FromUtf8(utf8);
}

std::string Charset::Convert(std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size());
  Append(out, bytes);
  return out;
}

}  // namespace tyld::mail
