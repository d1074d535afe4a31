#include "document/document_buffer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>
#include <vector>


namespace tyld::document {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class DocumentBufferTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "tyld-doc-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const Bytes& bytes) const {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  static Bytes Contents(const DocumentBuffer& doc) { return Bytes(doc.Data().begin(), doc.Data().end()); }
  static bool ZeroFrom(const ByteBlock& block, std::size_t from) {
    for (std::size_t i = from; i < block.size(); ++i)
      if (block[i] != 0) return false;
    return true;
  }

  fs::path dir_;
  DocumentBuffer doc_;
};

// A load of the final byte alone sizes and names the document like a whole load; parts
// read later land at their offsets, and the final NUL stays shown as 0x1A.
TEST_F(DocumentBufferTest, PartsOfAFileComeInWhereTheyBelong) {
  Bytes file(40000);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i % 251 + 1);
  file.back() = 0x00;
  const std::string path = Write("p.bin", file);
  QSignalSpy loaded(&doc_, &DocumentBuffer::Loaded);
  ASSERT_TRUE(doc_.LoadDataFile(path, DocumentBuffer::Read::FinalByte).ok);
  EXPECT_EQ(loaded.count(), 1);
  ASSERT_EQ(doc_.DocLength, 40000);
  EXPECT_EQ(doc_.DocName, "p.bin");
  EXPECT_EQ(doc_.HighlightMarks.size(), 40001u);
  Bytes shown = file;
  shown.back() = 0x1A;
  Bytes expected(file.size(), 0);
  expected.back() = 0x1A;
  EXPECT_EQ(Contents(doc_), expected);

  ASSERT_TRUE(doc_.ReadPart(100, 50));
  ASSERT_TRUE(doc_.ReadPart(39990, 100));  // cut to the document; the NUL stays 0x1A
  std::copy(shown.begin() + 100, shown.begin() + 150, expected.begin() + 100);
  std::copy(shown.begin() + 39990, shown.end(), expected.begin() + 39990);
  EXPECT_EQ(Contents(doc_), expected);

  fs::resize_file(path, 20000);  // what the file no longer has stays 0
  ASSERT_TRUE(doc_.ReadPart(19990, 20));
  std::copy(shown.begin() + 19990, shown.begin() + 20000, expected.begin() + 19990);
  EXPECT_EQ(Contents(doc_), expected);
  ASSERT_TRUE(doc_.ReadPart(0, 40000));
  std::copy(shown.begin(), shown.begin() + 20000, expected.begin());
  EXPECT_EQ(Contents(doc_), expected);

  fs::remove(path);
  EXPECT_FALSE(doc_.ReadPart(0, 10));
  EXPECT_EQ(doc_.LoadDataFile(path, DocumentBuffer::Read::FinalByte).error, BufferError::None);
  EXPECT_EQ(doc_.DocLength, 0);
}

TEST_F(DocumentBufferTest, LoadSizesTheBlockAndKeepsTheBytes) {
  struct Case {
    std::size_t size;
    std::uint8_t last;
    std::int32_t capacity;
    std::uint8_t shownLast;
  } cases[] = {
      {1, 'x', 16384, 'x'},
      {16383, 'x', 16384, 'x'},
      {16384, 'x', 32768, 'x'},
      {3, 0x00, 16384, 0x1A},  // a trailing 0 byte is shown as 0x1A
      {0, 0, 16384, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    Bytes file(c.size);
    for (std::size_t i = 0; i < c.size; ++i) file[i] = static_cast<std::uint8_t>(i * 7 + 1);
    if (c.size > 0) file.back() = c.last;
    doc_.HighlightMarks.assign(5, 0xFF);
    const LoadResult r = doc_.LoadDataFile(Write("f.bin", file));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.error, BufferError::None);
    ASSERT_EQ(doc_.DocLength, static_cast<std::int32_t>(c.size));
    EXPECT_EQ(doc_.DocCapacity(), c.capacity);
    if (c.size > 0) file.back() = c.shownLast;
    EXPECT_EQ(Contents(doc_), file);
    EXPECT_TRUE(ZeroFrom(doc_.DocData, c.size));
    ASSERT_EQ(doc_.HighlightMarks.size(), c.size + 1);
    EXPECT_TRUE(ZeroFrom(doc_.HighlightMarks, 0));
  }
}

