#include "app/handler_guard.h"

#include "platform/user_messages.h"

namespace livros::app {

ConvertError invalidDateError(const QString& text)
{
    return ConvertError(QStringLiteral("'%1' não é uma data válida").arg(text));
}

bool runHandler(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const ProgramTerminated&) {
        // The end was asked for and recorded (only a test's message sink returns from it).
        return false;
    } catch (const std::exception& error) {
        // Every error of ours carries its text as UTF-8.
        showStandardError(QString::fromUtf8(error.what()));
        return false;
    }
}

} // namespace livros::app
