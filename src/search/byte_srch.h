#pragma once
// The byte search dialog of the binary screen: four byte values and their colours, read
// from and stored into the process-wide byte search state on OK.
#include "search/byte_search.h"
#include "search/entry_colour_dialog.h"

namespace tyld::search {

class CByteSrch : public EntryColourDialog {
  Q_OBJECT
 public:
  // Edits 1038-1041, colour combo boxes 308-311, OK 1, Cancel 2.
  explicit CByteSrch(ByteSearchState& state, QWidget* parent = nullptr);
  void accept() override;

 private:
  ByteSearchState& state_;
};

}  // namespace tyld::search
