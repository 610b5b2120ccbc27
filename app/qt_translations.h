#pragma once
#include <QLocale>
#include <QString>

class QCoreApplication;

namespace livros::app {

// Qt's own dialogs (print, page set-up, file choice, message box buttons) in the workstation's
// language: Qt's translations for it as Debian installs them, Brazilian Portuguese when the
// workstation's language has none (an English or C locale). Returns the locale name loaded, or
// an empty text when no translation file was found.
QString loadQtTranslations(QCoreApplication& application, const QLocale& workstation = QLocale::system());

} // namespace livros::app
