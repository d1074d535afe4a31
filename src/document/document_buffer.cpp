#include "document/document_buffer.h"

#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>

#include "document/command_line.h"

namespace tyld::document {
namespace {

// Data of up to 2^31 - 1 bytes (DocLength is an int32) plus the 0 byte after it.
constexpr std::int64_t kMaxCapacity = std::int64_t{1} << 31;

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A fresh block of `size` bytes, zero from the allocator; false when it cannot be had.
bool FreshBlock(ByteBlock& block, std::int64_t size) {
  ByteBlock fresh;
  try {
    fresh.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  block.swap(fresh);
  return true;
}

std::string PastePath(std::string_view workDir) {
  std::string path(workDir);
  if (path.empty() || (path.back() != '/' && path.back() != '\\')) path += '/';
  return path + kPasteName;
}

}  // namespace

// A read on the worker thread. The worker writes only the block's bytes below `total` and
// the atomics; the UI thread leaves the block alone until it has joined the worker.
struct ReadJob {
  std::ifstream in;
  std::string path;
  std::int64_t total = 0;
  std::atomic<std::int64_t> done{0};
  std::atomic<bool> finished{false};
  std::atomic<bool> cancel{false};
  std::thread worker;
};

namespace {

void ReadChunks(ReadJob& job, std::uint8_t* block, std::int64_t chunk,
                const std::function<void(std::int64_t)>& afterChunk) {
  std::int64_t done = 0;
  while (done < job.total && !job.cancel.load(std::memory_order_relaxed)) {
    const std::int64_t want = std::min(chunk, job.total - done);
    job.in.read(reinterpret_cast<char*>(block + done), static_cast<std::streamsize>(want));
    const std::int64_t got = job.in.gcount();
    done += got;
    job.done.store(done, std::memory_order_release);
    // Fewer bytes than asked for: the file got shorter, its data ends here.
    if (got < want) break;
    if (afterChunk) afterChunk(done);
  }
  job.finished.store(true, std::memory_order_release);
}

}  // namespace

DocumentBuffer::DocumentBuffer() = default;

DocumentBuffer::~DocumentBuffer() { StopReading(); }

std::int64_t DocCapacityFor(std::int64_t n) {
  if (n < 0) return -1;
  if (n >= kMaxCapacity) return -1;
  // The last step is cut short so that every length an int32 holds still gets a block.
  return std::min((n / kDocBlockStep + 1) * kDocBlockStep, kMaxCapacity);
}

BufferMessage MessageFor(BufferError e) {
  switch (e) {
    case BufferError::None: return {};
    case BufferError::AllocateFailed: return {"メモリの割り当てに失敗しました。", "確認要求"};
    case BufferError::ReallocateFailed: return {"メモリの再割り当てに失敗しました。", "確認要求"};
    case BufferError::MarksFailed:
      return {"バイナリ用 Atr バッファの確保に失敗しました", "正常に処理できません"};
    case BufferError::FileTooLarge:
      return {"ファイルが大きすぎます（2GB以上）。読み込めません。", "確認要求"};
  }
  return {};
}

std::string PrintedName(const StartupState& start, const DocumentBuffer& doc) {
  return PrintedName(start, doc.DocFullPath, doc.DocName);
}

std::string PrintedName(const StartupState& start, std::string_view fullPath, std::string_view name) {
  return std::string(start.StartMode != 0 && fullPath == start.DfPath ? std::string_view(start.PrintName) : name);
}

void DocumentBuffer::ReleaseDocument() { ByteBlock().swap(DocData); }

void DocumentBuffer::Clear() {
  if (holds_ > 0) emit AboutToReplace();
  StopReading();
  ByteBlock().swap(DocData);
  ByteBlock().swap(HighlightMarks);
  DocLength = 0;
  DocPath.clear();
  DocFullPath.clear();
  DocName.clear();
  DocExt.clear();
  DocDisplayName.clear();
  LastBuildWasText = 0;
  ShownNulAt = -1;
  ShownNulWritten = false;
  ResetHistory(false);
}

bool DocumentBuffer::WriteBytes(std::span<const ByteWrite> writes) {
  if (Busy()) return false;
  EditStep step;
  bool nulWritten = ShownNulWritten;
  for (const ByteWrite& w : writes) {
    if (w.offset < 0 || w.offset >= DocLength) continue;
    const std::uint8_t before = DocData[static_cast<std::size_t>(w.offset)];
    const bool decidesNul = w.offset == ShownNulAt && !nulWritten;
    if (before == w.value && !decidesNul) continue;
    nulWritten = nulWritten || decidesNul;
    step.push_back({w.offset, before, w.value});
    DocData[static_cast<std::size_t>(w.offset)] = w.value;  // a later write of the same byte sees this one
  }
  if (step.empty()) return false;
  history_.Record(std::move(step));
  ShownNulWritten = history_.Wrote(ShownNulAt);
  emit Changed();
  emit ModifiedChanged();
  return true;
}

bool DocumentBuffer::Undo() {
  if (Busy()) return false;
  const EditStep* step = history_.Undo();
  if (step == nullptr) return false;
  Apply(*step, true);
  return true;
}

bool DocumentBuffer::Redo() {
  if (Busy()) return false;
  const EditStep* step = history_.Redo();
  if (step == nullptr) return false;
  Apply(*step, false);
  return true;
}

void DocumentBuffer::Apply(const EditStep& step, bool undo) {
  // Every content change resets the history, so the offsets lie inside the data; checked
  // all the same, as a stale step must never write outside it.
  auto put = [this](std::int64_t offset, std::uint8_t value) {
    if (offset >= 0 && offset < DocLength) DocData[static_cast<std::size_t>(offset)] = value;
  };
  if (undo) {
    for (auto e = step.rbegin(); e != step.rend(); ++e) put(e->offset, e->before);
  } else {
    for (const ByteEdit& e : step) put(e.offset, e.after);
  }
  ShownNulWritten = history_.Wrote(ShownNulAt);
  emit Changed();
  emit ModifiedChanged();
}

void DocumentBuffer::MarkSaved() {
  history_.MarkSaved();
  emit ModifiedChanged();
}

void DocumentBuffer::ResetHistory(bool modified) {
  const bool was = history_.Modified();
  history_.Reset(modified);
  if (was != history_.Modified()) emit ModifiedChanged();
}

BufferError DocumentBuffer::AllocateDocument(std::int64_t n) {
  const std::int64_t capacity = DocCapacityFor(n);
  if (capacity < 0 || !FreshBlock(DocData, capacity)) return BufferError::AllocateFailed;
  return BufferError::None;
}

BufferError DocumentBuffer::GrowDocument(std::int64_t needed) {
  if (needed < static_cast<std::int64_t>(DocCapacity()) - 1) return BufferError::None;
  const std::int64_t capacity = DocCapacityFor(needed);
  if (capacity < 0) return BufferError::ReallocateFailed;
  try {
    // An explicit 0: a reused allocation is not zero beyond the old size.
    DocData.resize(static_cast<std::size_t>(capacity), 0);
  } catch (const std::bad_alloc&) {
    return BufferError::ReallocateFailed;
  }
  return BufferError::None;
}

bool DocumentBuffer::AllocateHighlightMarks(std::int64_t n) {
  ByteBlock().swap(HighlightMarks);
  return n >= 0 && FreshBlock(HighlightMarks, n + 1);
}

void DocumentBuffer::NameAfterPath(const std::string& path) {
  DocName = FinalComponent(path);
  const std::size_t dot = DocName.rfind('.');
  DocExt = dot == std::string::npos ? std::string() : DocName.substr(dot);
  DocDisplayName = DocName;
}

LoadResult DocumentBuffer::LoadDataFile(const std::string& path, Read read) {
  LoadResult result;
  if (holds_ > 0) emit AboutToReplace();
  StopReading();
  ReleaseDocument();
  DocLength = 0;

  const std::filesystem::path fsPath = FsPath(path);
  std::error_code ec;
  // Directories, devices and pipes are not data files; a pipe would block the read.
  if (std::filesystem::is_regular_file(fsPath, ec)) {
    const std::uintmax_t size = std::filesystem::file_size(fsPath, ec);
    const std::int64_t capacity =
        ec || size >= static_cast<std::uintmax_t>(kMaxCapacity) ? -1
                                                                : DocCapacityFor(static_cast<std::int64_t>(size));
    if (!ec && capacity < 0) {
      result.error = BufferError::FileTooLarge;
    } else if (!ec) {
      std::ifstream in(fsPath, std::ios::binary);
      if (in && FreshBlock(DocData, capacity)) {
        if (read == Read::Whole) {
          // One read straight into the block; its tail is already zero.
          in.read(reinterpret_cast<char*>(DocData.data()), static_cast<std::streamsize>(size));
          DocLength = static_cast<std::int32_t>(in.gcount());
        } else if (size > 0 && in.seekg(static_cast<std::streamoff>(size - 1)) &&
                   in.read(reinterpret_cast<char*>(DocData.data() + size - 1), 1)) {
          DocLength = static_cast<std::int32_t>(size);
        }
      }
    }
  }
  TakeLoadedFile(path);

  if (!AllocateHighlightMarks(DocLength)) return {false, BufferError::MarksFailed};
  emit Loaded();
  return result;
}

LoadResult DocumentBuffer::OpenDataFile(const std::string& path) {
  StopReading();
  const std::filesystem::path fsPath = FsPath(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fsPath, ec)) return LoadDataFile(path);
  const std::uintmax_t size = std::filesystem::file_size(fsPath, ec);
  if (ec || size < static_cast<std::uintmax_t>(std::max<std::int64_t>(BackgroundFrom, 1)) ||
      size >= static_cast<std::uintmax_t>(kMaxCapacity))
    return LoadDataFile(path);
  auto job = std::make_unique<ReadJob>();
  // Unbuffered: each chunk is one read of the file into the block, with no copy and no
  // read-ahead past what the file has when the chunk is read.
  job->in.rdbuf()->pubsetbuf(nullptr, 0);
  job->in.open(fsPath, std::ios::binary);
  if (!job->in) return LoadDataFile(path);

