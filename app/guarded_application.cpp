#include "app/guarded_application.h"

#include "app/handler_guard.h"
#include "platform/user_messages.h"

namespace livros::app {

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramTerminated&) {
        throw;
    } catch (...) {
        showCaughtError();
        return false;
    }
}

} // namespace livros::app
