#include "app/handler_guard.h"

#include "app/build_input_block.h"
#include "book/classic/movement_source.h"
#include "platform/user_messages.h"

#include <new>

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
    } catch (const BuildStopped&) {
        // Stopped on purpose (Esc, closing, a termination signal): rolled back, nothing to say.
        return false;
    } catch (...) {
        showCaughtError();
        return false;
    }
}

void showCaughtError()
{
    try {
        throw;
    } catch (const ProgramTerminated&) {
        throw;
    } catch (const std::bad_alloc&) {
        showStandardError(QStringLiteral("Memória insuficiente para concluir a operação"));
    } catch (const std::exception& error) {
        // Every error of ours carries its text as UTF-8.
        showStandardError(QString::fromUtf8(error.what()));
    } catch (const classic::MovementQueryFailed& failure) {
        showStandardError(QStringLiteral("Não foi possível ler as movimentações %1: %2").arg(failure.where, failure.reason));
    } catch (...) {
        showStandardError(QStringLiteral("Erro inesperado de tipo desconhecido; a operação foi interrompida"));
    }
}

} // namespace livros::app
