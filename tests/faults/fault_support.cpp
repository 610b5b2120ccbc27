#include "fault_support.h"

#include "platform/sql_literal.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QThread>
#include <csignal>

namespace livros::faults {

pid_t serverPid(const testing::ServerSuite& suite)
{
    const QByteArray marker = "FIREBIRD=" + QFile::encodeName(suite.folder() + QStringLiteral("fbroot")) + '\0';
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const int pid = entry.toInt(&numeric);
        if (!numeric)
            continue;
        QFile exe(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!exe.open(QIODevice::ReadOnly) || !exe.readAll().startsWith(QFile::encodeName(suite.serverProgram())))
            continue;
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        if (environ.open(QIODevice::ReadOnly) && ('\0' + environ.readAll()).contains('\0' + marker))
            return pid_t(pid);
    }
    return 0;
}

void stopServer(testing::ServerSuite& suite)
{
    const pid_t pid = serverPid(suite);
    if (pid != 0) {
        ::kill(pid, SIGTERM);
        for (int i = 0; i < 150; ++i) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                break;
            const QByteArray fields = stat.readAll();
            const qsizetype end = fields.lastIndexOf(')');
            if (end < 0 || fields.mid(end + 2, 1) == "Z")
                break; // ended (not reaped yet)
            QThread::msleep(10);
        }
    }
    suite.killServer(); // reaps the ended process, or ends a hung shutdown
}

void addRevisedProducts(testing::EmbeddedSuite& suite, int count, int entries, const QString& store,
                        const QString& inventoryDate)
{
    const QDate first = QDate::fromString(inventoryDate, Qt::ISODate);
    QStringList statements;
    for (int p = 1; p <= count; ++p) {
        const QString codigo = QStringLiteral("P%1").arg(p, 2, 10, QLatin1Char('0'));
        if (suite.scalarMain(QStringLiteral("select count(*) from COMPONEN where CODIGO = '%1'").arg(codigo)) == u"0")
            statements << QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) "
                                         "values ('%1', 'Produto %1', 'MAN', 'G', 'Sim', 'A1', 'D%1')").arg(codigo);
        statements << QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                                     "('%1', '%2', %3, 'G', '%4')").arg(inventoryDate, codigo).arg(100 * p).arg(store);
        for (int e = 1; e <= entries; ++e) {
            const QString nota = QStringLiteral("%1%2%3").arg(store.right(3), codigo).arg(e);
            const QString day = first.addDays(e - 1).toString(Qt::ISODate);
            statements << QStringLiteral("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values "
                                         "('%1', 'Fornec', '%2', '%3')").arg(nota, day, store);
            statements << QStringLiteral("insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, "
                                         "QUANTIDADE, UNIDADE) values ('%1', '%2', 'Fornec', 'L%3', '2026-01-31', "
                                         "%4, 'G')").arg(nota, codigo).arg(e).arg(p + e);
        }
    }
    if (suite.scalarMain(QStringLiteral("select count(*) from FORNECED")) == u"0")
        statements << QStringLiteral("insert into FORNECED (NOMEFANTASIA, CNPJ) values ('Fornec', '01234567000189')");
    suite.loadMain(statements);
}

namespace {
const char kRevisedColumns[] =
    "CNPJ, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, CONTEXTO, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, "
    "COMPONENTE, PERIODO, CODIGO, LISTA";
} // namespace

QStringList revisedLines(testing::EmbeddedSuite& suite, const QString& store)
{
    return suite.rowsMain(QStringLiteral("select %1 from LIVROREVCONTR where CNPJ = %2 order by CODIGO, DATA, OPERACAO, "
                                         "ESTOQUE").arg(QLatin1String(kRevisedColumns), sqlLiteral(store)));
}

QStringList revisedLinesOf(testing::EmbeddedSuite& suite, const QString& store, const QString& codigo)
{
    return suite.rowsMain(QStringLiteral("select %1 from LIVROREVCONTR where CNPJ = %2 and CODIGO = %3 order by DATA, "
                                         "OPERACAO, ESTOQUE")
                              .arg(QLatin1String(kRevisedColumns), sqlLiteral(store), sqlLiteral(codigo)));
}

QStringList classicLines(testing::EmbeddedSuite& suite)
{
    return suite.rowsMain(QStringLiteral("select ID, CNPJ, DCB, ESTOQUEINICIAL, LIVRO, LINHA, DATA, HISTORICO, MOVIMENTO, "
                                         "SALDO, OBSERVACOES, CODIGO, COMPONENTE, PERIODO, UNID from LIVROCONTR order by ID"));
}

} // namespace livros::faults
