#include "platform/screen_font.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/canvas.h"
#include "platform/font_description.h"

namespace tyld::platform {
namespace {

TEST(MulDivTest, RoundsHalfAwayFromZeroAndRefusesWhatIntCannotHold) {
  const struct {
    int a, b, c, want;
  } cases[] = {
      {10, 96, 72, 13},  {-10, 96, 72, -13}, {3, 1, 2, 2},    {-3, 1, 2, -2},
      {1, 1, 0, -1},     {INT_MAX, 1200, 72, -1},            {INT_MIN, 2, 1, -1},
      {INT_MAX, 1, 1, INT_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(MultiplyDivide(c.a, c.b, c.c), c.want) << c.a << "*" << c.b << "/" << c.c;
}

FontDescription Stored() {
  FontDescription f;
  f.SetFace(kDefaultFaceSjis);
  return f;
}

// The line spacing comes from the settings file unchecked: any value gives a pitch of at
// least one pixel and never wraps around.
TEST(ScreenFontTest, LinePitchStaysInRangeForAnyLineSpacing) {
  const ScreenFont plain = MakeScreenFont(Stored(), 100, 1.0, 0, nullptr);
  ASSERT_EQ(plain.status, ScreenFont::Status::Ok);
  const int h = plain.linePitch;
  ASSERT_GT(h, 1);
  const struct {
    int spacing;
    int want;
  } cases[] = {{10, 2 * h}, {-10, 1}, {-1000, 1}, {INT_MIN, 1}, {INT_MAX, 1 << 30}};
  for (const auto& c : cases)
    EXPECT_EQ(MakeScreenFont(Stored(), 100, 1.0, c.spacing, nullptr).linePitch, c.want) << c.spacing;
}

TEST(ScreenFontTest, ScaledFontKeepsThePitchOfTheUnscaledOne) {
  const ScreenFont plain = MakeScreenFont(Stored(), 100, 1.0, 0, nullptr);
  const ScreenFont doubled = MakeScreenFont(Stored(), 100, 2.0, 0, nullptr);
  ASSERT_EQ(doubled.status, ScreenFont::Status::Ok);
  EXPECT_GT(-doubled.font.height, -plain.font.height);
  EXPECT_EQ(doubled.fixedPitch, plain.fixedPitch);
  EXPECT_EQ(MakeScreenFont(Stored(), 100, 1e9, 0, nullptr).status, ScreenFont::Status::ScaleFailed);
}

}  // namespace
}  // namespace tyld::platform
