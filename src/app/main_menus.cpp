#include "app/main_menus.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>


namespace tyld::app {
namespace {

// Every menu and tool bar command with its menu text.
using S = pages::ScreenAction;

const CommandSpec kCommands[] = {
    {Command::OpenGeneral, "一般ファイルを開く (&G)"},
    {Command::OpenPrintFile, "印刷用ファイルを開く (&O)"},
    {Command::FileTypeGuide, "DF タイプ選択ガイド (&T)"},
    {Command::Properties, "読出しファイルプロパティ (&P)"},
    {Command::Save, "上書き保存(&S)", S::Save},
    {Command::SaveAs, "名前を付けて保存(&A)", S::SaveAs},
    {Command::PrintMono, "モノクロ印刷 (&M)", S::PrintMono},
    {Command::PrintColour, "カラー印刷 (&C)", S::PrintColour},
    {Command::PrinterSetup, "ﾌﾟﾘﾝﾀの設定(&R)...", S::PrinterSetup},
    {Command::OrientationGuide, "印刷方向設定ガイド (&D)"},
    {Command::SettingsReset, "設定条件初期化 (&I)"},
    {Command::SoftwareInfo, "SW情報 (&W)"},
    {Command::Close, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"},
    {Command::Font, "フォント指定 (&F)", S::Font},
    {Command::FontReset, "フォント指定初期化 (&G)", S::FontReset},
    {Command::PageFormat, "印刷ﾌｫｰﾏｯﾄ設定 (&P)", S::PageFormat},
    {Command::PageFormatReset, "印刷ﾌｫｰﾏｯﾄ初期化 (&Q)", S::PageFormatReset},
    {Command::DefaultWindowSize, "デフォルトのウインドウサイズとする (&D)"},
    {Command::PrevPage, "前頁 (&F)", S::PrevPage},
    {Command::NextPage, "次頁 (&N)", S::NextPage},
    {Command::FirstPage, "先頭頁 (&T)", S::FirstPage},
    {Command::LastPage, "最終頁 (&L)", S::LastPage},
    {Command::Prev10, "10頁前 (&A)", S::Prev10},
    {Command::Next10, "10頁後 (&B)", S::Next10},
    {Command::Prev50, "50頁前 (&C)", S::Prev50},
    {Command::Next50, "50頁後 (&D)", S::Next50},
    {Command::GoToPage, "頁指定 (&S)", S::GoToPage},
    {Command::PageTurnGuide, "頁めくりガイド (&G)"},
    {Command::ScaleDouble, "スケール２倍 (&D)", S::ScaleDouble},
    {Command::ScaleOriginal, "スケール元 (&O)", S::ScaleOriginal},
    {Command::ScaleHalf, "スケール 1/2 (&H)", S::ScaleHalf},
    {Command::StringSearch, "文字列サーチ (&M)", S::StringSearch},
    {Command::CancelStringSearch, "文字列サーチ解除 (&R)", S::CancelStringSearch},
    {Command::Utf8On, "UTF-8へ強制変換して表示 (&U)", S::Utf8On},
    {Command::Utf8Off, "UTF-8強制変換中止 (&C)", S::Utf8Off},
    {Command::MailDecoded, "eml DF 変換表示(&C)", S::MailDecoded},
    {Command::MailRaw, "eml DF 元データ表示(&O)", S::MailRaw},
    {Command::ByteSearch, "バイトデータサーチ (&B)", S::ByteSearch},
    {Command::SequenceSearch, "バイト列サーチ (&A)", S::SequenceSearch},
    {Command::CancelByteSearch, "バイトデータサーチ解除 (&R)", S::CancelByteSearch},
    {Command::PositionCalculator, "16進<->10進位置計算(&H)", S::PositionCalculator},
    {Command::ByteEditor, "メンテ(&M)", S::ByteEditor},
    {Command::Paste, "貼り付け"},
    {Command::Print, "印刷"},
    {Command::Undo, "元に戻す(&U)"},
    {Command::Redo, "やり直し(&R)"},
};

// A small icon with one or two characters, for commands without a theme icon.
QIcon TextIcon(const QString& text) {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(40, 40, 40));
  QFont f(QStringLiteral("IPAGothic"));
  f.setPixelSize(text.size() > 1 ? 10 : 15);
  f.setBold(true);
  p.setFont(f);
  p.drawText(pm.rect(), Qt::AlignCenter, text);
  return QIcon(pm);
}

}  // namespace

QIcon CommandIcon(Command id, const QStyle* style) {
  auto theme = [](const char* name, const QIcon& fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), fallback);
  };
  switch (id) {
    case Command::OpenPrintFile: return theme("document-open", style->standardIcon(QStyle::SP_DialogOpenButton));
    case Command::PrinterSetup: return theme("document-print-preview", TextIcon(QStringLiteral("設")));
    case Command::PrintMono: return theme("document-print", TextIcon(QStringLiteral("黒")));
    case Command::PrintColour: return TextIcon(QStringLiteral("色"));
    case Command::Paste: return theme("edit-paste", TextIcon(QStringLiteral("貼")));
    case Command::Undo: return theme("edit-undo", {});
    case Command::Redo: return theme("edit-redo", {});
    case Command::Font: return theme("preferences-desktop-font", TextIcon(QStringLiteral("字")));
    case Command::PageFormat: return theme("document-properties", TextIcon(QStringLiteral("書")));
    case Command::PrevPage: return theme("go-previous", style->standardIcon(QStyle::SP_ArrowLeft));
    case Command::Prev10: return TextIcon(QStringLiteral("-10"));
    case Command::Prev50: return TextIcon(QStringLiteral("-50"));
    case Command::FirstPage: return theme("go-first", style->standardIcon(QStyle::SP_MediaSkipBackward));
    case Command::NextPage: return theme("go-next", style->standardIcon(QStyle::SP_ArrowRight));
    case Command::Next10: return TextIcon(QStringLiteral("+10"));
    case Command::Next50: return TextIcon(QStringLiteral("+50"));
    case Command::LastPage: return theme("go-last", style->standardIcon(QStyle::SP_MediaSkipForward));
    case Command::GoToPage: return theme("go-jump", TextIcon(QStringLiteral("頁")));
    case Command::ScaleOriginal: return theme("zoom-original", TextIcon(QStringLiteral("1")));
    case Command::ScaleDouble: return theme("zoom-in", TextIcon(QStringLiteral("x2")));
    case Command::ScaleHalf: return theme("zoom-out", TextIcon(QStringLiteral("½")));
    case Command::StringSearch: return theme("edit-find", TextIcon(QStringLiteral("検")));
    case Command::Utf8On: return TextIcon(QStringLiteral("U8"));
    case Command::Utf8Off: return TextIcon(QStringLiteral("SJ"));
    default: return {};
  }
}

