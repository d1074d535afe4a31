#include "mail/html_text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "mail/ascii_case.h"
#include "platform/codepage.h"

namespace tyld::mail {
namespace cp = tyld::platform::codepage;
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The named references mail writers use; others stay as written.
constexpr std::pair<std::string_view, char16_t> kEntities[] = {
    {"amp", u'&'},       {"lt", u'<'},        {"gt", u'>'},        {"quot", u'"'},      {"apos", u'\''},
    {"nbsp", u' '},      {"ensp", u' '},      {"emsp", u' '},      {"thinsp", u' '},    {"copy", u'\u00A9'},
    {"reg", u'\u00AE'},  {"trade", u'\u2122'}, {"hellip", u'\u2026'}, {"mdash", u'\u2014'}, {"ndash", u'\u2013'},
    {"lsquo", u'\u2018'}, {"rsquo", u'\u2019'}, {"ldquo", u'\u201C'}, {"rdquo", u'\u201D'}, {"bull", u'\u2022'},
    {"middot", u'\u00B7'}, {"laquo", u'\u00AB'}, {"raquo", u'\u00BB'}, {"yen", u'\u00A5'},  {"euro", u'\u20AC'},
    {"cent", u'\u00A2'}, {"pound", u'\u00A3'}, {"sect", u'\u00A7'},  {"deg", u'\u00B0'},   {"plusmn", u'\u00B1'},
    {"times", u'\u00D7'}, {"divide", u'\u00F7'}, {"micro", u'\u00B5'}, {"para", u'\u00B6'}, {"larr", u'\u2190'},
    {"rarr", u'\u2192'}, {"uarr", u'\u2191'},  {"darr", u'\u2193'},  {"shy", u'\u00AD'},
};

// Elements whose start or end begins a new line.
constexpr std::string_view kBlocks[] = {"p",  "div", "tr", "li", "h1", "h2",    "h3",         "h4",    "h5",
                                        "h6", "ul",  "ol", "dl", "dt", "dd",    "table",      "pre",   "hr",
                                        "blockquote", "address", "section", "article", "header", "footer"};

class Writer {
 public:
  explicit Writer(std::size_t size) { out_.reserve(size); }

  void Char(std::string_view bytes) {
    if (space_ && !atLineStart_) out_ += ' ';
    space_ = false;
    out_ += bytes;
    atLineStart_ = false;
  }
  void Unit(char32_t u) {
    if (u == 0xAD) return;  // a soft hyphen shows only where a line breaks
    const int code = u <= 0xFFFF && (u < 0xD800 || u > 0xDFFF) && u != 0 ? cp::Encode(static_cast<char16_t>(u)) : -1;
    const int shown = code < 0 ? cp::kSubstitute : code;
    char bytes[2] = {static_cast<char>(shown >> 8), static_cast<char>(shown & 0xFF)};
    Char(shown > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1));
  }
  void Space() { space_ = true; }
  void Break() {
    out_ += "\r\n";
    atLineStart_ = true;
    space_ = false;
  }
  void Block() {
    if (!atLineStart_) Break();
    space_ = false;
  }
  void Raw(char c) {  // inside pre
    if (c == '\r') return;
    if (c == '\n') {
      Break();
      return;
    }
    space_ = false;
    out_ += c;
    atLineStart_ = false;
  }
  std::string Take() {
    if (!atLineStart_) Break();
    return std::move(out_);
  }

 private:
  std::string out_;
  bool atLineStart_ = true;
  bool space_ = false;
};

