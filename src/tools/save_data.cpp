#include "tools/save_data.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <QFileInfo>

#include "platform/atomic_file.h"
#include "platform/message_box.h"
#include "tools/dialog_support.h"

namespace tyld::tools {
namespace {

const QString kCaptionConfirm = QStringLiteral("確認");
// The application's own name serves as the caption of file failures.
const QString kCaptionDefault = QStringLiteral("Tyld");

long WriteSome(int fd, const std::uint8_t* data, std::size_t size) {
#ifdef _WIN32
  return _write(fd, data, static_cast<unsigned>(size));
#else
  return static_cast<long>(::write(fd, data, size));
#endif
}

// Writes the data, giving a final 0x00 that is shown as 0x1A its own byte back unless the
// user wrote that byte: saving without an edit leaves the file as it was.
platform::FileWriteResult WriteDocument(const std::string& path, const document::DocumentBuffer& doc, bool inPlace,
                                        const platform::ChunkWriter& writeSome) {
  const std::span<const std::uint8_t> data = doc.Data();
  const std::int64_t nul = doc.ShownNulAt;
  using Writer = platform::FileWriteResult (*)(const std::string&, std::span<const std::uint8_t>,
                                               const platform::ChunkWriter&);
  const Writer write = inPlace ? Writer{platform::WriteFileInPlace} : Writer{platform::WriteFileAtomically};
  if (nul < 0 || nul >= static_cast<std::int64_t>(data.size()) || doc.ShownNulWritten)
    return write(path, data, writeSome);
  const std::uint8_t* base = data.data();
  return write(path, data, [base, nul, &writeSome](int fd, const std::uint8_t* p, std::size_t size) -> long {
    const std::int64_t offset = p - base;
    if (nul < offset || nul >= offset + static_cast<std::int64_t>(size)) return writeSome(fd, p, size);
    if (nul > offset) return writeSome(fd, p, static_cast<std::size_t>(nul - offset));  // up to the byte
    static const std::uint8_t kNul = 0;
    return writeSome(fd, &kNul, 1);
  });
}

}  // namespace

bool WriteData(QWidget* owner, const document::DocumentBuffer& doc, const QString& path) {
  return WriteData(owner, doc, path, WriteSome);
}

bool WriteData(QWidget* owner, const document::DocumentBuffer& doc, const QString& path,
               const platform::ChunkWriter& writer) {
  const platform::SavePlan plan = platform::PlanSave(path.toStdString(), doc.Data().size());
  if (plan.way == platform::SaveWay::InPlace &&
      platform::MessageBox(owner,
                           QStringLiteral("ファイル %1 は直接書き換えます。\n"
                                          "書込みが中断されるとファイルが壊れます。\n保存しますか？")
                               .arg(path),
                           kCaptionConfirm, platform::Buttons::YesNo) != platform::Answer::Yes)
    return false;
  const platform::FileWriteResult written =
      plan.way == platform::SaveWay::Refused
          ? plan.refusal
          : WriteDocument(path.toStdString(), doc, plan.way == platform::SaveWay::InPlace, writer);
  if (!written.ok) {
    // Nothing was written to a refused target, the writer replaces the target only after
    // every byte reached the disk, and a direct write fails on a full disk before the first
    // byte: then the old file is intact and the data can be saved again.
    const bool notOpened = plan.way == platform::SaveWay::Refused || written.error.starts_with("create") ||
                           written.error.starts_with("open");
    const bool untouched = plan.way != platform::SaveWay::InPlace || notOpened || written.error.starts_with("reserve");
    const QString what = notOpened ? QStringLiteral("ファイルのオープンに失敗しました。")
                                   : QStringLiteral("ファイル %1 の書込み中にエラーが発生しました。").arg(path);
    platform::MessageBox(owner,
                         QStringLiteral("%1\n%2").arg(what, QString::fromStdString(written.error)) +
                             (untouched ? QStringLiteral("\nファイル %1 は変更されていません。").arg(path) : QString()),
                         kCaptionDefault);
    return false;
  }
  platform::MessageBox(owner, QStringLiteral("ファイル %1 に書込みました").arg(path), kCaptionConfirm);
  return true;
}

bool SaveOverwrite(QWidget* owner, document::DocumentBuffer& doc) {
  const QString path = QString::fromStdString(doc.DocPath);
  if (platform::MessageBox(owner, QStringLiteral("ファイル\n%1\nを上書きしていいですか？").arg(path),
                           kCaptionConfirm, platform::Buttons::YesNo) != platform::Answer::Yes)
    return false;
  if (!WriteData(owner, doc, path)) return false;
  doc.MarkSaved();
  return true;
}

bool SaveAs(QWidget* owner, const document::DocumentBuffer& doc) {
  const QString path = tools::AskSaveFileName(
      owner, {QStringLiteral("名前を付けて保存"), QString::fromStdString(doc.DocDisplayName),
              {QStringLiteral("dat (*.dat)"), QStringLiteral("bmp (*.bmp)"), QStringLiteral("jpe (*.jpe)"),
               QStringLiteral("jpg (*.jpg)"), QStringLiteral("gif (*.gif)"), QStringLiteral("All Files (*)")},
              QStringLiteral("dat")});
  if (path.isEmpty()) return false;
  // A mistyped name should not silently become a new file; an existing one was already
  // confirmed by the dialog.
  if (!QFileInfo::exists(path) &&
      platform::MessageBox(owner, QStringLiteral("ファイル %1 は存在しません。\n作成しますか？").arg(path),
                           kCaptionConfirm, platform::Buttons::YesNo) != platform::Answer::Yes)
    return false;
  return WriteData(owner, doc, path);
}

}  // namespace tyld::tools
