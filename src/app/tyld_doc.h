#pragma once
// The one document of the program. Its bytes and names live in the document buffer; the
// document object only keeps whether they were changed, as the framework's flag did.
namespace tyld::app {

class CTyldDoc {
 public:
  [[nodiscard]] bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }

 private:
  bool modified_ = false;
};

}  // namespace tyld::app
