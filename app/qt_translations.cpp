#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace livros::app {

QString loadQtTranslations(QCoreApplication& application, const QLocale& workstation)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&application);
    for (const QLocale& locale : {workstation, QLocale(QLocale::Portuguese, QLocale::Brazil)}) {
        // An English or C locale is a workstation set up without a language of its own: the
        // program's texts are Brazilian Portuguese, so Qt's are too.
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            continue;
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return locale.name();
        }
    }
    delete translator;
    return {};
}

} // namespace livros::app
