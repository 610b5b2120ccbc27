#include "app/qt_user_messages.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>

namespace livros::app {

namespace {
void showBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QString::fromLatin1(kProgramTitle), messageBoxText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
} // namespace

QString messageBoxText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtUserMessages::inform(const QString& text) { showBox(QMessageBox::NoIcon, text); }

void QtUserMessages::showError(const QString& text) { showBox(QMessageBox::Critical, errorDisplayText(text)); }

void QtUserMessages::beep() { QApplication::beep(); }

void QtUserMessages::terminate(int exitCode) { std::exit(exitCode); }

} // namespace livros::app
