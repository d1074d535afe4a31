#include "mail/content_field.h"

#include <algorithm>
#include <utility>

#include "mail/ascii_case.h"

namespace tyld::mail {
namespace {

std::string PercentDecoded(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int hi = DigitValue(s[i + 1], true);
      const int lo = DigitValue(s[i + 2], true);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

// Position of the next ";" at or after `p` outside a quoted string, or the end.
std::size_t NextSemicolon(std::string_view f, std::size_t p) {
  bool quoted = false;
  for (; p < f.size(); ++p) {
    const char c = f[p];
    if (quoted) {
      if (c == '\\') {
        ++p;
      } else if (c == '"') {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ';') {
      break;
    }
  }
  return std::min(p, f.size());
}

struct Section {
  int number;  // -1 when the parameter is not split
  bool extended;
  std::string value;
};

}  // namespace

const FieldParam* ContentField::Find(std::string_view name) const {
  const auto it = std::find_if(params.begin(), params.end(), [&](const FieldParam& p) { return p.name == name; });
  return it == params.end() ? nullptr : &*it;
}

bool ContentField::HasExtended() const {
  return std::any_of(params.begin(), params.end(), [](const FieldParam& p) { return p.extended; });
}

ContentField ParseContentField(std::string_view f) {
  ContentField field;
  std::size_t p = NextSemicolon(f, 0);
  field.head = Trim(f.substr(0, p));
  std::vector<std::vector<Section>> sections;
  while (p < f.size()) {
    ++p;  // the ";"
    while (p < f.size() && IsBlank(f[p])) ++p;
    const std::size_t start = p;
    while (p < f.size() && f[p] != '=' && f[p] != ';') ++p;
    const std::string_view rawName = Trim(f.substr(start, p - start));
    if (p >= f.size() || f[p] == ';' || rawName.empty()) continue;
    ++p;  // the "="
    while (p < f.size() && IsBlank(f[p])) ++p;
    std::string value;
    const bool quoted = p < f.size() && f[p] == '"';
    if (quoted) {
      for (++p; p < f.size() && f[p] != '"'; ++p) {
        if (f[p] == '\\' && p + 1 < f.size()) ++p;
        value += f[p];
      }
      if (p < f.size()) ++p;  // the closing quote
    }
    const std::size_t end = NextSemicolon(f, p);
    if (!quoted) value = std::string(Trim(f.substr(p, end - p)));
    const std::string_view written = Trim(f.substr(start, end - start));
    p = end;

    // "name", "name*", "name*N" or "name*N*".
    std::string_view base = rawName;
    bool extended = false;
    int number = -1;
    if (base.ends_with('*')) {
      extended = true;
      base.remove_suffix(1);
    }
    if (const std::size_t star = base.find('*'); star != std::string_view::npos) {
      const std::string_view digits = base.substr(star + 1);
      if (digits.empty() || digits.size() > 3 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        continue;  // not a section number we can place
      number = std::stoi(std::string(digits));
      base = base.substr(0, star);
      extended = true;  // its place is fixed by the number, whatever its form
    }
    std::string name(base);
    std::transform(name.begin(), name.end(), name.begin(), AsciiLower);
    auto it = std::find_if(field.params.begin(), field.params.end(), [&](const FieldParam& q) { return q.name == name; });
    if (it == field.params.end()) {
      FieldParam param;
      param.name = std::move(name);
      param.written = written;
      field.params.push_back(std::move(param));
      sections.emplace_back();
      it = field.params.end() - 1;
    }
    const bool ext = rawName.ends_with('*');
    sections[static_cast<std::size_t>(it - field.params.begin())].push_back({number, ext, std::move(value)});
    it->extended |= extended;
  }
  for (std::size_t k = 0; k < field.params.size(); ++k) {
    FieldParam& param = field.params[k];
    std::vector<Section>& parts = sections[k];
    if (!param.extended) {
      param.value = std::move(parts.front().value);  // a repeated plain parameter: the first counts
      continue;
    }
    std::stable_sort(parts.begin(), parts.end(), [](const Section& a, const Section& b) { return a.number < b.number; });
    for (std::size_t s = 0; s < parts.size(); ++s) {
      std::string_view v = parts[s].value;
      if (!parts[s].extended) {
        param.value += v;
        continue;
      }
      if (s == 0) {  // charset'language'text
        const std::size_t q1 = v.find('\'');
        const std::size_t q2 = q1 == std::string_view::npos ? q1 : v.find('\'', q1 + 1);
        if (q2 != std::string_view::npos) {
          param.charset = std::string(v.substr(0, q1));
          v.remove_prefix(q2 + 1);
        }
      }
      param.value += PercentDecoded(v);
    }
  }
  return field;
}

std::string MediaType(std::string_view head) {
  const std::size_t colon = head.find(':');
  std::string_view value = Trim(colon == std::string_view::npos ? head : head.substr(colon + 1));
  std::size_t end = 0;
  while (end < value.size() && !IsBlank(value[end]) && value[end] != '(' && value[end] != ';') ++end;
  std::string type(value.substr(0, end));
  std::transform(type.begin(), type.end(), type.begin(), AsciiLower);
  return type;
}

}  // namespace tyld::mail
