#include "mail/html_text.h"

#include <gtest/gtest.h>

#include "test_text.h"

namespace tyld::mail {
namespace {
using test::Sjis;

TEST(HtmlToText, ShowsTheTextAReaderSees) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"<html><body><p>Hello,</p>\n<p>world</p></body></html>", "Hello,\r\nworld\r\n"},
      {"a<br>b<BR/>c<br />", "a\r\nb\r\nc\r\n"},
      {"a<br><br>b", "a\r\n\r\nb\r\n"},
      {"<div>one</div><div>two</div>", "one\r\ntwo\r\n"},
      {"<table><tr><td>x</td><td>y</td></tr><tr><td>z</td></tr></table>", "xy\r\nz\r\n"},
      {"  many   spaces\n\tand\r\nbreaks  ", "many spaces and breaks\r\n"},
      {"<pre>  kept\n  as is</pre>after", "  kept\r\n  as is\r\nafter\r\n"},
      // Style, script and comments are no text; their ends may be missing.
      {"<style type=\"text/css\">p {color: red}</style>text<script>if (a<b) x();</script>!", "text!\r\n"},
      {"a<!-- <p>hidden</p> -->b", "ab\r\n"},
      {"a<script>never closed", "a\r\n"},
      // References, named and numeric.
      {"&lt;tag&gt; &amp;&amp; &quot;q&quot; &#12354;&#x3044;", "<tag> && \"q\" " + Sjis("あい") + "\r\n"},
      {"a&nbsp;&nbsp;b &copy; &#128512; &#0; &unknown; & x", "a  b " + test::Sub() + " " + test::Sub() + " " +
                                                                 test::Sub() + " &unknown; & x\r\n"},
      {"&#12354", "&#12354\r\n"},
      // Attributes may hold ">" in quotes; a "<" that starts no tag is text.
      {"<a href=\"x>y\" title='>'>link</a> 1 < 2", "link 1 < 2\r\n"},
      {"<a href=\"unclosed>text", "text\r\n"},
      // Shift-JIS text passes whole, also pairs whose trail byte is a letter.
      {"<p>\x93\xfa\x96\x7b</p>", "\x93\xfa\x96\x7b\r\n"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HtmlToText(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tyld::mail
