// Saving the data when writing fails or the process dies: the target is always either the
// old file or the new one, never a mixture or a stump.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <vector>

#include "document/document_buffer.h"
#include "tools/byte_editor_window.h"
#include "tools/dialog_support.h"
#include "tools/save_data.h"
#include "platform/message_box.h"

namespace tyld::tools {
namespace {

using platform::ScopedMessageBoxRecorder;

QByteArray Pattern(std::size_t n, int seed) {
  QByteArray b(static_cast<qsizetype>(n), '\0');
  for (std::size_t i = 0; i < n; ++i) b[static_cast<qsizetype>(i)] = static_cast<char>((i * 31 + static_cast<std::size_t>(seed)) >> 3);
  return b;
}

void Fill(document::DocumentBuffer& doc, const QByteArray& bytes) {
  doc.DocData.assign(bytes.begin(), bytes.end());
  doc.DocData.push_back(0);
  doc.DocLength = static_cast<std::int32_t>(bytes.size());
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A final 0x00 is shown as 0x1A; the byte written for it depends on whether the user wrote
// that byte in the byte editor, not on the value it ends with.
TEST(SaveData, TheFinalByteIsSavedAsEditedAndAsLoadedOtherwise) {
  QTemporaryDir dir;
  const QString original = dir.filePath("nul.dat");
  ASSERT_TRUE(WriteAll(original, QByteArray("abc\x00", 4)));
  const struct {
    std::vector<const char*> edits;  // values typed for the final byte, one write each
    int undos;                       // then undone this many times
    int redos;                       // and redone this many
    char saved;
  } cases[] = {{{}, 0, 0, '\x00'},         {{"1B"}, 0, 0, '\x1B'},       {{"1A"}, 0, 0, '\x1A'},
               {{"1B", "1A"}, 0, 0, '\x1A'}, {{"1B"}, 1, 0, '\x00'},       {{"1A"}, 1, 0, '\x00'},
               {{"1B", "1A"}, 1, 0, '\x1B'}, {{"1B", "1A"}, 2, 0, '\x00'}, {{"1A"}, 1, 1, '\x1A'}};
  document::DocumentBuffer doc;
  std::uint32_t start = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.edits.size() == 0 ? "unedited" : c.edits.back()) << " undos " << c.undos
                                    << " redos " << c.redos);
    doc.LoadDataFile(original.toStdString());
    ASSERT_EQ(doc.DocData[3], 0x1A);  // shown and printed as 0x1A
    auto* editor = new ByteEditorWindow(doc, start);
    editor->findChild<QLineEdit*>("address")->setText(QStringLiteral("3"));
    editor->EnterAddress();
    for (const char* value : c.edits) {
      editor->findChild<QLineEdit*>("newByte0")->setText(QString::fromLatin1(value));
      editor->findChild<QLineEdit*>("newByte1")->setText(QStringLiteral("ff"));  // outside the data
      editor->WriteValues();
    }
    delete editor;
    for (int k = 0; k < c.undos; ++k) ASSERT_TRUE(doc.Undo());
    for (int k = 0; k < c.redos; ++k) ASSERT_TRUE(doc.Redo());
    ScopedMessageBoxRecorder boxes;
    ASSERT_TRUE(WriteData(nullptr, doc, dir.filePath("copy.dat")));
    EXPECT_EQ(ReadAll(dir.filePath("copy.dat")), QByteArray("abc", 3) + c.saved);
  }
  // Writing other bytes leaves the final one as loaded.
  doc.LoadDataFile(original.toStdString());
  const document::ByteWrite other{2, 'C'};
  ASSERT_TRUE(doc.WriteBytes({&other, 1}));
  ScopedMessageBoxRecorder boxes;
  ASSERT_TRUE(WriteData(nullptr, doc, dir.filePath("other.dat")));
  EXPECT_EQ(ReadAll(dir.filePath("other.dat")), QByteArray("abC\x00", 4));
}

// Save-as asks before creating a file (a mistyped name), not before replacing one: the
// file dialog has asked that already.
TEST(SaveData, SaveAsAsksBeforeCreatingAFile) {
  QTemporaryDir dir;
  document::DocumentBuffer doc;
  Fill(doc, "data");
  const QString created = QDir(dir.path()).filePath("new.dat");
  const QString existing = QDir(dir.path()).filePath("old.dat");
  ASSERT_TRUE(WriteAll(existing, "old"));
  const QString question = QStringLiteral("ファイル %1 は存在しません。\n作成しますか？");
  ScopedMessageBoxRecorder boxes(platform::Answer::No);
  {
    ScopedSaveFileAnswer answer(created);
    EXPECT_FALSE(SaveAs(nullptr, doc));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, question.arg(created));
    EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(boxes.Calls()[0].buttons, platform::Buttons::YesNo);
    EXPECT_FALSE(QFile::exists(created));
    boxes.SetAnswer(platform::Answer::Yes);
    EXPECT_TRUE(SaveAs(nullptr, doc));
    EXPECT_EQ(ReadAll(created), QByteArray("data"));
  }
  ScopedSaveFileAnswer answer(existing);
  const std::size_t before = boxes.Calls().size();
  EXPECT_TRUE(SaveAs(nullptr, doc));
  ASSERT_EQ(boxes.Calls().size(), before + 1);  // only "written"
  EXPECT_EQ(boxes.Calls().back().text, QStringLiteral("ファイル %1 に書込みました").arg(existing));
  EXPECT_EQ(ReadAll(existing), QByteArray("data"));
}

