#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace gui {

bool InstallQtTranslations(QCoreApplication& application)
{
    // Qt's own folder first (on Debian /usr/share/qt6/translations), then a
    // "translations" folder beside the program, where a Windows build
    // carries them.
    const QStringList folders = {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
    };
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&application);
        if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator)) {
            return true;
        }
        delete translator;
    }
    return false;
}

} // namespace gui
