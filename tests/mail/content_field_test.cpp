#include "mail/content_field.h"

#include <gtest/gtest.h>

namespace tyld::mail {
namespace {

TEST(ParseContentField, PlainQuotedAndSplitParameters) {
  const ContentField f = ParseContentField(
      "Content-Type: multipart/mixed; boundary=\"a;b \\\"c\\\"\"; charset=UTF-8 ;Name=plain; flag;"
      " title*1*=%E6%9C%AC; title*0*=utf-8'ja'%E6%97%A5; title*2=.txt");
  EXPECT_EQ(f.head, "Content-Type: multipart/mixed");
  EXPECT_EQ(MediaType(f.head), "multipart/mixed");
  ASSERT_EQ(f.params.size(), 4u);
  EXPECT_EQ(f.Find("boundary")->value, "a;b \"c\"");
  EXPECT_EQ(f.Find("charset")->value, "UTF-8");
  EXPECT_EQ(f.Find("name")->value, "plain");  // names ignore case
  EXPECT_EQ(f.Find("name")->written, "Name=plain");
  const FieldParam* title = f.Find("title");
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->extended);
  EXPECT_EQ(title->charset, "utf-8");
  EXPECT_EQ(title->value, "日本.txt");  // sections in number order, the unmarked one as written
  EXPECT_TRUE(f.HasExtended());
  EXPECT_EQ(f.Find("flag"), nullptr);
}

TEST(ParseContentField, OddInputs) {
  struct Case { std::string in, name, value, charset; };
  const Case cases[] = {
      {"Content-Disposition: attachment; filename*=''%41%4g%", "filename", "A%4g%", ""},
      {"Content-Disposition: attachment; filename*=no-quotes", "filename", "no-quotes", ""},
      {"Content-Disposition: attachment; filename=\"unterminated", "filename", "unterminated", ""},
      {"Content-Disposition: attachment; filename=", "filename", "", ""},
      {"Content-Disposition: attachment; filename*9999*=x; filename=y", "filename", "y", ""},
      {"Content-Disposition: a; filename*0=x; filename*0=y", "filename", "xy", ""},
  };
  for (const auto& c : cases) {
    const ContentField f = ParseContentField(c.in);
    const FieldParam* p = f.Find(c.name);
    ASSERT_NE(p, nullptr) << c.in;
    EXPECT_EQ(p->value, c.value) << c.in;
    EXPECT_EQ(p->charset, c.charset) << c.in;
  }
  EXPECT_EQ(MediaType("Content-Type:  Text/HTML (comment); x=1"), "text/html");
  EXPECT_EQ(MediaType("Content-Type:"), "");
}

}  // namespace
}  // namespace tyld::mail
