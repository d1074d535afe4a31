// Undo, redo and the unsaved-changes flag of the document: what the data, the flag and
// the two commands are after every step of a user's session.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document_buffer.h"

namespace tyld::document {
namespace {

// Puts `bytes` in the document as a load does (no file needed), history and flag reset.
void Fill(DocumentBuffer& doc, const std::string& bytes) {
  ASSERT_EQ(doc.Paste(bytes, false, "/tmp"), BufferError::None);  // the data, then CR LF
  doc.DocLength = static_cast<std::int32_t>(bytes.size());
}

std::string Text(const DocumentBuffer& doc) {
  return {reinterpret_cast<const char*>(doc.Data().data()), doc.Data().size()};
}

bool Write(DocumentBuffer& doc, std::vector<ByteWrite> writes) { return doc.WriteBytes(writes); }

TEST(EditHistory, UndoRedoSaveAndTheChangedFlag) {
  enum class Op { Edit, Undo, Redo, Save };
  struct Step {
    Op op;
    std::vector<ByteWrite> writes;  // Edit only
    const char* data;               // after the step
    bool modified, canUndo, canRedo;
  };
  const Step steps[] = {
      {Op::Edit, {{0, 'X'}}, "Xbcd", true, true, false},
      {Op::Edit, {{1, 'Y'}, {2, 'Z'}}, "XYZd", true, true, false},  // one write, one step
      {Op::Undo, {}, "Xbcd", true, true, true},
      {Op::Redo, {}, "XYZd", true, true, false},
      {Op::Save, {}, "XYZd", false, true, false},
      {Op::Undo, {}, "Xbcd", true, true, true},   // past the save: changed again
      {Op::Redo, {}, "XYZd", false, true, false},  // back at the saved bytes
      {Op::Undo, {}, "Xbcd", true, true, true},
      {Op::Edit, {{3, 'W'}}, "XbcW", true, true, false},  // a new edit drops the redo
      {Op::Redo, {}, "XbcW", true, true, false},
      {Op::Undo, {}, "Xbcd", true, true, true},   // the saved bytes are out of reach now
      {Op::Undo, {}, "abcd", true, false, true},  // as loaded, but the file holds XYZd
      {Op::Undo, {}, "abcd", true, false, true},
  };
  DocumentBuffer doc;
  Fill(doc, "abcd");
  EXPECT_FALSE(doc.Modified());
  EXPECT_FALSE(doc.CanUndo());
  for (std::size_t k = 0; k < std::size(steps); ++k) {
    const Step& s = steps[k];
    SCOPED_TRACE(testing::Message() << "step " << k);
    switch (s.op) {
      case Op::Edit: EXPECT_TRUE(Write(doc, s.writes)); break;
      case Op::Undo: doc.Undo(); break;
      case Op::Redo: doc.Redo(); break;
      case Op::Save: doc.MarkSaved(); break;
    }
    EXPECT_EQ(Text(doc), s.data);
    EXPECT_EQ(doc.Modified(), s.modified);
    EXPECT_EQ(doc.CanUndo(), s.canUndo);
    EXPECT_EQ(doc.CanRedo(), s.canRedo);
  }
}

TEST(EditHistory, UndoingEveryEditReturnsToTheLoadedState) {
  DocumentBuffer doc;
  Fill(doc, "abcd");
  // The same byte twice in one write, and again in the next: undone in reverse order.
  EXPECT_TRUE(Write(doc, {{1, 'P'}, {1, 'Q'}}));
  EXPECT_TRUE(Write(doc, {{1, 'R'}, {0, 'S'}}));
  EXPECT_EQ(Text(doc), "SRcd");
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(Text(doc), "aQcd");
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(Text(doc), "abcd");
  EXPECT_FALSE(doc.Modified());
  EXPECT_FALSE(doc.Undo());
}

TEST(EditHistory, WritesThatChangeNothingAreNoStepAndNoSignal) {
  DocumentBuffer doc;
  Fill(doc, "abcd");
  QSignalSpy changed(&doc, &DocumentBuffer::Changed);
  QSignalSpy flag(&doc, &DocumentBuffer::ModifiedChanged);
  EXPECT_FALSE(Write(doc, {{0, 'a'}, {-1, 'x'}, {4, 'x'}, {1 << 30, 'x'}}));  // same value, outside the data
  EXPECT_EQ(Text(doc), "abcd");
  EXPECT_EQ(doc.DocData[4], '\r');  // the byte after the data is not data
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_EQ(changed.count(), 0);

  EXPECT_TRUE(Write(doc, {{0, 'a'}, {2, 'x'}}));
  ASSERT_TRUE(doc.Undo());
  ASSERT_TRUE(doc.Redo());
  EXPECT_FALSE(doc.Redo());
  EXPECT_EQ(changed.count(), 3);
  doc.MarkSaved();
  EXPECT_EQ(changed.count(), 3);  // a save changes no byte
  EXPECT_GE(flag.count(), 4);
}

// The final 0x00 is shown as 0x1A; writing it (even with 0x1A) decides that the shown byte
// is saved, and undoing that write gives the file its own byte back.
TEST(EditHistory, TheShownFinalByteFollowsUndoAndRedo) {
  DocumentBuffer doc;
  Fill(doc, std::string("ab\x1A", 3));
  doc.ShownNulAt = 2;
  EXPECT_TRUE(Write(doc, {{2, 0x1A}}));  // same value, yet a change to what is saved
  EXPECT_TRUE(doc.ShownNulWritten);
  EXPECT_TRUE(doc.Modified());
  EXPECT_FALSE(Write(doc, {{2, 0x1A}}));  // now it is no change
  EXPECT_TRUE(Write(doc, {{2, 'c'}, {0, 'A'}}));
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.ShownNulWritten);  // the first write still stands
  ASSERT_TRUE(doc.Undo());
  EXPECT_FALSE(doc.ShownNulWritten);
  EXPECT_FALSE(doc.Modified());
  ASSERT_TRUE(doc.Redo());
  EXPECT_TRUE(doc.ShownNulWritten);
}

TEST(EditHistory, NewContentClearsTheHistory) {
  DocumentBuffer doc;
  Fill(doc, "abcd");
  ASSERT_TRUE(Write(doc, {{0, 'X'}}));
  // An appended paste keeps the edit in the data, so it stays unsaved; nothing to undo.
  doc.LastBuildWasText = 1;
  ASSERT_EQ(doc.Paste("ef", true, "/tmp"), BufferError::None);
  EXPECT_TRUE(doc.Modified());
  EXPECT_FALSE(doc.CanUndo());
  // A replacing paste is new content.
  ASSERT_TRUE(Write(doc, {{1, 'Y'}}));
  ASSERT_EQ(doc.Paste("gh", false, "/tmp"), BufferError::None);
  EXPECT_FALSE(doc.Modified());
  EXPECT_FALSE(doc.CanUndo());
  // A load, even of a missing file.
  ASSERT_TRUE(Write(doc, {{0, 'Z'}}));
  doc.LoadDataFile("/nonexistent/tyld-edit-history");
  EXPECT_FALSE(doc.Modified());
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_FALSE(doc.Undo());
}

}  // namespace
}  // namespace tyld::document
