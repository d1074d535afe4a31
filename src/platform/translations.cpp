#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tyld::platform {

QTranslator* InstallQtTranslations(const QLocale& locale) {
  // Without a locale the program's Japanese texts would meet English buttons; Japanese
  // keeps one language in every window.
  const bool unset = locale.language() == QLocale::C;
  const QLocale chosen = unset ? QLocale(QLocale::Japanese, QLocale::Japan) : locale;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(chosen, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  // Dates and sizes in the file dialog follow the same language.
  if (unset) QLocale::setDefault(chosen);
  return translator;
}

}  // namespace tyld::platform
