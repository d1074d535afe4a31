#include "binary/binary_page_format_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/dialog_keys.h"

namespace tyld::binary {

BinaryPageFormatDialog::BinaryPageFormatDialog(settings::BinaryPageFormat& format, settings::UnprintMargins& unprint,
                                               const BinaryLayout& layout, QWidget* parent)
    : PageFormatDialogFor(format, QStringLiteral("頁フォーマット設定（バイナリ）"), unprint, parent),
      layout_(layout) {
  const QString mm = QStringLiteral("mm");

  QGroupBox* margins = AddMarginsBox(&v_.BinMarginTop, &v_.BinMarginBottom,
                                     &v_.BinMarginLeft, &v_.BinLineSpacing);
  QGroupBox* unprintBox = AddUnprintBox(QStringLiteral("無効領域はアスキー画面と共通です。"));

  auto* gaps = new QGridLayout;
  AddField(gaps, 0, QStringLiteral("列間 横"), mm, QStringLiteral("columnGap"), &v_.BinColumnGap,
           0, kNoLimit);
  AddField(gaps, 1, QStringLiteral("ブロック間 縦"), mm, QStringLiteral("blockGap"), &v_.BinBlockGap,
           0, kNoLimit);

  auto* blocks = new QGroupBox(QStringLiteral("ブロック表示設定"), this);
  auto* bg = new QGridLayout(blocks);
  bg->addWidget(new QLabel(QStringLiteral("max"), blocks), 0, 4);
  // The upper bounds are the computed maxima, set whenever they are shown.
  AddField(bg, 1, QStringLiteral("列数 横"), QString(), QStringLiteral("columns"), &v_.BinColumns,
           1, 1);
  bg->addWidget(AddNumber(QStringLiteral("maxColumns")), 1, 4);
  AddField(bg, 2, QStringLiteral("1列ﾌﾞﾛｯｸ数 縦"), QString(), QStringLiteral("blocksPerColumn"),
           &v_.BinBlocksPerColumn, 1, 1);
  bg->addWidget(AddNumber(QStringLiteral("maxBlocksPerColumn")), 2, 4);

  auto* details = new QGroupBox(QStringLiteral("細部設定"), this);
  auto* dl = new QVBoxLayout(details);
  dl->addWidget(AddRadios(QStringLiteral("出力日時表示"),
                          {QStringLiteral("しない"), QStringLiteral("左下")}, {QStringLiteral("dateOff"), QStringLiteral("dateBottomLeft")},
                          &v_.BinDateMode));
  dl->addWidget(AddRadios(QStringLiteral("16進表記"),
                          {QStringLiteral("大文字"), QStringLiteral("小文字")}, {QStringLiteral("hexUpper"), QStringLiteral("hexLower")},
                          &v_.BinHexCase));
  dl->addWidget(AddRadios(QStringLiteral("頁表示"),
                          {QStringLiteral("しない"), QStringLiteral("出力幅中央"),
                           QStringLiteral("有効幅中央")},
                          {QStringLiteral("pageNumberOff"), QStringLiteral("pageNumberOutputCentre"),
                           QStringLiteral("pageNumberPrintableCentre")}, &v_.BinPageNoMode));
  dl->addWidget(AddRadios(QStringLiteral("CR+LF 置換"),
                          {QStringLiteral("↓"), QStringLiteral("．．"), QStringLiteral("←"),
                           QStringLiteral("スペース")},
                          {QStringLiteral("crLfArrowDown"), QStringLiteral("crLfDots"),
                           QStringLiteral("crLfArrowLeft"), QStringLiteral("crLfSpace")}, &v_.BinCrLfMark));

  auto* body = new QGridLayout;
  body->addWidget(margins, 0, 0);
  body->addWidget(unprintBox, 0, 1);
  body->addLayout(gaps, 1, 0);
  body->addWidget(blocks, 1, 1);
  body->addWidget(details, 2, 0, 1, 2);
  Finish(body, {QStringLiteral("下の表示再調整ボタンクリックで、親画面表示も再描画します。")},
         {QStringLiteral("marginTop"), QStringLiteral("marginBottom"), QStringLiteral("marginLeft"),
          QStringLiteral("lineSpacing"), QStringLiteral("unprintTop"),
          QStringLiteral("unprintBottom"), QStringLiteral("unprintLeft"),
          QStringLiteral("unprintRight"), QStringLiteral("columnGap"), QStringLiteral("blockGap"),
          QStringLiteral("columns"), QStringLiteral("blocksPerColumn")});
}

void BinaryPageFormatDialog::CopyToLive() {
  live_.BinMarginTop = v_.BinMarginTop;
  live_.BinMarginBottom = v_.BinMarginBottom;
  live_.BinMarginLeft = v_.BinMarginLeft;
  live_.BinLineSpacing = v_.BinLineSpacing;
  live_.BinColumnGap = v_.BinColumnGap;
  live_.BinBlockGap = v_.BinBlockGap;
  live_.BinDateMode = v_.BinDateMode;
  live_.BinPageNoMode = v_.BinPageNoMode;
  live_.BinHexCase = v_.BinHexCase;
  live_.BinCrLfMark = v_.BinCrLfMark;
  live_.BinColumns = v_.BinColumns;
  live_.BinBlocksPerColumn = v_.BinBlocksPerColumn;
}

void BinaryPageFormatDialog::ShowComputed() {
  findChild<QLabel*>(QStringLiteral("maxColumns"))->setText(QString::number(layout_.maxColumns));
  findChild<QLabel*>(QStringLiteral("maxBlocksPerColumn"))
      ->setText(QString::number(layout_.maxBlocksPerColumn));
  findChild<platform::SpinArrows*>(QStringLiteral("columnsSpin"))->SetBounds(1, layout_.maxColumns);
  findChild<platform::SpinArrows*>(QStringLiteral("blocksPerColumnSpin"))
      ->SetBounds(1, layout_.maxBlocksPerColumn);
}

}  // namespace tyld::binary
