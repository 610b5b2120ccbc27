#include "platform/user_messages.h"

#include <cstdio>
#include <cstdlib>

namespace livros {
namespace {
StderrMessages g_stderrMessages;
UserMessages* g_sink = &g_stderrMessages;

void writeStderr(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "%s\n", t.toLocal8Bit().constData());
    std::fflush(stderr);
}
} // namespace

UserMessages& userMessages() { return *g_sink; }

UserMessages* setUserMessages(UserMessages* sink)
{
    UserMessages* previous = g_sink;
    g_sink = sink ? sink : &g_stderrMessages;
    return previous;
}

QString errorDisplayText(const QString& text)
{
    if (text.endsWith(QLatin1Char('.')))
        return text;
    return text + QLatin1Char('.');
}

void terminateProgram(int exitCode)
{
    userMessages().terminate(exitCode);
    throw ProgramTerminated(exitCode);
}

void StderrMessages::inform(const QString& text) { writeStderr(text); }
void StderrMessages::showError(const QString& text) { writeStderr(errorDisplayText(text)); }
void StderrMessages::terminate(int exitCode) { std::exit(exitCode); }

} // namespace livros
