#include "app/guide_dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tyld::app {

GuideDialog::GuideDialog(const QString& caption, const QStringList& lines, const QString& button,
                         QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  for (const QString& line : lines) {
    auto* label = new QLabel(line, this);
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  auto* ok = new QPushButton(button, this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedWidth(640);
}

GuideDialog* MakeDfTypeGuide(QWidget* parent) {
  return new GuideDialog(
      QStringLiteral("DF タイプ指定ガイド"),
      {QStringLiteral("本ソフトは主に当方のソフトからテキストファイル渡しで印刷指令するためのものです。"),
       QStringLiteral("このときカラー指定のため、html 形式のカラータグをテキストファイルに組み込むことがあります。"),
       QStringLiteral("これを正常に処理するようにしたのが「印刷用ファイル指定」です。"),
       QStringLiteral("当方のソフトから出力した印刷用ファイルをチェックするときのみこのメニューを使用ください。"),
       QStringLiteral("通常のファイルを印刷するときは「一般用ファイル指定」メニューを使用ください。"),
       QStringLiteral("「最近使ったファイル」メニューからファイル指定するとかならず「一般用ファイル」として処理されます。")},
      QStringLiteral("OK"), parent);
}

GuideDialog* MakeOrientationGuide(QWidget* parent) {
  return new GuideDialog(
      QStringLiteral("印刷方向設定ガイド"),
      {QStringLiteral("本ソフトでは、アスキー画面とバイナリ画面では別々な印刷方向を設定できるようになっています。"),
       QStringLiteral("そのため、それぞれの画面でプリンタ設定すると、プリンタ選択は両画面に対し有効ですが、印刷する方向はその画面だけに有効です。"),
       QStringLiteral("なお印刷方向は設定ファイルに保存されて次回起動時はデフォルト選択されます。")},
      QStringLiteral("クローズ"), parent);
}

GuideDialog* MakeSwInfo(QWidget* parent) {
  return new GuideDialog(
      QStringLiteral("ソフト情報 (ヨルダムⅡ バンドル版)"),
      {QStringLiteral("このソフトは当方のシェアウエアから起動して入力データや結果を印刷するためのものです。"),
       QStringLiteral("上流ソフトから自動起動し、印刷情報を自動的にセットするようになっています。"),
       QStringLiteral("一般的なファイル印刷ツールとして使用することもできます。"),
       QStringLiteral("連絡先：Tyld 開発チーム\nお問い合わせはプロジェクトの課題票までお寄せください。")},
      QStringLiteral("OK"), parent);
}

}  // namespace tyld::app