// The character reference at html[i] == '&'; returns its length, 0 when there is none.
std::size_t ReadReference(std::string_view html, std::size_t i, char32_t& value) {
  const std::size_t n = html.size();
  std::size_t p = i + 1;
  if (p < n && html[p] == '#') {
    ++p;
    const bool hex = p < n && (html[p] == 'x' || html[p] == 'X');
    if (hex) ++p;
    char32_t v = 0;
    std::size_t digits = 0;
    for (; p < n && digits < 8; ++p, ++digits) {
      const char c = html[p];
      const int d = DigitValue(c, hex);
      if (d < 0) break;
      v = v * (hex ? 16 : 10) + static_cast<char32_t>(d);
    }
    if (digits == 0 || p >= n || html[p] != ';') return 0;
    value = v;
    return p + 1 - i;
  }
  std::size_t e = p;
  while (e < n && e - p < 10 && IsNameChar(html[e])) ++e;
  if (e == p || e >= n || html[e] != ';') return 0;
  const std::string_view name = html.substr(p, e - p);
  const auto* entity =
      std::find_if(std::begin(kEntities), std::end(kEntities), [&](const auto& x) { return x.first == name; });
  if (entity == std::end(kEntities)) return 0;
  value = entity->second;
  return e + 1 - i;
}

}  // namespace

std::string HtmlToText(std::string_view html) {
  const std::size_t n = html.size();
  Writer w(n);
  int pre = 0;  // depth of open pre elements
  std::size_t i = 0;
  while (i < n) {
    const char c = html[i];
    const auto b = static_cast<std::uint8_t>(c);
    if (cp::IsLeadByte(b) && i + 1 < n) {
      w.Char(html.substr(i, 2));
      i += 2;
      continue;
    }
    if (c == '&') {
      char32_t value = 0;
      if (const std::size_t len = ReadReference(html, i, value)) {
        w.Unit(value);
        i += len;
        continue;
      }
      w.Char("&");
      ++i;
      continue;
    }
    if (c == '<' && i + 1 < n && html.substr(i, 4) == "<!--") {
      const std::size_t end = html.find("-->", i + 4);
      i = end == std::string_view::npos ? n : end + 3;
      continue;
    }
    const bool closing = c == '<' && i + 1 < n && html[i + 1] == '/';
    const std::size_t nameStart = i + (closing ? 2 : 1);
    if (c == '<' && nameStart < n && (IsNameChar(html[nameStart]) || html[nameStart] == '!' || html[nameStart] == '?')) {
      std::size_t nameEnd = nameStart;
      while (nameEnd < n && IsNameChar(html[nameEnd])) ++nameEnd;
      const std::string_view name = html.substr(nameStart, nameEnd - nameStart);
      // The tag runs to the first ">" outside a quoted attribute value.
      std::size_t end = nameEnd;
      char quote = 0;
      for (; end < n; ++end) {
        if (quote != 0) {
          if (html[end] == quote) quote = 0;
        } else if (html[end] == '"' || html[end] == '\'') {
          quote = html[end];
        } else if (html[end] == '>') {
          break;
        }
      }
      if (end == n) end = html.find('>', nameEnd);  // an unclosed quote: the first ">" then
      i = end == std::string_view::npos ? n : end + 1;
      if (!closing && (EqualsNoCase(name, "style") || EqualsNoCase(name, "script"))) {
        // Their content is no text; it runs to the end tag (or to the end).
        const std::string closer = "</" + std::string(name);
        std::size_t at = i;
        while ((at = html.find('<', at)) != std::string_view::npos && !StartsWithNoCase(html.substr(at), closer)) ++at;
        if (at == std::string_view::npos) {
          i = n;
        } else {
          const std::size_t gt = html.find('>', at);
          i = gt == std::string_view::npos ? n : gt + 1;
        }
        continue;
      }
      if (EqualsNoCase(name, "br")) {
        w.Break();
        continue;
      }
      for (const std::string_view block : kBlocks) {
        if (!EqualsNoCase(name, block)) continue;
        w.Block();
        if (block == "pre") pre = closing ? (pre > 0 ? pre - 1 : 0) : pre + 1;
        break;
      }
      continue;
    }
    if (pre > 0) {
      w.Raw(c);
    } else if (IsSpace(c)) {
      w.Space();
    } else {
      w.Char(html.substr(i, 1));
    }
    ++i;
  }
  return w.Take();
}

}  // namespace tyld::mail
