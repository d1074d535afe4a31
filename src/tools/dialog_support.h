#pragma once
// Pieces the search and byte-tool windows share: colour combo boxes, notices shown as
// message boxes, Shift-JIS texts, hex-only edits, and the save-file dialog with a test seam.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/notice.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace tyld::tools {

QString Q(std::string_view utf8);
// An edit's text as Shift-JIS bytes, as the search logic reads it.
std::string Sjis(const QString& text);

// A drop-down list of the five highlight colour names, the stored index selected (0 when
// it is outside 0..4).
QComboBox* MakeColourCombo(QWidget* parent, std::int32_t stored);

void ShowNotice(QWidget* owner, const search::Notice& notice);

// Lets only hexadecimal digits (and spaces when `spaces`) into the edit, at most
// `maxChars` of them; lower case is shown in upper case.
void MakeHexEdit(QLineEdit* edit, int maxChars, bool spaces);

struct SaveFileRequest {
  QString caption;
  QString initialName;  // file name or path proposed
  QStringList filters;  // "dat (*.dat)", ..., the first selected
  QString defaultSuffix;
};

// The save-file dialog; an empty result means cancelled. The dialog asks before replacing
// a file that exists; whether to create a new one is the caller's question.
QString AskSaveFileName(QWidget* owner, const SaveFileRequest& request);

// Test seam: while installed, AskSaveFileName records the request and returns the answer.
class ScopedSaveFileAnswer {
 public:
  explicit ScopedSaveFileAnswer(QString answer);
  ~ScopedSaveFileAnswer();
  ScopedSaveFileAnswer(const ScopedSaveFileAnswer&) = delete;
  ScopedSaveFileAnswer& operator=(const ScopedSaveFileAnswer&) = delete;
  void SetAnswer(QString answer) { answer_ = std::move(answer); }
  [[nodiscard]] const std::vector<SaveFileRequest>& Requests() const { return requests_; }

 private:
  friend QString AskSaveFileName(QWidget* owner, const SaveFileRequest& request);
  QString answer_;
  std::vector<SaveFileRequest> requests_;
};

}  // namespace tyld::tools
