#include "tools/save_data.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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
// user changed it: saving without an edit leaves the file as it was.
platform::FileWriteResult WriteDocument(const std::string& path, const document::DocumentBuffer& doc) {
  const std::span<const std::uint8_t> data = doc.Data();
  const std::int64_t nul = doc.ShownNulAt;
  if (nul < 0 || nul >= static_cast<std::int64_t>(data.size()) || data[static_cast<std::size_t>(nul)] != 0x1A)
    return platform::WriteFileAtomically(path, data);
  const std::uint8_t* base = data.data();
  return platform::WriteFileAtomically(path, data, [base, nul](int fd, const std::uint8_t* p, std::size_t size) -> long {
    const std::int64_t offset = p - base;
    if (nul < offset || nul >= offset + static_cast<std::int64_t>(size)) return WriteSome(fd, p, size);
    if (nul > offset) return WriteSome(fd, p, static_cast<std::size_t>(nul - offset));  // up to the byte
    static const std::uint8_t kNul = 0;
    return WriteSome(fd, &kNul, 1);
  });
}

}  // namespace

bool WriteData(QWidget* owner, const document::DocumentBuffer& doc, const QString& path) {
  const platform::FileWriteResult written = WriteDocument(path.toStdString(), doc);
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

bool SaveOverwrite(QWidget* owner, const document::DocumentBuffer& doc) {
  const QString path = QString::fromStdString(doc.DocPath);
  if (platform::MessageBox(owner, QStringLiteral("ファイル\n%1\nを上書きしていいですか？").arg(path),
                           kCaptionConfirm, platform::Buttons::YesNo) != platform::Answer::Yes)
    return false;
  return WriteData(owner, doc, path);
}

bool SaveAs(QWidget* owner, const document::DocumentBuffer& doc) {
  const QString path = tools::AskSaveFileName(
      owner, {QStringLiteral("名前を付けて保存"), QString::fromStdString(doc.DocDisplayName),
              {QStringLiteral("dat (*.dat)"), QStringLiteral("bmp (*.bmp)"), QStringLiteral("jpe (*.jpe)"),
               QStringLiteral("jpg (*.jpg)"), QStringLiteral("gif (*.gif)"), QStringLiteral("All Files (*)")},
              QStringLiteral("dat")});
  if (path.isEmpty()) return false;
  return WriteData(owner, doc, path);
}

}  // namespace tyld::tools
