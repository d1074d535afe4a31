#pragma once
// The string search dialog of the ASCII screen: four strings and their colours, read from
// and stored into the process-wide string search state on OK.
#include "tools/entry_colour_dialog.h"
#include "search/string_search.h"

namespace tyld::tools {

class StringSearchDialog : public EntryColourDialog {
  Q_OBJECT
 public:
  explicit StringSearchDialog(search::StringSearchState& state, QWidget* parent = nullptr);
  // Stores the colours, refuses a colour without text (the dialog stays open), else stores
  // the texts and closes.
  void accept() override;

 private:
  search::StringSearchState& state_;
};

}  // namespace tyld::tools
