#pragma once

#include <QString>

class QCoreApplication;
class QLocale;
class QTranslator;

namespace app {

// The folder of the program's translations, quillbox_<language>.qm: beside
// the program's bin folder in share/quillbox/translations, which is where
// both the build and the installation put them.
QString TranslationsFolder();

// Loads the program's translation for the first of the locale's languages
// that has one in folder; false when none has.
bool LoadTranslation(QTranslator& translator, const QLocale& locale, const QString& folder);

// Installs the program's translation for the user's languages, and Qt's own
// (the standard buttons and the file dialog) when they are installed. Without
// them the program stays in English.
void InstallTranslations(QCoreApplication& application);

}  // namespace app