std::span<const CommandSpec> Commands() { return kCommands; }

std::optional<pages::ScreenAction> ScreenActionOf(Command id) {
  for (const CommandSpec& spec : kCommands)
    if (spec.id == id) return spec.screen;
  return std::nullopt;
}

namespace {

// "desc|pattern|" lists to Qt's filter form; "*.*" also matches names without a dot.
QString ToQtFilters(const QStringList& pairs) {
  QStringList out;
  for (const QString& entry : pairs) {
    const QStringList parts = entry.split(QLatin1Char('|'));
    if (parts.size() < 2) continue;
    const QString& desc = parts[0];
    const QString pattern = parts[1] == QStringLiteral("*.*") ? QStringLiteral("*") : parts[1];
    out << (desc.endsWith(QStringLiteral("(") + pattern + QStringLiteral(")"))
                ? desc
                : desc + QStringLiteral(" (") + pattern + QStringLiteral(")"));
  }
  return out.join(QStringLiteral(";;"));
}
}  // namespace

QStringList FilterList(bool printFile, int programType) {
  if (!printFile || programType < 2 || programType > 5) {
    return {QStringLiteral("All files (*.*)|*.*"), QStringLiteral("Text files (*.txt)|*.txt"),
            QStringLiteral("Dat files (*.dat)|*.dat"), QStringLiteral("Doc files (*.doc)|*.doc"),
            QStringLiteral("CSV files (*.csv)|*.csv"), QStringLiteral("Bas files (*.bas)|*.bas"),
            QStringLiteral("Frm files (*.frm)|*.frm"), QStringLiteral("CPP files (*.cpp)|*.cpp"),
            QStringLiteral("C files (*.c)|*.c"), QStringLiteral("Head files (*.h)|*.h"),
            QStringLiteral("Html files (*.html)|*.html"), QStringLiteral("Htm files (*.htm)|*.htm")};
  }
  const QString csv = QStringLiteral("CSV files (*.csv)|*.csv");
  const QString zpk = QStringLiteral("組合せ指定ﾌｧｲﾙ (*.zpk)|*.zpk");
  const QString txt = QStringLiteral("Text files (*.txt)|*.txt");
  const QString dat = QStringLiteral("Dat files (*.dat)|*.dat");
  const QString all = QStringLiteral("All files (*.*)|*.*");
  switch (programType) {
    case 2: return {QStringLiteral("解析DF-A (*.zpa)|*.zpa"), QStringLiteral("解析DF-B (*.zpb)|*.zpb"), csv, zpk, txt, dat, all};
    case 3: return {QStringLiteral("解析DF-C (*.zpc)|*.zpc"), csv, zpk, txt, dat, all};
    case 4: return {QStringLiteral("解析DF-D (*.zpd)|*.zpd"), csv, txt, dat, all};
    default: return {QStringLiteral("解析DF-E (*.zpe)|*.zpe"), csv, txt, dat, all};
  }
}

QString QtFilterString(bool printFile, int programType) {
  return ToQtFilters(FilterList(printFile, programType));
}

}  // namespace tyld::app
