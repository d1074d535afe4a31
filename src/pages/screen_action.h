#pragma once
// What the main window asks of a screen: the actions of its menus and tool bar, and the
// few calls a change of window or settings needs.
class QWidget;

namespace tyld::pages {

enum class ScreenKind { Ascii, Binary };

enum class ScreenAction {
  // Every screen
  NextPage, PrevPage, FirstPage, LastPage, Next10, Prev10, Next50, Prev50, GoToPage,
  ScaleDouble, ScaleOriginal, ScaleHalf,
  Font, FontReset, PageFormat, PageFormatReset,
  PrintMono, PrintColour, PrinterSetup,
  // The ASCII screen
  StringSearch, CancelStringSearch, Utf8On, Utf8Off, MailDecoded, MailRaw,
  // The binary screen
  ByteSearch, CancelByteSearch, SequenceSearch, PositionCalculator, ByteEditor, Save, SaveAs,
};

class ScreenCommands {
 public:
  virtual ~ScreenCommands() = default;
  // False when the action is not one of this screen's.
  virtual bool Run(ScreenAction action) = 0;
  // Whether the action's menu item and tool button are enabled now.
  [[nodiscard]] virtual bool CanRun(ScreenAction action) const = 0;
  // The window changed size or was drawn over.
  virtual void Repaint() = 0;
  // Fonts, layout and pages again from the current settings.
  virtual void Rebuild() = 0;
  [[nodiscard]] virtual QWidget& Widget() = 0;
};

}  // namespace tyld::pages
