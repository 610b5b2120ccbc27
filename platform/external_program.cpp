#include "platform/external_program.h"

#include <QFileInfo>
#include <QProcess>

namespace livros {

void runExternalProgram(const QString& commandLine)
{
    QString program = commandLine;
    QStringList arguments;
    if (!QFileInfo::exists(commandLine)) {
        arguments = QProcess::splitCommand(commandLine);
        if (arguments.isEmpty())
            return;
        program = arguments.takeFirst();
    }
    QProcess::startDetached(program, arguments);
}

} // namespace livros
