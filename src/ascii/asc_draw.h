#pragma once
// The ASCII screen: shows the data as Shift-JIS text sheets, exactly as they print.
#include <QAbstractScrollArea>

#include "platform/commands.h"

namespace tyld::ascii {

class CAscDraw : public QAbstractScrollArea, public platform::CommandTarget {
  Q_OBJECT
 public:
  explicit CAscDraw(QWidget* parent = nullptr);
  ~CAscDraw() override;

  bool OnCommand(int id, std::intptr_t param) override;
  [[nodiscard]] bool IsCommandEnabled(int id) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tyld::ascii
