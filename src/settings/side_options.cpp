#include "settings/side_options.h"

#include <QFileInfo>
#include <QSettings>
#include <QString>

namespace tyld::settings {
namespace {
constexpr char kLineBreakRulesKey[] = "ascii/lineBreakRules";

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

std::string SideOptionsPath(std::string_view settingsPath) {
  const std::size_t slash = settingsPath.find_last_of('/');
  std::string path(slash == std::string_view::npos ? std::string_view() : settingsPath.substr(0, slash + 1));
  path += kSideOptionsFileName;
  return path;
}

bool ReadLineBreakRules(const std::string& iniPath) {
  if (!QFileInfo(Q(iniPath)).isFile()) return false;
  const QSettings ini(Q(iniPath), QSettings::IniFormat);
  if (ini.status() != QSettings::NoError) return false;
  // QVariant would take any word but "false" for true: only the two words written count.
  const QString value = ini.value(QLatin1String(kLineBreakRulesKey)).toString().trimmed().toLower();
  return value == QLatin1String("true");
}

bool WriteLineBreakRules(const std::string& iniPath, bool on) {
  QSettings ini(Q(iniPath), QSettings::IniFormat);
  ini.setValue(QLatin1String(kLineBreakRulesKey), on);
  ini.sync();
  return ini.status() == QSettings::NoError;
}

}  // namespace tyld::settings
