#include "document/edit_history.h"

#include <algorithm>

namespace tyld::document {

void EditHistory::Record(EditStep step) {
  if (saved_ && *saved_ > done_) saved_.reset();  // the saved state was among the undone steps
  steps_.resize(done_);
  steps_.push_back(std::move(step));
  done_ = steps_.size();
}

const EditStep* EditHistory::Undo() {
  if (!CanUndo()) return nullptr;
  return &steps_[--done_];
}

const EditStep* EditHistory::Redo() {
  if (!CanRedo()) return nullptr;
  return &steps_[done_++];
}

bool EditHistory::Wrote(std::int64_t offset) const {
  return std::any_of(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(done_), [offset](const EditStep& s) {
    return std::any_of(s.begin(), s.end(), [offset](const ByteEdit& e) { return e.offset == offset; });
  });
}

void EditHistory::Reset(bool modified) {
  steps_.clear();
  done_ = 0;
  saved_ = modified ? std::nullopt : std::optional<std::size_t>(0);
}

}  // namespace tyld::document
