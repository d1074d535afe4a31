#pragma once
// The byte search dialog of the binary screen: four byte values and their colours, read
// from and stored into the process-wide byte search state on OK.
#include "search/byte_search.h"
#include "tools/entry_colour_dialog.h"

namespace tyld::tools {

class ByteSearchDialog : public EntryColourDialog {
  Q_OBJECT
 public:
  explicit ByteSearchDialog(search::ByteSearchState& state, QWidget* parent = nullptr);
  void accept() override;

 private:
  search::ByteSearchState& state_;
};

}  // namespace tyld::tools
