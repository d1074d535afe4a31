#pragma once
// Modal message boxes, with a hook through which tests record and answer them.
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace tyld::platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageBoxCall {
  QString text;
  QString caption;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
};

Answer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                  Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

// Test hook: while installed, MessageBox records the call and returns the hook's answer
// instead of showing anything.
using MessageBoxHook = std::function<Answer(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Convenience for tests: installs a hook that records every call and answers with
// `answer`; the destructor removes it.
class ScopedMessageBoxRecorder {
 public:
  explicit ScopedMessageBoxRecorder(Answer answer = Answer::Ok);
  ~ScopedMessageBoxRecorder();
  ScopedMessageBoxRecorder(const ScopedMessageBoxRecorder&) = delete;
  ScopedMessageBoxRecorder& operator=(const ScopedMessageBoxRecorder&) = delete;
  void SetAnswer(Answer a) { answer_ = a; }
  [[nodiscard]] const std::vector<MessageBoxCall>& Calls() const { return calls_; }

 private:
  Answer answer_;
  std::vector<MessageBoxCall> calls_;
};

}  // namespace tyld::platform
