#include "cli/demo_command.h"
#include "platform/system_error_text.h"

#include "cli/demo_menu_entry.h"
#include "cli/install_layout.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/schema.h"
#include "platform/user_messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>

namespace livros::cli {
namespace {

// 'text' for a POSIX shell, a quote inside written as '\''.
QString shellQuoted(const QString& text)
{
    QString inner = text;
    inner.replace(QStringLiteral("'"), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

bool copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!copyFolder(entry.absoluteFilePath(), target))
                return false;
            continue;
        }
        QFile::remove(target);
        if (!QFile::copy(entry.absoluteFilePath(), target))
            return false;
    }
    return true;
}

bool copyProgram(const QString& program, const QString& dir)
{
    if (program.isEmpty())
        return true;
    const QString target = dir + QLatin1Char('/') + QFileInfo(program).fileName();
    if (QFileInfo(program).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return true; // the demo folder is this program's own folder
    QFile::remove(target);
    return QFile::copy(program, target);
}

void load(const QString& database, const QString& charset, const QStringList& statements)
{
    data::Connection connection(QStringLiteral("demo"), charset);
    connection.setParam(QStringLiteral("DataBase"), database);
    connection.setParam(QStringLiteral("User_Name"), QStringLiteral("sysdba"));
    connection.setParam(QStringLiteral("Password"), QStringLiteral("vrentasko"));
    connection.executeAllOrNothing(statements);
}

} // namespace

int runDemoCommand(const QString& dirText, const DemoOptions& options, bool force)
{
    const QString dir = QDir(dirText).absolutePath();
    const QString mainDb = dir + QStringLiteral("/dados/quilmara.bd");
    const QString interfaceDb = dir + QStringLiteral("/interfac/quilmara.bd");
    const QString ini = dir + QStringLiteral("/QUILMARA.INI");
    if (!force && (QFileInfo::exists(ini) || QFileInfo::exists(mainDb) || QFileInfo::exists(interfaceDb))) {
        showStandardError(QStringLiteral("Já existe uma instalação em \"%1\"; nada foi alterado. "
                                         "Use --force para substituí-la")
                              .arg(dir));
        return 1;
    }
    const QString dbScripts = findShippedFolder(QStringLiteral("db"));
    if (dbScripts.isEmpty()) {
        showStandardError(QStringLiteral("Os scripts do banco de dados (db/) não foram encontrados junto ao programa"));
        return 1;
    }
    try {
        const DemoData demo = generateDemoData(options);
        if (!QDir().mkpath(dir + QStringLiteral("/dados")) || !QDir().mkpath(dir + QStringLiteral("/interfac")))
            throw data::DbError(QStringLiteral("Não foi possível criar a pasta \"%1\"").arg(dir));
        QFile::remove(mainDb);
        QFile::remove(interfaceDb);
        data::createDatabaseFromScript(mainDb, dbScripts + QStringLiteral("/main.sql"));
        data::createDatabaseFromScript(interfaceDb, dbScripts + QStringLiteral("/interface.sql"));
        load(mainDb, QString(), demo.mainStatements);
        load(interfaceDb, QStringLiteral("WIN1252"), demo.interfaceStatements);

        QFile iniFile(ini);
        if (!iniFile.open(QIODevice::WriteOnly | QIODevice::Truncate) || iniFile.write(quilmaraIniContent()) < 0)
            throw data::DbError(QStringLiteral("Não foi possível gravar \"%1\". %2").arg(ini, portugueseSystemText(iniFile.errorString())));
        iniFile.close();

        const QString rpt = findShippedFolder(QStringLiteral("rpt"));
        if (!rpt.isEmpty() && QDir(rpt).absolutePath() != QDir(dir + QStringLiteral("/rpt")).absolutePath()
            && !copyFolder(rpt, dir + QStringLiteral("/rpt")))
            throw data::DbError(QStringLiteral("Não foi possível copiar os arquivos de projeto de relatório para \"%1\"").arg(dir));
        if (!copyProgram(QCoreApplication::applicationFilePath(), dir) || !copyProgram(findWindowProgram(), dir))
            throw data::DbError(QStringLiteral("Não foi possível copiar os programas para \"%1\"").arg(dir));

        std::printf("Instalação de demonstração em %s\n", qPrintable(dir));
        std::printf("  lojas (TABLAB): %s\n", qPrintable(demo.storeCnpjs.join(QStringLiteral(", "))));
        std::printf("  período (PERIODO): %s a %s\n", qPrintable(demo.periodStart.toString(QStringLiteral("dd/MM/yyyy"))),
                    qPrintable(demo.periodEnd.toString(QStringLiteral("dd/MM/yyyy"))));
        std::printf("  %lld linhas no banco de dados principal\n", static_cast<long long>(demo.mainStatements.size()));
        // Quoted for the shell: a folder with blanks or quotes is copied and pasted as it is.
        const QString quoted = shellQuoted(dir);
        std::printf("Para usar: QUILMARA_HOME=%s %s/livros-cli --folder %s classic --group 2 --cnpj %s\n", qPrintable(quoted),
                    qPrintable(quoted), qPrintable(quoted), qPrintable(demo.storeCnpjs.first()));
        const DemoMenuEntryResult menu = installDemoMenuEntry(dir);
        if (menu.written)
            std::printf("Entrada do menu: %s\n", qPrintable(menu.path));
        else if (!menu.path.isEmpty())
            showStandardError(QStringLiteral("Não foi possível criar a entrada do menu \"%1\"").arg(menu.path));
        return 0;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
    } catch (const std::invalid_argument& e) {
        showStandardError(QString::fromUtf8(e.what()));
    }
    return 1;
}

} // namespace livros::cli
