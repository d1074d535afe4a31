#pragma once
// Canvas on a QPainter: screen widgets, printers, PDF writers and images.
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>

#include "platform/canvas.h"

class QPainter;

namespace tyld::platform {

class QtCanvas : public Canvas {
 public:
  // The painter must be active; caps describe the device (printable area and resolution).
  QtCanvas(QPainter& painter, DeviceMetrics caps);

  [[nodiscard]] DeviceMetrics Device() const override { return caps_; }
  bool SelectFont(const FontDescription& font) override;
  [[nodiscard]] FontMetrics Metrics() const override { return metrics_; }
  [[nodiscard]] int TextExtent(std::string_view sjis) const override;
  void PutText(int x, int y, std::string_view sjis) override;
  void PutTexts(int y, std::span<const TextPiece> pieces) override;
  void SetTextColor(Colour color) override { color_ = color; }
  [[nodiscard]] Colour TextColor() const override { return color_; }
  void Rectangle(int left, int top, int right, int bottom, Pen pen, Brush brush) override;
  void Line(int x1, int y1, int x2, int y2, Pen pen) override;

 private:
  void DrawCells(int baseline, std::span<const TextPiece> pieces);

  QPainter& painter_;
  DeviceMetrics caps_;
  QFont font_;
  FontMetrics metrics_;
  bool fontSet_ = false;
  QRawFont raw_;  // the selected font's own glyphs, for runs placed on cells
  QList<quint32> glyphs_;  // the run being drawn, kept to reuse their storage
  QList<QPointF> positions_;
  Colour color_ = 0;
};

}  // namespace tyld::platform
