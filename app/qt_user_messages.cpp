#include "app/qt_user_messages.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>

namespace livros::app {

namespace {
constexpr qsizetype kMaxShownLines = 12;
constexpr qsizetype kMaxShownCharacters = 600;

void showBox(QMessageBox::Icon icon, const QString& text, const QString& details = {})
{
    QMessageBox box(icon, QString::fromLatin1(kProgramTitle), messageBoxText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    if (!details.isEmpty())
        box.setDetailedText(messageBoxText(details));
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

void showLongText(QMessageBox::Icon icon, const QString& text)
{
    const auto [shown, details] = splitLongMessage(messageBoxText(text));
    showBox(icon, shown, details);
}
} // namespace

std::pair<QString, QString> splitLongMessage(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() <= kMaxShownLines && text.size() <= kMaxShownCharacters)
        return {text, QString()};
    QString shown = lines.mid(0, kMaxShownLines).join(QLatin1Char('\n')).left(kMaxShownCharacters);
    shown += QStringLiteral("…\n\n(o texto completo está nos detalhes)");
    return {shown, text};
}

QString messageBoxText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtUserMessages::inform(const QString& text) { showLongText(QMessageBox::NoIcon, text); }

void QtUserMessages::informWithDetails(const QString& text, const QString& details)
{
    showBox(QMessageBox::NoIcon, text, details);
}

void QtUserMessages::showError(const QString& text) { showLongText(QMessageBox::Critical, errorDisplayText(text)); }

void QtUserMessages::beep() { QApplication::beep(); }

void QtUserMessages::terminate(int exitCode) { std::exit(exitCode); }

} // namespace livros::app
