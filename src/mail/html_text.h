#pragma once
// The text of an HTML part, as a reader of the mail sees it.
#include <string>
#include <string_view>

namespace tyld::mail {

// Shift-JIS HTML to Shift-JIS text with CR LF line ends: tags and comments removed,
// the contents of style and script elements dropped, character references decoded
// (characters code page 932 lacks become the visible substitute), runs of white space
// made one space. br, p, div, tr and the other block elements break the line; pre
// keeps its white space as written.
std::string HtmlToText(std::string_view html);

}  // namespace tyld::mail
