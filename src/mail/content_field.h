#pragma once
// The parameters of Content-Type and Content-Disposition fields.
#include <string>
#include <string_view>
#include <vector>

namespace tyld::mail {

// One parameter, its RFC 2231 sections ("name*0*=", "name*1=") joined.
struct FieldParam {
  std::string name;      // lower case, without the "*" marks
  std::string value;     // unquoted; percent escapes of extended sections decoded
  std::string charset;   // named by an extended first section ("UTF-8''..."), else empty
  bool extended = false;  // written in sections or with "*"
  std::string_view written;  // "name=value" as written (its first section)
};

struct ContentField {
  std::string_view head;  // the field before its first ";": "Content-Type: text/plain"
  std::vector<FieldParam> params;  // in the order they first appear

  const FieldParam* Find(std::string_view name) const;
  bool HasExtended() const;
};

// Splits an unfolded field ("Name: value; p=1; q*=...") into its head and parameters.
// Quoted values keep what stands between their quotes, backslash escapes removed.
ContentField ParseContentField(std::string_view field);

// The media type of a Content-Type head ("Content-Type: Text/HTML" -> "text/html").
std::string MediaType(std::string_view head);

}  // namespace tyld::mail
