#include "platform/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace tyld::platform {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 40;

// Draws on a white image through a QtCanvas with a 20-pixel IPAGothic.
template <class Draw>
QImage Paint(int& cell, Draw draw) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtCanvas canvas(painter, {kWidth, kHeight, 96, 96});
  FontDescription font;
  font.height = -20;
  font.SetFace("IPAGothic");
  EXPECT_TRUE(canvas.SelectFont(font));
  cell = canvas.Metrics().cellWidth;
  draw(canvas);
  return image;
}

bool InkIn(const QImage& image, int left, int right) {
  for (int x = std::max(0, left); x < std::min(right, kWidth); ++x)
    for (int y = 0; y < kHeight; ++y)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
  return false;
}

// A run drawn in one call puts every glyph where a PutText of its piece would, on its
// cells: "A" at cell 1, "亜" (a pair, two cells) at 4, "BC" at 8 and 9, nothing between.
TEST(QtCanvas, RunPutsEachGlyphOnItsCell) {
  int cw = 0;
  const std::string wide = "\x88\x9F";  // 亜
  const auto pieces = [&](int c) {
    return std::vector<TextPiece>{{c, "A"}, {4 * c, wide}, {8 * c, "B C"}};
  };
  int probe = 0;
  Paint(probe, [](Canvas&) {});
  ASSERT_GT(probe, 0);
  const QImage run = Paint(cw, [&](Canvas& canvas) { canvas.PutTexts(10, pieces(probe)); });
  const QImage single = Paint(cw, [&](Canvas& canvas) {
    for (const TextPiece& p : pieces(probe)) canvas.PutText(p.x, 10, p.sjis);
  });
  EXPECT_EQ(run, single);
  EXPECT_FALSE(InkIn(run, 0, cw));
  EXPECT_TRUE(InkIn(run, cw, 2 * cw));
  EXPECT_FALSE(InkIn(run, 2 * cw + 1, 4 * cw - 1));
  EXPECT_TRUE(InkIn(run, 4 * cw, 6 * cw));
  EXPECT_FALSE(InkIn(run, 6 * cw + 1, 8 * cw - 1));
  EXPECT_TRUE(InkIn(run, 8 * cw, 9 * cw));
  EXPECT_FALSE(InkIn(run, 9 * cw + 1, 10 * cw - 1));  // the space stays empty
  EXPECT_TRUE(InkIn(run, 10 * cw, 11 * cw));
  EXPECT_FALSE(InkIn(run, 11 * cw + 1, kWidth));
}

}  // namespace
}  // namespace tyld::platform
