#include "app/main_menus.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include "platform/command_ids.h"

namespace tyld::app {
namespace {

// Every menu and tool bar command with its menu text.
const CommandSpec kCommands[] = {
    {cmd::kOpenGeneral, "一般ファイルを開く (&G)"},
    {cmd::kOpenPrintFile, "印刷用ファイルを開く (&O)"},
    {cmd::kDfTypeGuide, "DF タイプ選択ガイド (&T)"},
    {cmd::kProperties, "読出しファイルプロパティ (&P)"},
    {cmd::kSave, "上書き保存(&S)"},
    {cmd::kSaveAs, "名前を付けて保存(&A)"},
    {cmd::kPrintMono, "モノクロ印刷 (&M)"},
    {cmd::kPrintColour, "カラー印刷 (&C)"},
    {cmd::kPrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)..."},
    {cmd::kOrientationGuide, "印刷方向設定ガイド (&D)"},
    {cmd::kSettingsReset, "設定条件初期化 (&I)"},
    {cmd::kSwInfo, "SW情報 (&W)"},
    {cmd::kClose, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"},
    {cmd::kFont, "フォント指定 (&F)"},
    {cmd::kFontReset, "フォント指定初期化 (&G)"},
    {cmd::kPageFormat, "印刷ﾌｫｰﾏｯﾄ設定 (&P)"},
    {cmd::kPageFormatReset, "印刷ﾌｫｰﾏｯﾄ初期化 (&Q)"},
    {cmd::kDefaultWindowSize, "デフォルトのウインドウサイズとする (&D)"},
    {cmd::kPrevPage, "前頁 (&F)"},
    {cmd::kNextPage, "次頁 (&N)"},
    {cmd::kFirstPage, "先頭頁 (&T)"},
    {cmd::kLastPage, "最終頁 (&L)"},
    {cmd::kPrev10, "10頁前 (&A)"},
    {cmd::kNext10, "10頁後 (&B)"},
    {cmd::kPrev50, "50頁前 (&C)"},
    {cmd::kNext50, "50頁後 (&D)"},
    {cmd::kPageJump, "頁指定 (&S)"},
    {cmd::kPageTurnGuide, "頁めくりガイド (&G)"},
    {cmd::kScaleDouble, "スケール２倍 (&D)"},
    {cmd::kScaleOriginal, "スケール元 (&O)"},
    {cmd::kScaleHalf, "スケール 1/2 (&H)"},
    {cmd::kStringSearch, "文字列サーチ (&M)"},
    {cmd::kStringSearchCancel, "文字列サーチ解除 (&R)"},
    {cmd::kUtf8On, "UTF-8へ強制変換して表示 (&U)"},
    {cmd::kUtf8Off, "UTF-8強制変換中止 (&C)"},
    {cmd::kEmlDecoded, "eml DF 変換表示(&C)"},
    {cmd::kEmlRaw, "eml DF 元データ表示(&O)"},
    {cmd::kByteSearch, "バイトデータサーチ (&B)"},
    {cmd::kGroupByteSearch, "バイト列サーチ (&A)"},
    {cmd::kByteSearchCancel, "バイトデータサーチ解除 (&R)"},
    {cmd::kHexPosCal, "16進<->10進位置計算(&H)"},
    {cmd::kByteMent, "メンテ(&M)"},
    {cmd::kPaste, "貼り付け"},
    {cmd::kPrint, "印刷"},
};

// Commands the main frame handles itself, whatever screen is active.

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

QIcon CommandIcon(int id, const QStyle* style) {
  auto theme = [](const char* name, const QIcon& fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), fallback);
  };
  switch (id) {
    case cmd::kOpenPrintFile: return theme("document-open", style->standardIcon(QStyle::SP_DialogOpenButton));
    case cmd::kPrintSetup: return theme("document-print-preview", TextIcon(QStringLiteral("設")));
    case cmd::kPrintMono: return theme("document-print", TextIcon(QStringLiteral("黒")));
    case cmd::kPrintColour: return TextIcon(QStringLiteral("色"));
    case cmd::kPaste: return theme("edit-paste", TextIcon(QStringLiteral("貼")));
    case cmd::kFont: return theme("preferences-desktop-font", TextIcon(QStringLiteral("字")));
    case cmd::kPageFormat: return theme("document-properties", TextIcon(QStringLiteral("書")));
    case cmd::kPrevPage: return theme("go-previous", style->standardIcon(QStyle::SP_ArrowLeft));
    case cmd::kPrev10: return TextIcon(QStringLiteral("-10"));
    case cmd::kPrev50: return TextIcon(QStringLiteral("-50"));
    case cmd::kFirstPage: return theme("go-first", style->standardIcon(QStyle::SP_MediaSkipBackward));
    case cmd::kNextPage: return theme("go-next", style->standardIcon(QStyle::SP_ArrowRight));
    case cmd::kNext10: return TextIcon(QStringLiteral("+10"));
    case cmd::kNext50: return TextIcon(QStringLiteral("+50"));
    case cmd::kLastPage: return theme("go-last", style->standardIcon(QStyle::SP_MediaSkipForward));
    case cmd::kPageJump: return theme("go-jump", TextIcon(QStringLiteral("頁")));
    case cmd::kScaleOriginal: return theme("zoom-original", TextIcon(QStringLiteral("1")));
    case cmd::kScaleDouble: return theme("zoom-in", TextIcon(QStringLiteral("x2")));
    case cmd::kScaleHalf: return theme("zoom-out", TextIcon(QStringLiteral("½")));
    case cmd::kStringSearch: return theme("edit-find", TextIcon(QStringLiteral("検")));
    case cmd::kUtf8On: return TextIcon(QStringLiteral("U8"));
    case cmd::kUtf8Off: return TextIcon(QStringLiteral("SJ"));
    default: return {};
  }
}

std::span<const CommandSpec> Commands() { return kCommands; }

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