// Whatever cannot be read loads as empty data under the path's names; the load goes on.
TEST_F(DocumentBufferTest, UnreadablePathsLoadAsEmptyData) {
  fs::create_directory(dir_ / "sub.d");
  const std::string big = (dir_ / "big.bin").string();
  std::ofstream(big, std::ios::binary).put('x');
  fs::resize_file(big, std::uint64_t{1} << 31);  // sparse: 2 GiB
  struct Case {
    std::string path, name, ext;
    BufferError error;
  } cases[] = {
      {(dir_ / "missing.txt").string(), "missing.txt", ".txt", BufferError::None},
      {(dir_ / "sub.d").string(), "sub.d", ".d", BufferError::None},
      {"/dev/null", "null", "", BufferError::None},
      {big, "big.bin", ".bin", BufferError::FileTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_TRUE(doc_.LoadDataFile(Write("prev.txt", Bytes{'a', 'b'})).ok);
    const LoadResult r = doc_.LoadDataFile(c.path);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(doc_.DocLength, 0);
    EXPECT_EQ(doc_.DocName, c.name);
    EXPECT_EQ(doc_.DocExt, c.ext);
    EXPECT_EQ(doc_.DocDisplayName, c.name);
    EXPECT_EQ(doc_.DocPath, c.path);
    EXPECT_EQ(doc_.DocFullPath, c.path);
    EXPECT_EQ(doc_.HighlightMarks.size(), 1u);
  }
  EXPECT_FALSE(MessageFor(BufferError::FileTooLarge).text.empty());
}

// Every length under 2 GiB gets a block with room for its 0 byte; only 2 GiB and more is
// refused, as the "2GB以上" message says.
TEST(DocCapacity, EveryLengthUnderTwoGiBFits) {
  const struct {
    std::int64_t n, capacity;
  } cases[] = {
      {0, 16384},
      {16384, 32768},
      {2147467263, 2147467264},
      {2147467264, 2147483648},  // refused before: its step went past int32
      {2147483647, 2147483648},
      {2147483648, -1},
      {-1, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(DocCapacityFor(c.n), c.capacity) << c.n;
}

// The start-up print name belongs to the start-up file; any other file prints its own name.
TEST_F(DocumentBufferTest, PrintedNameFollowsTheLoadedFile) {
  const std::string first = Write("first.txt", Bytes{'a'});
  const std::string second = Write("second.txt", Bytes{'b'});
  const struct {
    int startMode;
    std::string loaded, printed;
  } cases[] = {
      {1, first, "PF name"},
      {2, first, "PF name"},
      {1, second, "second.txt"},
      {0, first, "first.txt"},
  };
  for (const auto& c : cases) {
    StartupState start;
    start.StartMode = c.startMode;
    start.DfPath = first;
    start.PrintName = "PF name";
    ASSERT_TRUE(doc_.LoadDataFile(c.loaded).ok);
    EXPECT_EQ(PrintedName(start, doc_), c.printed) << c.loaded;
  }
}

TEST_F(DocumentBufferTest, NamesComeFromTheLastComponent) {
  struct Case {
    std::string path, name, ext;
  } cases[] = {
      {"C:\\d\\archive.tar.gz", "archive.tar.gz", ".gz"},
      {"/tmp/x.y/README", "README", ""},
      {"/tmp/mixed\\dir/データ.eml", "データ.eml", ".eml"},
      {"name.", "name.", "."},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    doc_.LoadDataFile(c.path);
    EXPECT_EQ(doc_.DocName, c.name) << c.path;
    EXPECT_EQ(doc_.DocExt, c.ext) << c.path;
  }
}

TEST_F(DocumentBufferTest, GrowthInBlockSteps) {
  ASSERT_EQ(doc_.AllocateDocument(0), BufferError::None);
  ASSERT_EQ(doc_.DocCapacity(), 16384);
  doc_.DocData[100] = 0x42;
  struct Step {
    std::int64_t needed;
    std::int32_t capacity;
  } steps[] = {{16382, 16384}, {16383, 16384}, {16384, 32768}, {40000, 49152}};
  for (const Step& s : steps) {
    ASSERT_EQ(doc_.GrowDocument(s.needed), BufferError::None);
    EXPECT_EQ(doc_.DocCapacity(), s.capacity) << s.needed;
    EXPECT_EQ(doc_.DocData[100], 0x42);
    EXPECT_TRUE(ZeroFrom(doc_.DocData, 101));
  }
  // Sizes of 2 GiB and more are refused, the block kept.
  const std::int64_t twoGiB = std::int64_t{1} << 31;
  EXPECT_EQ(doc_.GrowDocument(twoGiB), BufferError::ReallocateFailed);
  EXPECT_EQ(doc_.DocCapacity(), 49152);
  EXPECT_EQ(doc_.AllocateDocument(twoGiB), BufferError::AllocateFailed);
  EXPECT_EQ(doc_.AllocateDocument(-1), BufferError::AllocateFailed);
}

TEST_F(DocumentBufferTest, PasteReplacesThenAppends) {
  const std::string loaded = Write("a.txt", Bytes{'z'});
  doc_.LoadDataFile(loaded);
  ASSERT_EQ(doc_.Paste("abc", false, "/work"), BufferError::None);
  EXPECT_EQ(Contents(doc_), (Bytes{'a', 'b', 'c', '\r', '\n'}));
  EXPECT_EQ(doc_.DocCapacity(), 16384);
  ASSERT_EQ(doc_.Paste(std::string_view("abc\0junk", 8), true, "/work"), BufferError::None);
  EXPECT_EQ(Contents(doc_), (Bytes{'a', 'b', 'c', '\r', '\n', '\r', '\n', '\r', '\n', 'a', 'b', 'c', '\r', '\n'}));
  EXPECT_EQ(doc_.DocData[14], 0);
  EXPECT_EQ(doc_.HighlightMarks.size(), 15u);
  EXPECT_EQ(doc_.DocName, "ﾍﾟｰｽﾄﾃﾞｰﾀ");
  EXPECT_EQ(doc_.DocDisplayName, "ﾍﾟｰｽﾄﾃﾞｰﾀ");
  EXPECT_EQ(doc_.DocExt, "");
  EXPECT_EQ(doc_.DocPath, "/work/ﾍﾟｰｽﾄﾃﾞｰﾀ");
  EXPECT_EQ(doc_.DocFullPath, loaded);
}

TEST_F(DocumentBufferTest, AppendGrowsWhenTheBlockIsFull) {
  doc_.LoadDataFile(Write("a.txt", Bytes(16380, 'q')));
  ASSERT_EQ(doc_.Paste("xyz", true, "/w/"), BufferError::None);
  ASSERT_EQ(doc_.DocLength, 16380 + 9);
  EXPECT_EQ(doc_.DocCapacity(), 32768);
  Bytes expected(16380, 'q');
  for (char ch : std::string("\r\n\r\nxyz\r\n")) expected.push_back(static_cast<std::uint8_t>(ch));
  EXPECT_EQ(Contents(doc_), expected);
  EXPECT_TRUE(ZeroFrom(doc_.DocData, expected.size()));
  EXPECT_EQ(doc_.DocPath, "/w/ﾍﾟｰｽﾄﾃﾞｰﾀ");
}

TEST_F(DocumentBufferTest, PasteAsksOnlyOverTextData) {
  struct Case {
    std::int32_t length, wasText;
    bool asks;
  } cases[] = {{0, 1, false}, {5, 0, false}, {5, 1, true}};
  for (const Case& c : cases) {
    doc_.DocLength = c.length;
    doc_.LastBuildWasText = c.wasText;
    EXPECT_EQ(doc_.PasteAsksToAppend(), c.asks) << c.length << " " << c.wasText;
  }
}

TEST_F(DocumentBufferTest, LoadAndPasteEmitLoadedOnce) {
  QSignalSpy loaded(&doc_, &DocumentBuffer::Loaded);
  doc_.LoadDataFile("/nonexistent");  // empty data is new content too
  EXPECT_EQ(loaded.count(), 1);
  doc_.LoadDataFile(Write("a.txt", Bytes{'a'}));
  EXPECT_EQ(loaded.count(), 2);
  doc_.Paste("x", false, "/w");
  EXPECT_EQ(loaded.count(), 3);
}

TEST_F(DocumentBufferTest, ClearForgetsDataAndNames) {
  doc_.LoadDataFile(Write("a.txt", Bytes{'a', 0}));
  doc_.LastBuildWasText = 1;
  doc_.Clear();
  EXPECT_EQ(doc_.DocLength, 0);
  EXPECT_EQ(doc_.DocCapacity(), 0);
  EXPECT_TRUE(doc_.DocName.empty());
  EXPECT_TRUE(doc_.DocFullPath.empty());
  EXPECT_EQ(doc_.ShownNulAt, -1);
  EXPECT_FALSE(doc_.PasteAsksToAppend());
}

// Reads on the worker, made slow and small by the test seams so that the UI thread sees
// the read under way.
class BackgroundReadTest : public DocumentBufferTest {
 protected:
  void SetUp() override {
    DocumentBufferTest::SetUp();
    doc_.BackgroundFrom = 1;
    doc_.ChunkBytes = 4096;
  }
  // Turns the event loop until the read is over; false when it does not end in time.
  bool WaitForRead() {
    QElapsedTimer t;
    t.start();
    while (doc_.Reading() && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !doc_.Reading();
  }
  static Bytes Pattern(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7 % 253 + 1);
    return b;
  }
};

TEST_F(BackgroundReadTest, BytesComeInWholeAndTheDocumentIsNamedOnlyAtTheEnd) {
  Bytes file = Pattern(100000);
  file.back() = 0x00;  // the final-byte rule holds as for a load on the spot
  const std::string path = Write("big.bin", file);
  doc_.AfterChunk = [](std::int64_t) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
  QSignalSpy loaded(&doc_, &DocumentBuffer::Loaded);
  QSignalSpy progress(&doc_, &DocumentBuffer::ReadProgress);
  QSignalSpy finished(&doc_, &DocumentBuffer::ReadFinished);

  ASSERT_TRUE(doc_.OpenDataFile(path).ok);
  ASSERT_TRUE(doc_.Reading());
  EXPECT_EQ(loaded.count(), 1);  // the old content went: the screens show nothing meanwhile
  EXPECT_EQ(doc_.DocLength, 0);
  EXPECT_TRUE(doc_.DocPath.empty());  // nothing to overwrite-save while reading
  EXPECT_FALSE(doc_.WriteBytes(std::vector<ByteWrite>{{0, 1}}));

  ASSERT_TRUE(WaitForRead());
  EXPECT_EQ(loaded.count(), 2);
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(finished[0][0].toInt(), static_cast<int>(BufferError::None));
  EXPECT_GE(progress.count(), 1);
  Bytes shown = file;
  shown.back() = 0x1A;
  EXPECT_EQ(Contents(doc_), shown);
  EXPECT_EQ(doc_.ShownNulAt, 99999);
  EXPECT_EQ(doc_.DocName, "big.bin");
  EXPECT_EQ(doc_.DocPath, path);
  EXPECT_EQ(doc_.HighlightMarks.size(), 100001u);
  EXPECT_TRUE(ZeroFrom(doc_.DocData, file.size()));
}

TEST_F(BackgroundReadTest, AFileCutShortWhileReadGivesTheBytesItStillHad) {
  const Bytes file = Pattern(50000);
  const std::string path = Write("cut.bin", file);
  doc_.AfterChunk = [path](std::int64_t done) {
    if (done == 8192) fs::resize_file(path, 10000);
  };
  ASSERT_TRUE(doc_.OpenDataFile(path).ok);
  ASSERT_TRUE(WaitForRead());
  EXPECT_EQ(Contents(doc_), Bytes(file.begin(), file.begin() + 10000));
  EXPECT_TRUE(ZeroFrom(doc_.DocData, 10000));

  // Removed under the reader: what was opened is still read, and nothing breaks.
  const std::string gone = Write("gone.bin", file);
  doc_.AfterChunk = [gone](std::int64_t done) {
    if (done == 4096) fs::remove(gone);
  };
  ASSERT_TRUE(doc_.OpenDataFile(gone).ok);
  ASSERT_TRUE(WaitForRead());
  EXPECT_EQ(Contents(doc_), file);
}

TEST_F(BackgroundReadTest, CancelLeavesNothingLoadedAndANewLoadStopsTheOldRead) {
  const Bytes file = Pattern(200000);
  const std::string path = Write("slow.bin", file);
  doc_.AfterChunk = [](std::int64_t) { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
  QSignalSpy loaded(&doc_, &DocumentBuffer::Loaded);
  QSignalSpy finished(&doc_, &DocumentBuffer::ReadFinished);
  ASSERT_TRUE(doc_.OpenDataFile(path).ok);
  doc_.CancelReading();
  EXPECT_FALSE(doc_.Reading());
  EXPECT_EQ(doc_.DocLength, 0);
  EXPECT_TRUE(doc_.DocName.empty());
  EXPECT_TRUE(doc_.DocPath.empty());
  EXPECT_EQ(loaded.count(), 2);
  EXPECT_EQ(finished.count(), 1);

  // A load on the spot while a read is under way replaces it: its bytes, nothing late.
  ASSERT_TRUE(doc_.OpenDataFile(path).ok);
  const std::string small = Write("small.bin", {'a', 'b'});
  doc_.BackgroundFrom = 1 << 20;
  ASSERT_TRUE(doc_.OpenDataFile(small).ok);
  EXPECT_FALSE(doc_.Reading());
  QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  EXPECT_EQ(Contents(doc_), (Bytes{'a', 'b'}));
  EXPECT_EQ(doc_.DocName, "small.bin");
}

// Held by a row build after the bytes are in, the load is still cancelled; data with edits
// never is.
TEST_F(BackgroundReadTest, CancelWhileHeldDropsTheLoadButNeverEdits) {
  const std::string path = Write("held.bin", Pattern(5000));
  EXPECT_FALSE(doc_.CancelReading());  // nothing under way
  for (const bool edited : {false, true}) {
    SCOPED_TRACE(edited ? "edited" : "as loaded");
    ASSERT_TRUE(doc_.LoadDataFile(path).ok);
    if (edited) {
      ASSERT_TRUE(doc_.WriteBytes(std::vector<ByteWrite>{{0, 0x55}}));
    }
    doc_.Hold(true);
    QSignalSpy replace(&doc_, &DocumentBuffer::AboutToReplace);
    QSignalSpy loaded(&doc_, &DocumentBuffer::Loaded);
    QSignalSpy finished(&doc_, &DocumentBuffer::ReadFinished);
    EXPECT_EQ(doc_.CancelReading(), !edited);
    EXPECT_EQ(doc_.DocLength, edited ? 5000 : 0);
    EXPECT_EQ(doc_.DocName.empty(), !edited);
    EXPECT_EQ(replace.count(), edited ? 0 : 1);
    EXPECT_EQ(loaded.count(), edited ? 0 : 1);
    EXPECT_EQ(finished.count(), edited ? 0 : 1);
    doc_.Hold(false);
  }
}

}  // namespace
}  // namespace tyld::document
