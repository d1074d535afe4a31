#pragma once
// The one document: the loaded bytes, their names, and the binary screen's highlight
// marks. Both screens read it; loading or pasting replaces its content and emits Loaded,
// an edit (or its undo and redo) changes bytes in place and emits Changed.
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "document/byte_block.h"
#include "document/edit_history.h"
#include "document/startup_state.h"

class QTimer;

namespace tyld::document {

inline constexpr std::int32_t kDocBlockStep = 16384;
inline constexpr std::int32_t kInitialHighlightMarks = 1024;  // marks allocated at start-up

// (n / 16384 + 1) * 16384, at most 2^31 (room for any int32 length and its 0 byte); -1
// for n of 2 GiB or more.
[[nodiscard]] std::int64_t DocCapacityFor(std::int64_t n);

enum class BufferError {
  None,
  AllocateFailed,    // AllocateDocument
  ReallocateFailed,  // GrowDocument
  MarksFailed,       // highlight marks of a load
  FileTooLarge,      // a file of 2 GiB or more; loaded as empty data
};

// Text and caption of the message the main frame shows for an error (empty for None).
// AllocateFailed and ReallocateFailed are shown with OK and Cancel, the others with OK.
struct BufferMessage {
  std::string_view text;
  std::string_view caption;
};
[[nodiscard]] BufferMessage MessageFor(BufferError e);

inline constexpr char kPasteName[] = "ﾍﾟｰｽﾄﾃﾞｰﾀ";

// Start-up stops with this message when the first marks (or the work tables) cannot be had.
inline constexpr char kInputBufferFailedText[] = "入力ﾊﾞｯﾌｧが確保できません。";
inline constexpr char kInputBufferFailedCaption[] = "中断します。";

// A byte the user writes: its offset in the data and its new value.
struct ByteWrite {
  std::int64_t offset = 0;
  std::uint8_t value = 0;
};

struct LoadResult {
  bool ok = true;                         // false only when the highlight marks failed
  BufferError error = BufferError::None;  // a message to show, also when ok (FileTooLarge)
};

struct ReadJob;

class DocumentBuffer : public QObject {
  Q_OBJECT
 public:
  DocumentBuffer();
  ~DocumentBuffer() override;

  ByteBlock DocData;           // DocCapacity() bytes; data, then at least one 0 byte
  std::int32_t DocLength = 0;  // 0: nothing loaded
  std::string DocPath;         // where the overwrite-save writes (UTF-8)
  std::string DocFullPath;     // path of the last loaded file
  std::string DocName;         // file name with extension
  std::string DocExt;          // extension with its dot, empty when none
  std::string DocDisplayName;  // name in the title and the save-as dialog
  ByteBlock HighlightMarks;    // binary screen: DocLength + 1 mark bytes
  std::int32_t LastBuildWasText = 0;  // written by the ASCII text model, read by paste
  // A loaded file's final 0x00 is shown and printed as 0x1A; saving gives the file its own
  // byte back unless an edit in effect wrote that byte. -1 when there is none.
  std::int64_t ShownNulAt = -1;
  bool ShownNulWritten = false;  // follows the edits, their undo and redo

  // Writes the bytes as one undo step and emits Changed. Offsets outside the data and
  // values the byte already has are left out, except the final byte shown for a 0x00:
  // writing it decides what is saved. False (nothing emitted) when nothing was written.
  bool WriteBytes(std::span<const ByteWrite> writes);
  // Takes the last edit back, or does the last undone one again; emit Changed. False
  // when there is none.
  bool Undo();
  bool Redo();
  [[nodiscard]] bool CanUndo() const { return history_.CanUndo(); }
  [[nodiscard]] bool CanRedo() const { return history_.CanRedo(); }
  // The data differs from the file as loaded or last saved by the overwrite-save.
  [[nodiscard]] bool Modified() const { return history_.Modified(); }
  // The overwrite-save wrote the data to DocPath.
  void MarkSaved();

  [[nodiscard]] std::int64_t DocCapacity() const {
    return static_cast<std::int64_t>(DocData.size());
  }
  [[nodiscard]] std::span<std::uint8_t> Data() { return {DocData.data(), Bytes()}; }
  [[nodiscard]] std::span<const std::uint8_t> Data() const { return {DocData.data(), Bytes()}; }

  // Releases the block; DocLength is left to the caller.
  void ReleaseDocument();
  // A new zeroed block of DocCapacityFor(n) bytes in place of the old one; AllocateFailed
  // (the old block kept) when impossible.
  BufferError AllocateDocument(std::int64_t n);
  // Makes the block hold at least needed + 1 bytes, growing in 16384-byte steps and
  // zero-filling the new bytes; ReallocateFailed when impossible.
  BufferError GrowDocument(std::int64_t needed);
  // n + 1 zeroed mark bytes, replacing the old block.
  bool AllocateHighlightMarks(std::int64_t n);

