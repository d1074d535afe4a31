#pragma once
// The main window's commands: menu texts, tool-bar icons, and the open dialogs' filters.
#include <QIcon>
#include <QString>
#include <QStringList>
#include <span>

class QStyle;

namespace tyld::app {

struct CommandSpec {
  int id;
  const char* text;  // menu text, UTF-8
};

// Every menu and tool-bar command with its menu text.
std::span<const CommandSpec> Commands();
// The tool-bar icon of a command: the desktop theme's, else a built-in one.
QIcon CommandIcon(int id, const QStyle* style);

// The open dialogs' filter lists ("desc|pattern") and their Qt form, first filter first.
QStringList FilterList(bool printFile, int programType);
QString QtFilterString(bool printFile, int programType);

}  // namespace tyld::app
