#include "binary/save_data.h"

#include "platform/atomic_file.h"
#include "platform/message_box.h"
#include "search/dialog_support.h"

namespace tyld::binary {
namespace {

const QString kCaptionConfirm = QStringLiteral("確認");
// The application's own name serves as the caption of file failures.
const QString kCaptionDefault = QStringLiteral("Tyld");

}  // namespace

bool WriteData(QWidget* owner, const app::DocumentBuffer& doc, const QString& path) {
  const platform::FileWriteResult written = platform::WriteFileAtomically(path.toStdString(), doc.Data());
  if (!written.ok) {
    // The writer only replaces the target after every byte reached the disk, so the old
    // file is intact and the data can be saved again.
    const bool notOpened = written.error.starts_with("create");
    const QString what = notOpened ? QStringLiteral("ファイルのオープンに失敗しました。")
                                   : QStringLiteral("ファイル %1 の書込み中にエラーが発生しました。").arg(path);
    platform::MessageBox(owner,
                         QStringLiteral("%1\n%2\nファイル %3 は変更されていません。")
                             .arg(what, QString::fromStdString(written.error), path),
                         kCaptionDefault);
    return false;
  }
  platform::MessageBox(owner, QStringLiteral("ファイル %1 に書込みました").arg(path), kCaptionConfirm);
  return true;
}

bool SaveOverwrite(QWidget* owner, const app::DocumentBuffer& doc) {
  const QString path = QString::fromStdString(doc.DocPath);
  if (platform::MessageBox(owner, QStringLiteral("ファイル\n%1\nを上書きしていいですか？").arg(path),
                           kCaptionConfirm, platform::Buttons::YesNo) != platform::Answer::Yes)
    return false;
  return WriteData(owner, doc, path);
}

bool SaveAs(QWidget* owner, const app::DocumentBuffer& doc) {
  const QString path = search::AskSaveFileName(
      owner, {QStringLiteral("名前を付けて保存"), QString::fromStdString(doc.DocDisplayName),
              {QStringLiteral("dat (*.dat)"), QStringLiteral("bmp (*.bmp)"), QStringLiteral("jpe (*.jpe)"),
               QStringLiteral("jpg (*.jpg)"), QStringLiteral("gif (*.gif)"), QStringLiteral("All Files (*)")},
              QStringLiteral("dat")});
  if (path.isEmpty()) return false;
  return WriteData(owner, doc, path);
}

}  // namespace tyld::binary
