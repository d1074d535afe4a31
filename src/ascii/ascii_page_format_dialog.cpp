#include "ascii/ascii_page_format_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tyld::ascii {

AsciiPageFormatDialog::AsciiPageFormatDialog(settings::AsciiPageFormat& format, settings::UnprintMargins& unprint,
                                               const AsciiLayout& layout, QWidget* parent, bool* lineBreakRules)
    : PageFormatDialogFor(format, QStringLiteral("頁フォーマット設定（アスキー）"), unprint, parent),
      layout_(layout),
      liveLineBreakRules_(lineBreakRules != nullptr ? lineBreakRules : &ownLineBreakRules_) {
  const QString mm = QStringLiteral("mm");

  QGroupBox* margins = AddMarginsBox(&v_.AscMarginTop, &v_.AscMarginBottom,
                                     &v_.AscMarginLeft, &v_.AscLineSpacing);
  QGroupBox* unprintBox = AddUnprintBox(QString());

  auto* grid = new QGridLayout;
  AddField(grid, 0, QStringLiteral("列間 横"), mm, QStringLiteral("columnGap"), &v_.AscColumnGap,
           0, kNoLimit);
  AddField(grid, 1, QStringLiteral("列数 横"), QString(), QStringLiteral("columns"), &v_.AscColumns,
           1, kNoLimit);
  AddField(grid, 2, QStringLiteral("TABｷｬﾗｸﾀ数"), QStringLiteral("1～8"),
           QStringLiteral("tabWidth"), &v_.AscTabWidth, 1, 8);
  grid->addWidget(new QLabel(QStringLiteral("行ｷｬﾗｸﾀ数"), this), 3, 0);
  grid->addWidget(AddNumber(QStringLiteral("maxCharsPerLine")), 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("頁行数"), this), 4, 0);
  grid->addWidget(AddNumber(QStringLiteral("maxLinesPerPage")), 4, 1);
  lineBreakRules_ = new QCheckBox(QStringLiteral("禁則処理を行う"), this);
  lineBreakRules_->setObjectName(QStringLiteral("lineBreakRules"));
  grid->addWidget(lineBreakRules_, 5, 0, 1, 4);

  auto* footer = new QVBoxLayout;
  footer->addWidget(AddRadios(QStringLiteral("出力日時表示"),
                              {QStringLiteral("しない"), QStringLiteral("左下")}, {QStringLiteral("dateOff"), QStringLiteral("dateBottomLeft")},
                              &v_.AscDateMode));
  footer->addWidget(AddRadios(QStringLiteral("ファイル名表示"),
                              {QStringLiteral("しない"), QStringLiteral("右下")}, {QStringLiteral("fileNameOff"),
                               QStringLiteral("fileNameBottomRight")},
                              &v_.AscFileNameMode));
  footer->addWidget(AddRadios(QStringLiteral("頁表示"),
                              {QStringLiteral("しない"), QStringLiteral("出力幅中央"),
                               QStringLiteral("有効幅中央")},
                              {QStringLiteral("pageNumberOff"), QStringLiteral("pageNumberOutputCentre"),
                               QStringLiteral("pageNumberPrintableCentre")}, &v_.AscPageNoMode));
  footer->addWidget(AddRadios(QStringLiteral("行表示"),
                              {QStringLiteral("しない"), QStringLiteral("CRTはする"),
                               QStringLiteral("印刷もする")},
                              {QStringLiteral("lineNumberOff"), QStringLiteral("lineNumberScreenOnly"),
                               QStringLiteral("lineNumberScreenAndPrint")}, &v_.AscLineNoMode));

  auto* body = new QGridLayout;
  body->addWidget(margins, 0, 0);
  body->addWidget(unprintBox, 0, 1);
  body->addLayout(grid, 1, 0);
  body->addLayout(footer, 1, 1);
  Finish(body,
         {QStringLiteral("複数列表示するときは、事前に６ﾎﾟｲﾝﾄ以下のフォントを選択ください。"),
          QStringLiteral("下の表示再調整ボタンクリックで、親画面表示も再描画します。")},
         {QStringLiteral("marginTop"), QStringLiteral("marginBottom"), QStringLiteral("marginLeft"),
          QStringLiteral("lineSpacing"), QStringLiteral("unprintTop"),
          QStringLiteral("unprintBottom"), QStringLiteral("unprintLeft"),
          QStringLiteral("unprintRight"), QStringLiteral("columnGap"), QStringLiteral("columns"),
          QStringLiteral("tabWidth")});
}

void AsciiPageFormatDialog::CopyFromLive() {
  PageFormatDialogFor::CopyFromLive();
  lineBreakRules_->setChecked(*liveLineBreakRules_);
}

void AsciiPageFormatDialog::CopyToLive() {
  *liveLineBreakRules_ = lineBreakRules_->isChecked();
  live_.AscMarginTop = v_.AscMarginTop;
  live_.AscMarginBottom = v_.AscMarginBottom;
  live_.AscMarginLeft = v_.AscMarginLeft;
  live_.AscLineSpacing = v_.AscLineSpacing;
  live_.AscColumnGap = v_.AscColumnGap;
  live_.AscColumns = v_.AscColumns;
  live_.AscTabWidth = v_.AscTabWidth;
  live_.AscDateMode = v_.AscDateMode;
  live_.AscFileNameMode = v_.AscFileNameMode;
  live_.AscPageNoMode = v_.AscPageNoMode;
  live_.AscLineNoMode = v_.AscLineNoMode;
}

void AsciiPageFormatDialog::ShowComputed() {
  findChild<QLabel*>(QStringLiteral("maxCharsPerLine"))
      ->setText(QString::number(layout_.maxCharsPerLine));
  findChild<QLabel*>(QStringLiteral("maxLinesPerPage"))
      ->setText(QString::number(layout_.maxLinesPerPage));
}

}  // namespace tyld::ascii
