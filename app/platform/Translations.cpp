#include "app/platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

QString TranslationsFolder() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../share/quillbox/translations"));
}

bool LoadTranslation(QTranslator& translator, const QLocale& locale, const QString& folder) {
    return translator.load(locale, QStringLiteral("quillbox"), QStringLiteral("_"), folder);
}

void InstallTranslations(QCoreApplication& application) {
    const QLocale locale;
    auto* own = new QTranslator(&application);
    if (LoadTranslation(*own, locale, TranslationsFolder())) {
        QCoreApplication::installTranslator(own);
    } else {
        delete own;
    }
    auto* qt = new QTranslator(&application);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    } else {
        delete qt;
    }
}

}  // namespace app