TEST(SaveData, AFailedWriteKeepsTheOldFileAndTheDataAndSaysWhy) {
  QTemporaryDir dir;
  const QString target = dir.filePath("old.dat");
  ASSERT_TRUE(WriteAll(target, "old content"));
  document::DocumentBuffer doc;
  const QByteArray bytes = Pattern(256 * 1024, 1);
  Fill(doc, bytes);

  // A file size limit makes the write fail part-way, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  ScopedMessageBoxRecorder boxes;
  const bool written = WriteData(nullptr, doc, target);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadAll(target), QByteArray("old content"));
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(doc.DocData.data()), doc.DocLength), bytes);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_TRUE(boxes.Calls()[0].text.startsWith(QStringLiteral("ファイル %1 の書込み中にエラーが発生しました。\n").arg(target)))
      << boxes.Calls()[0].text.toStdString();
  EXPECT_TRUE(boxes.Calls()[0].text.contains(QStringLiteral("変更されていません")));

  // A path that cannot be created at all.
  EXPECT_FALSE(WriteData(nullptr, doc, dir.filePath("missing/dir/x.dat")));
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_TRUE(boxes.Calls()[1].text.startsWith(QStringLiteral("ファイルのオープンに失敗しました。\n")));
}

TEST(SaveData, EmptyDataTruncatesTheTargetAndReportsSuccess) {
  QTemporaryDir dir;
  const QString target = dir.filePath("t.dat");
  ASSERT_TRUE(WriteAll(target, "something"));
  document::DocumentBuffer doc;
  ScopedMessageBoxRecorder boxes;
  EXPECT_TRUE(WriteData(nullptr, doc, target));
  EXPECT_TRUE(QFile::exists(target));
  EXPECT_EQ(QFile(target).size(), 0);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("ファイル %1 に書込みました").arg(target));
}

// Saves in a child process that is killed with SIGKILL at several points of the save: before
// its first byte, part-way and once every byte is written. The size is TYLD_KILL_SAVE_MB
// megabytes (default 32; 500 for the full check by hand).
TEST(SaveData, KillingTheProcessWhileSavingNeverDamagesTheTarget) {
  const char* env = std::getenv("TYLD_KILL_SAVE_MB");
  const std::size_t mb = env != nullptr && std::atoi(env) > 0 ? static_cast<std::size_t>(std::atoi(env)) : 32;
  QTemporaryDir dir;
  const QString target = dir.filePath("big.dat");
  const QByteArray oldBytes = Pattern(mb << 20, 3);
  const QByteArray newBytes = Pattern(mb << 20, 5);
  document::DocumentBuffer doc;
  Fill(doc, newBytes);

  // The child kills itself once `killAt` bytes are written (before the first write for 0),
  // so each kill lands at its point of the save however fast the disk is.
  const std::uint64_t total = static_cast<std::uint64_t>(newBytes.size());
  auto startSave = [&](std::uint64_t killAt) {
    const pid_t pid = fork();
    if (pid == 0) {
      ScopedMessageBoxRecorder quiet;
      std::uint64_t written = 0;
      const platform::ChunkWriter writer = [&](int fd, const std::uint8_t* p, std::size_t size) -> long {
        if (written >= killAt) raise(SIGKILL);
        const long n = static_cast<long>(::write(fd, p, size));
        if (n > 0) written += static_cast<std::uint64_t>(n);
        if (written >= killAt) raise(SIGKILL);
        return n;
      };
      _exit(WriteData(nullptr, doc, target, writer) ? 0 : 1);
    }
    return pid;
  };

  // A whole save replaces the old content.
  ASSERT_TRUE(WriteAll(target, oldBytes));
  const pid_t whole = startSave(total + 1);
  ASSERT_GT(whole, 0);
  int status = 0;
  ASSERT_EQ(waitpid(whole, &status, 0), whole);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(ReadAll(target) == newBytes);

  int sawOld = 0, sawNew = 0;
  for (int tenth : {0, 1, 3, 5, 7, 9, 10}) {
    ASSERT_TRUE(WriteAll(target, oldBytes));
    const pid_t pid = startSave(total * static_cast<std::uint64_t>(tenth) / 10);
    ASSERT_GT(pid, 0);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "not killed at " << tenth << "/10";
    const QByteArray now = ReadAll(target);
    const bool isOld = now == oldBytes;
    const bool isNew = now == newBytes;
    EXPECT_TRUE(isOld || isNew) << "killed at " << tenth << "/10 of the bytes: target has " << now.size()
                                << " bytes of neither content";
    // Until every byte is on disk the new file has not replaced the old one.
    EXPECT_TRUE(isOld) << "killed at " << tenth << "/10 of the bytes";
    sawOld += isOld;
    sawNew += isNew;
  }
  // A killed save leaves its temporary file; the next save of the target removes it.
  {
    ScopedMessageBoxRecorder quiet;
    ASSERT_TRUE(WriteData(nullptr, doc, target));
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("big.dat")});
  EXPECT_TRUE(ReadAll(target) == newBytes);
  std::printf("kill points: %d left the old file, %d the new one (save of %zu MB)\n", sawOld, sawNew, mb);
}

}  // namespace
}  // namespace tyld::tools
