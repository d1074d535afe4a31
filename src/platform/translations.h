#pragma once
// Qt's own texts (standard buttons, file, font and print dialogs) in the user's language.
#include <QLocale>

class QTranslator;

namespace tyld::platform {

// Installs Qt's translations for `locale`; a C/POSIX locale counts as Japanese, the language
// of the program's own texts. Returns the installed translator (owned by the application),
// or nullptr when Qt has none for that language.
QTranslator* InstallQtTranslations(const QLocale& locale = QLocale::system());

}  // namespace tyld::platform
