#include "pages/screen_steps.h"

#include <QFontDialog>
#include <algorithm>

#include "platform/fonts.h"
#include "platform/message_box.h"

namespace tyld::pages {
namespace {
bool RefuseWithoutPages(QWidget* view, int pageCount) {
  if (pageCount > 0) return false;
  platform::MessageBox(view, QStringLiteral("有効なデータがありません。"), QStringLiteral("印刷できません。"));
  return true;
}
}  // namespace

std::optional<int> AskPageToShow(QWidget* view, int currentPage, int pageCount) {
  if (RefuseWithoutPages(view, pageCount)) return std::nullopt;
  GoToPageDialog dialog(currentPage, pageCount, view);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return std::clamp(dialog.Result(), 0, pageCount - 1);
}

std::optional<PrintRange> AskPrintRange(QWidget* view, int currentPage, int pageCount, bool colour) {
  if (RefuseWithoutPages(view, pageCount)) return std::nullopt;
  PrintRangeDialog dialog(currentPage, pageCount, colour, view);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  PrintRange r = dialog.Result();
  r.startPage = std::clamp(r.startPage, 1, pageCount);
  r.endPage = std::clamp(r.endPage, r.startPage, pageCount);
  return r;
}

void RunFontDialog(QWidget* view, settings::FontState& font) {
  bool ok = false;
  const int dpi = view->logicalDpiY() > 0 ? view->logicalDpiY() : 96;
  QFont initial = platform::ToQFont(font.logFont);
  initial.setPointSizeF(font.PointTenths() / 10.0);
  const QFont chosen = QFontDialog::getFont(&ok, initial, view, QStringLiteral("フォント指定"));
  if (ok) {
    int tenths = 80;
    font.logFont = platform::FromQFont(chosen, dpi, &tenths);
    font.choice.pointSize = tenths;
  }
  if (platform::MultiplyDivide(font.PointTenths() / 10, dpi, 72) == 0)
    platform::MessageBox(view, QStringLiteral("文字高さの計算に失敗しました。"),
                         QStringLiteral("フォント指定に無理があるようです。"));
}

QString FontStatusText(const settings::FontState& font, bool fixedPitch) {
  const QString scale = font.scale >= 1.0 ? QStringLiteral("%1/1").arg(static_cast<int>(font.scale))
                                          : QStringLiteral("1/%1").arg(static_cast<int>(1.0 / font.scale));
  return QStringLiteral("ｽｹｰﾙ=%1◆%2ﾋﾟ%3ﾎﾟ %4◆")
      .arg(scale, fixedPitch ? QStringLiteral("固") : QStringLiteral("変"))
      .arg(font.PointTenths() / 10.0)
      .arg(platform::FaceName(font.logFont));
}

platform::ScreenFont MakeViewFont(QWidget* view, settings::FontState& font, int lineSpacing, int shownSize) {
  auto make = [&] { return platform::MakeScreenFont(font.logFont, font.PointTenths(), font.scale, lineSpacing, view); };
  platform::ScreenFont f = make();
  if (f.status == platform::ScreenFont::Status::BaseFailed) {
    platform::MessageBox(view, QStringLiteral("font size=%1 ポイントのフォント計算に失敗しました。").arg(shownSize),
                         QStringLiteral("フォントを初期化します。"));
    font = settings::FontState{};
    f = make();
  }
  if (f.status == platform::ScreenFont::Status::ScaleFailed) {
    platform::MessageBox(view, QStringLiteral("指定スケール %1 でフォントが作れません。").arg(font.scale),
                         QStringLiteral("デフォルトスケールにもどします。"));
    font.scale = 1.0;
  }
  return f;
}

}  // namespace tyld::pages