  // Loads the file as bytes (a missing, unreadable, empty, non-regular or 2 GiB file gives
  // DocLength 0), names the document after the path, allocates the marks and emits
  // Loaded. The caller updates the title. With Read::FinalByte only the file's size and its
  // final byte are read; every other byte reads 0 until ReadPart brings it in, so a few
  // pages of a big file cost only their own bytes.
  enum class Read { Whole, FinalByte };
  LoadResult LoadDataFile(const std::string& path, Read read = Read::Whole);
  // Reads bytes [offset, offset + count) of the file loaded last into the block at their
  // offsets, cut to DocLength; a part the file no longer has stays 0. False when the file
  // cannot be read.
  bool ReadPart(std::int64_t offset, std::int64_t count);

  // Loads the file as LoadDataFile does, but a regular file of BackgroundFrom bytes or more
  // is read on a worker thread, ChunkBytes at a time, so the window answers meanwhile. The
  // old content goes at once (Loaded is emitted for the empty document); while Reading(),
  // the document holds nothing and no names, so nothing can be edited or saved, and
  // ReadProgress reports the bytes in. When the bytes are in, the document is named, marked
  // and emits Loaded on this object's thread, then ReadFinished. A file that gets shorter
  // while it is read gives the bytes it still had.
  LoadResult OpenDataFile(const std::string& path);
  [[nodiscard]] bool Reading() const { return job_ != nullptr; }
  // While Reading(): the file's size, the bytes in so far and the file's path (0, 0 and
  // empty otherwise). DocData[0, ReadDone()) holds bytes the worker no longer writes, so a
  // screen may show them before the read ends; the rest of the block is the worker's.
  [[nodiscard]] std::int64_t ReadTotal() const;
  [[nodiscard]] std::int64_t ReadDone() const;
  [[nodiscard]] std::string ReadPath() const;
  // Cancels the load under way, its read or, once the bytes are in, the row build that
  // holds them: the document holds nothing, as for an empty file, and emits Loaded, then
  // ReadFinished. False (nothing happens) when no load is under way or the data has edits.
  bool CancelReading();
  // A reader on another thread holds the bytes: edits, undo, redo and pastes are refused
  // meanwhile, and AboutToReplace comes before the block goes (a load, a clear).
  void Hold(bool on);
  [[nodiscard]] bool Busy() const { return Reading() || holds_ > 0; }
  std::int64_t BackgroundFrom = std::int64_t{8} << 20;
  std::int64_t ChunkBytes = std::int64_t{16} << 20;
  // Runs on the worker after each chunk with the bytes in so far (tests slow the read or
  // change the file here).
  std::function<void(std::int64_t)> AfterChunk;

  // Paste asks whether to append only when there is data the ASCII screen took as text.
  [[nodiscard]] bool PasteAsksToAppend() const { return DocLength != 0 && LastBuildWasText == 1; }
  // Puts clipboard bytes (cut at the first 0 byte) into the document: appended after
  // CR LF CR LF, or replacing it; either way followed by CR LF. Names it "ﾍﾟｰｽﾄﾃﾞｰﾀ" in
  // `workDir`, allocates the marks and emits Loaded. On an error nothing is emitted.
  BufferError Paste(std::string_view clipboard, bool append, std::string_view workDir);
  // Back to no data and no names, as at start-up.
  void Clear();

 signals:
  // New content: a load (also of an empty or missing file) or a paste.
  void Loaded();
  // Bytes of the data changed in place (an edit, undo or redo); the length did not.
  void Changed();
  // Modified() may have turned (after an edit, undo, redo, save, load or paste).
  void ModifiedChanged();
  // A read on the worker: bytes in so far of the file's size.
  void ReadProgress(qint64 done, qint64 total);
  // The read under way ended (done or cancelled); `error` is a BufferError, MarksFailed
  // when the marks could not be had (then no Loaded came before it).
  void ReadFinished(int error);
  // Busy() may have turned.
  void BusyChanged();
  // The block is about to be replaced or released; a holder lets go of it now.
  void AboutToReplace();

 private:
  [[nodiscard]] std::size_t Bytes() const {
    return DocLength > 0 ? static_cast<std::size_t>(DocLength) : 0;
  }
  void NameAfterPath(const std::string& path);
  // The bytes of `path` are in DocData[0, DocLength): a final 0x00 is shown as 0x1A, the
  // document is named after the path and has no history.
  void TakeLoadedFile(const std::string& path);
  // Writes one side of a step and tells the views.
  void Apply(const EditStep& step, bool undo);
  // New content: no edits to undo, modified only when `modified`.
  void ResetHistory(bool modified);

  // Joins a read under way and forgets it; the block then holds what it read.
  void StopReading();
  void PollReading();
  void EndReading(bool cancelled);

  EditHistory history_;
  std::unique_ptr<ReadJob> job_;
  QTimer* readTimer_ = nullptr;
  int holds_ = 0;
};

// The name footers and the title give the document: the print name of the start-up for the
// file given at start-up, the document's own name for any file opened later.
[[nodiscard]] std::string PrintedName(const StartupState& start, const DocumentBuffer& doc);
// The same for a file at `fullPath` named `name` (a file still being read has no names yet).
[[nodiscard]] std::string PrintedName(const StartupState& start, std::string_view fullPath, std::string_view name);

}  // namespace tyld::document
