#pragma once
// Saving the loaded data of the binary screen: overwriting the loaded file after a
// question, or writing it under a chosen name. Either writes the bytes unchanged and
// replaces the target only once they are all on disk; a failure leaves the target as it
// was and the data in memory.
#include <QString>

#include "document/document_buffer.h"
#include "platform/atomic_file.h"

class QWidget;

namespace tyld::tools {

// "上書き保存": asks, then writes to DocPath. True when the file was written; the data
// then counts as saved.
bool SaveOverwrite(QWidget* owner, document::DocumentBuffer& doc);

// "名前を付けて保存": asks for a path (DocDisplayName proposed) and, for a file that does
// not exist yet, whether to create it; then writes there. The document keeps its own path
// and name, and its changes still count as unsaved: its own file does not have them.
bool SaveAs(QWidget* owner, const document::DocumentBuffer& doc);

// Writes the data to the path and tells the user how it went.
bool WriteData(QWidget* owner, const document::DocumentBuffer& doc, const QString& path);
// The same through `writer` instead of write(2), so a test can stop a save at a chosen byte.
bool WriteData(QWidget* owner, const document::DocumentBuffer& doc, const QString& path,
               const platform::ChunkWriter& writer);

}  // namespace tyld::tools
