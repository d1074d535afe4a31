#pragma once
// The main window's commands: menu texts, tool-bar icons, and the open dialogs' filters.
#include <QIcon>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

#include "pages/screen_action.h"

class QStyle;

namespace tyld::app {

// Every menu and tool-bar command.
enum class Command {
  OpenGeneral, OpenPrintFile, FileTypeGuide, Properties, Save, SaveAs, PrintMono, PrintColour,
  PrinterSetup, OrientationGuide, SettingsReset, SoftwareInfo, Close,
  Font, FontReset, PageFormat, PageFormatReset, DefaultWindowSize,
  PrevPage, NextPage, FirstPage, LastPage, Prev10, Next10, Prev50, Next50, GoToPage, PageTurnGuide,
  ScaleDouble, ScaleOriginal, ScaleHalf,
  StringSearch, CancelStringSearch, Utf8On, Utf8Off, MailDecoded, MailRaw,
  ByteSearch, SequenceSearch, CancelByteSearch, PositionCalculator, ByteEditor,
  Paste, Print, Undo, Redo,
};

struct CommandSpec {
  Command id;
  const char* text;  // menu text, UTF-8
  // The active screen's action it runs; none for the main window's own commands.
  std::optional<pages::ScreenAction> screen = std::nullopt;
};

// Every menu and tool-bar command with its menu text.
std::span<const CommandSpec> Commands();
// The screen action a command runs, if it is one.
std::optional<pages::ScreenAction> ScreenActionOf(Command id);
// The tool-bar icon of a command: the desktop theme's, else a built-in one.
QIcon CommandIcon(Command id, const QStyle* style);

// The open dialogs' filter lists ("desc|pattern") and their Qt form, first filter first.
QStringList FilterList(bool printFile, int programType);
QString QtFilterString(bool printFile, int programType);

}  // namespace tyld::app