  // The old content goes now: the screens show nothing while the new bytes come in.
  Clear();
  if (!AllocateHighlightMarks(0)) return {false, BufferError::MarksFailed};
  emit Loaded();
  if (!FreshBlock(DocData, DocCapacityFor(static_cast<std::int64_t>(size))))
    return {true, BufferError::AllocateFailed};
  job->path = path;
  job->total = static_cast<std::int64_t>(size);
  ReadJob& j = *job;
  job_ = std::move(job);
  std::uint8_t* block = DocData.data();
  j.worker = std::thread(ReadChunks, std::ref(j), block, std::max<std::int64_t>(ChunkBytes, 1), AfterChunk);
  if (readTimer_ == nullptr) {
    readTimer_ = new QTimer(this);
    readTimer_->setInterval(50);
    connect(readTimer_, &QTimer::timeout, this, &DocumentBuffer::PollReading);
  }
  readTimer_->start();
  emit ReadProgress(0, j.total);
  return {};
}

std::int64_t DocumentBuffer::ReadTotal() const { return Reading() ? job_->total : 0; }

std::int64_t DocumentBuffer::ReadDone() const {
  return Reading() ? job_->done.load(std::memory_order_acquire) : 0;
}

std::string DocumentBuffer::ReadPath() const { return Reading() ? job_->path : std::string(); }

void DocumentBuffer::Hold(bool on) {
  const int before = holds_;
  holds_ = std::max(0, holds_ + (on ? 1 : -1));
  // Busy turns when the first holder comes or the last one goes, unless a read runs.
  if (!Reading() && (before == 0) != (holds_ == 0)) emit BusyChanged();
}

bool DocumentBuffer::CancelReading() {
  if (Reading()) {
    job_->cancel.store(true, std::memory_order_relaxed);
    EndReading(true);
    return true;
  }
  // A holder builds from the bytes just loaded: that load is given up all the same, but
  // never data with edits.
  if (holds_ == 0 || Modified()) return false;
  Clear();  // the holder lets go first
  if (!AllocateHighlightMarks(0)) {
    emit ReadFinished(static_cast<int>(BufferError::MarksFailed));
    return true;
  }
  emit Loaded();
  emit ReadFinished(static_cast<int>(BufferError::None));
  return true;
}

void DocumentBuffer::StopReading() {
  if (!Reading()) return;
  job_->cancel.store(true, std::memory_order_relaxed);
  job_->worker.join();
  job_.reset();
  if (readTimer_ != nullptr) readTimer_->stop();
}

void DocumentBuffer::PollReading() {
  if (!Reading()) return;
  emit ReadProgress(job_->done.load(std::memory_order_acquire), job_->total);
  if (job_->finished.load(std::memory_order_acquire)) EndReading(false);
}

void DocumentBuffer::TakeLoadedFile(const std::string& path) {
  ShownNulAt = -1;
  ShownNulWritten = false;
  if (DocLength > 0 && DocData[static_cast<std::size_t>(DocLength) - 1] == 0x00) {
    DocData[static_cast<std::size_t>(DocLength) - 1] = 0x1A;
    ShownNulAt = DocLength - 1;
  }
  DocPath = path;
  DocFullPath = path;
  NameAfterPath(path);
  ResetHistory(false);
}

void DocumentBuffer::EndReading(bool cancelled) {
  job_->worker.join();
  const std::int64_t got = job_->done.load(std::memory_order_acquire);
  const std::string path = job_->path;
  job_.reset();
  readTimer_->stop();

  if (cancelled) {
    Clear();  // nothing loaded, no names: as at start-up
  } else {
    DocLength = static_cast<std::int32_t>(got);
    TakeLoadedFile(path);
  }
  if (!AllocateHighlightMarks(DocLength)) {
    emit ReadFinished(static_cast<int>(BufferError::MarksFailed));
    return;
  }
  emit Loaded();
  emit ReadFinished(static_cast<int>(BufferError::None));
}

BufferError DocumentBuffer::Paste(std::string_view clipboard, bool append, std::string_view workDir) {
  const std::string_view text = clipboard.substr(0, clipboard.find('\0'));
  const auto n = static_cast<std::int64_t>(text.size());
  static constexpr char kCrLf[] = "\r\n";

  // The block is the reader's until it is done.
  if (Busy()) return BufferError::ReallocateFailed;
  // Appended data keeps any edit not yet saved; replaced data is new content.
  const bool keepsEdits = append && Modified();
  if (append) {
    const std::int64_t length = DocLength + n + 6;
    if (length > kMaxCapacity) return BufferError::ReallocateFailed;
    if (const BufferError e = GrowDocument(DocLength + n + 7); e != BufferError::None) return e;
    std::uint8_t* out = DocData.data() + DocLength;
    std::memcpy(out, "\r\n\r\n", 4);
    std::memcpy(out + 4, text.data(), text.size());
    std::memcpy(out + 4 + n, kCrLf, 2);
    out[6 + n] = 0;
    DocLength = static_cast<std::int32_t>(length);
  } else {
    // The new block replaces the old one only once it is had: a failure keeps the data.
    if (const BufferError e = AllocateDocument(n + 3); e != BufferError::None) return e;
    std::memcpy(DocData.data(), text.data(), text.size());
    std::memcpy(DocData.data() + n, kCrLf, 2);
    DocData[static_cast<std::size_t>(n) + 2] = 0;
    DocLength = static_cast<std::int32_t>(n + 2);
  }

  // The edits recorded belong to the old bytes, even when the marks fail below.
  ResetHistory(keepsEdits);
  if (!AllocateHighlightMarks(DocLength)) return BufferError::MarksFailed;
  ShownNulAt = -1;  // pasted data is new content
  ShownNulWritten = false;
  DocName = kPasteName;
  DocDisplayName = kPasteName;
  DocExt.clear();
  DocPath = PastePath(workDir);
  emit Loaded();
  return BufferError::None;
}

}  // namespace tyld::document
