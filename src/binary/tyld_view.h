#pragma once
// The ASCII screen: shows the data as hex dump pages, exactly as they print.
#include <QAbstractScrollArea>

#include "platform/commands.h"

namespace tyld::binary {

class CTyldView : public QAbstractScrollArea, public platform::CommandTarget {
  Q_OBJECT
 public:
  explicit CTyldView(QWidget* parent = nullptr);
  ~CTyldView() override;

  bool OnCommand(int id, std::intptr_t param) override;
  [[nodiscard]] bool IsCommandEnabled(int id) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tyld::binary
