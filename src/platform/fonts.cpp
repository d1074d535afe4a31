#include "platform/fonts.h"

#include <QFontMetrics>
#include <QStringList>
#include <QPaintDevice>
#include <cmath>
#include <cstdlib>

#include "platform/codepage.h"

namespace tyld::platform {

void InstallFontSubstitutions() {
  const QString noto = QStringLiteral("Noto Sans Mono CJK JP");
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), QStringList{QStringLiteral("IPAGothic"), noto});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), QStringList{QStringLiteral("IPAPGothic"), noto});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), QStringList{QStringLiteral("IPAMincho"), noto});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), QStringList{QStringLiteral("IPAPMincho"), noto});
  QFont::insertSubstitutions(QStringLiteral("MS Gothic"), QStringList{QStringLiteral("IPAGothic"), noto});
  QFont::insertSubstitutions(QStringLiteral("MS Mincho"), QStringList{QStringLiteral("IPAMincho"), noto});
}

QString FaceName(const FontDescription& font) {
  return QString::fromStdU16String(codepage::ToUtf16(font.Face()));
}

FontDescription MakeLogFont(const QString& face, int height) {
  FontDescription f;
  f.height = height;
  f.charSet = kShiftJisCharSet;
  f.SetFace(codepage::FromUtf16(face.toStdU16String()));
  return f;
}

QFont ToQFont(const FontDescription& lf) {
  QFont f(FaceName(lf));
  const int px = std::abs(lf.height);
  f.setPixelSize(px > 0 ? px : 12);
  if (lf.weight >= 600) f.setBold(true);
  f.setItalic(lf.italic != 0);
  f.setUnderline(lf.underline != 0);
  f.setStrikeOut(lf.strikeOut != 0);
  f.setKerning(false);
  f.setStyleStrategy(QFont::PreferDefault);
  return f;
}

FontMetrics MeasureFont(const QFont& font, QPaintDevice* device) {
  const QFontMetrics fm = device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
  FontMetrics m;
  m.ascent = fm.ascent();
  m.height = fm.ascent() + fm.descent();
  m.leading = std::max(0, fm.leading());
  // Decide the pitch by comparing advances: font databases call IPAGothic proportional.
  const int narrow = fm.horizontalAdvance(QLatin1Char('i'));
  const int wide = fm.horizontalAdvance(QLatin1Char('W'));
  m.fixedPitch = narrow == wide;
  // GDI's average width of a fixed CJK font is the half-width cell, not the full width.
  m.cellWidth = m.fixedPitch ? fm.horizontalAdvance(QLatin1Char('x')) : fm.averageCharWidth();
  if (m.cellWidth <= 0) m.cellWidth = std::max(1, fm.horizontalAdvance(QLatin1Char('x')));
  return m;
}

FontDescription FromQFont(const QFont& font, int dpiY, int* tenths) {
  const double pt = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / dpiY;
  if (tenths != nullptr) *tenths = static_cast<int>(std::lround(pt * 10));
  FontDescription lf = MakeLogFont(font.family(), -static_cast<int>(std::lround(pt * dpiY / 72.0)));
  lf.weight = font.bold() ? 700 : 400;
  lf.italic = font.italic() ? 1 : 0;
  lf.underline = font.underline() ? 1 : 0;
  lf.strikeOut = font.strikeOut() ? 1 : 0;
  lf.pitchAndFamily = kFixedPitchModern;
  return lf;
}

}  // namespace tyld::platform
