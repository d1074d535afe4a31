#include "platform/message_box.h"

#include <QMessageBox>

namespace tyld::platform {
namespace {
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

Answer MessageBox(QWidget* owner, const QString& text, const QString& caption, Buttons buttons,
                  Icon icon) {
  if (Hook()) return Hook()(MessageBoxCall{text, caption, buttons, icon});
  QMessageBox box(owner);
  box.setText(text);
  box.setWindowTitle(caption);
  switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::None: break;
  }
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

ScopedMessageBoxRecorder::ScopedMessageBoxRecorder(Answer answer) : answer_(answer) {
  SetMessageBoxHook([this](const MessageBoxCall& call) {
    calls_.push_back(call);
    return answer_;
  });
}

ScopedMessageBoxRecorder::~ScopedMessageBoxRecorder() { SetMessageBoxHook({}); }

}  // namespace tyld::platform
