#pragma once
// The undo history of byte edits: a value holding, per step, the bytes one edit wrote with
// what they were before, the position between done and undone steps, and which state was
// saved last (so the document can tell whether it differs from its file).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tyld::document {

struct ByteEdit {
  std::int64_t offset = 0;
  std::uint8_t before = 0;
  std::uint8_t after = 0;
  friend bool operator==(const ByteEdit&, const ByteEdit&) = default;
};

// One user action (a write of the byte editor): undone and redone as a whole.
using EditStep = std::vector<ByteEdit>;

class EditHistory {
 public:
  // A new step after the current one. The steps undone before it can no longer be
  // redone; a saved state among them is gone for good.
  void Record(EditStep step);
  // The step to take back (its `before` bytes restored, last edit first), or nullptr.
  const EditStep* Undo();
  // The step to take again (its `after` bytes written, first edit first), or nullptr.
  const EditStep* Redo();
  [[nodiscard]] bool CanUndo() const { return done_ > 0; }
  [[nodiscard]] bool CanRedo() const { return done_ < steps_.size(); }

  // The data as it now is has been written to the file.
  void MarkSaved() { saved_ = done_; }
  // The data differs from the state saved or loaded last.
  [[nodiscard]] bool Modified() const { return saved_ != done_; }
  // Whether a step now in effect wrote the byte at `offset`.
  [[nodiscard]] bool Wrote(std::int64_t offset) const;

  // Forgets every step. The data as it is becomes the saved state, unless `modified`: then
  // no state reachable from here is on disk.
  void Reset(bool modified = false);

 private:
  std::vector<EditStep> steps_;
  std::size_t done_ = 0;                   // steps in effect: steps_[0, done_)
  std::optional<std::size_t> saved_ = 0;   // done_ at the last save or load; none once unreachable
};

}  // namespace tyld::document
