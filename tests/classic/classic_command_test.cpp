// `livros-cli classic` against a real embedded Firebird: exit codes, listing output, messages.
#include "cli/classic_command.h"

#include "classic_test_data.h"
#include "data/data_module.h"
#include "firebird_fixture.h"
#include "shared_suite_test.h"

#include <gtest/gtest.h>


#include <QFile>
#include <QTemporaryFile>
#include <QThread>

#include <cstdio>
#include <memory>
#include <ostream>
#include <unistd.h>

#include "qt_test_print.h"

using namespace livros::classic::testing;
using livros::cli::runClassicCommand;
using livros::testing::EmbeddedSuite;

namespace {

// Collects what is written to standard error while it lives.
class StderrCapture {
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_file.open();
        m_saved = ::dup(STDERR_FILENO);
        ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    QString text()
    {
        restore();
        QFile in(m_file.fileName());
        in.open(QIODevice::ReadOnly);
        return QString::fromLocal8Bit(in.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

class ClassicCommand : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        s_suite->clearAllTables();
        QFile::remove(s_suite->folder() + "Vandor.exe");
        dm = s_suite->makeDataModule();
        data.component("C001", "Morfina", "G", "A1", "D1");
        // The store of the tests, recorded with wrong check digits (…95 would be right).
        s_suite->execMain("insert into TABLAB (LOJA, LABORATORIO) values ('12345678000199', 'LAB')");
    }

    int run(int group, const QString& cnpj, const QString& from, const QString& to)
    {
        QTextStream out(&listing);
        StderrCapture capture;
        const int code = runClassicCommand(*dm, group, cnpj, from, to, out);
        out.flush();
        errors = capture.text();
        return code;
    }

    QStringList bookRows()
    {
        return s_suite->rowsMain("select ID || ':' || CNPJ || ':' || PERIODO || ':' || cast(SALDO as varchar(30)) "
                                 "from LIVROCONTR order by ID");
    }

    TestData data{*s_suite};
    std::unique_ptr<livros::data::TDM> dm;
    QString listing;
    QString errors;
};


} // namespace

TEST_F(ClassicCommand, BuildsTheBookAndWritesTheListing)
{
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-01", "C001", 5, "G");
    EXPECT_EQ(run(1, kStore, "01/05/24", "02/05/24"), 0);
    EXPECT_EQ(bookRows(), QStringList{"1:12345678000199:01/05/24 a 02/05/24:15.000000"});
    const QStringList lines = listing.split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.last(), "");  // every line ends with a line break
    EXPECT_EQ(lines.at(lines.size() - 2), QString(60, '-') + "  FIM  " + QString(75, '-'));
    EXPECT_EQ(lines.filter(QStringLiteral("|       15,00000 | Compra")).size(), 1);
    // Standard error (not a terminal here) has the build's summary, no progress, nothing else.
    EXPECT_EQ(errors.split('\n', Qt::SkipEmptyParts).size(), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("Livro montado: loja 12345678000199, livro clássico do grupo 1, "
                                               "período 01/05/24 a 02/05/24, 1 produtos, 1 linhas gravadas")))
        << errors.toStdString();
}

TEST_F(ClassicCommand, NoInventoryExitsThreeWithoutStartingTheStockProgram)
{
    QFile script(s_suite->folder() + "Vandor.exe");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    const QString marker = s_suite->folder() + "cli_vandor.txt";
    script.write("#!/bin/sh\necho started > '" + marker.toLocal8Bit() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_EQ(run(1, kStore, "01/05/24", "02/05/24"), 3);
    EXPECT_EQ(errors, QStringLiteral("Antes de prosseguir, favor incluir um inventário\ncom a posição do estoque do "
                                     "dia \"01/05/24\".\n\nNa tela inicial do sistema, acesse a opção \nESTOQUE / "
                                     "INVENTÁRIOS\n"));
    EXPECT_TRUE(listing.isEmpty());
    QThread::msleep(300);
    EXPECT_FALSE(QFile::exists(marker));
}

TEST_F(ClassicCommand, BadDateExitsThree)
{
    data.inventory("2024-05-01", "C001", 10, "G");
    EXPECT_EQ(run(1, kStore, "31/02/24", "02/05/24"), 3);
    EXPECT_EQ(errors, "Data Inicial incorreta. Corrija e tente novamente.\n");
    EXPECT_EQ(run(1, kStore, "01/05/24", "  /  /  "), 3);
    EXPECT_TRUE(bookRows().isEmpty());
}

TEST_F(ClassicCommand, DatesAsValues)
{
    data.inventory("2024-05-01", "C001", 10, "G");
    data.inventory("1960-05-01", "C001", 10, "G");
    QTextStream out(&listing);
    StderrCapture capture;
    EXPECT_EQ(runClassicCommand(*dm, 1, kStore, QDate(2024, 5, 1), QDate(2024, 5, 2), out), 0);
    out.flush();
    EXPECT_TRUE(listing.contains(QStringLiteral(" Período: 01/05/24 a 02/05/24")));
    // The SQL dates carry two-digit years: a date outside their window is refused, not moved.
    EXPECT_EQ(runClassicCommand(*dm, 1, kStore, QDate(1960, 5, 1), QDate(1960, 5, 1), out), 3);
    EXPECT_EQ(runClassicCommand(*dm, 1, kStore, QDate(2024, 5, 1), QDate(), out), 3);
    EXPECT_TRUE(capture.text().contains("Livro montado: loja 12345678000199, livro clássico do grupo 1, período 01/05/24 "
                                        "a 02/05/24, 1 produtos, 0 linhas gravadas, "))
        << capture.text().toStdString();
    EXPECT_TRUE(capture.text().endsWith(" s\nData Inicial incorreta. Corrija e tente novamente.\n"
                                        "Data Final incorreta. Corrija e tente novamente.\n"))
        << capture.text().toStdString();
}

TEST_F(ClassicCommand, WithoutDatesThePeriodRecordIsUsed)
{
    s_suite->execInterface("insert into PERIODO (DATAINICIAL, DATAFINAL) values ('2024-05-01', '2024-05-03')");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-03", "C001", 1, "G");
    EXPECT_EQ(run(1, kStore, "", ""), 0);
    EXPECT_EQ(bookRows(), QStringList{"1:12345678000199:01/05/24 a 03/05/24:11.000000"});
    // The record is read, not written.
    EXPECT_EQ(s_suite->rowsInterface("select DATAINICIAL || ' ' || DATAFINAL from PERIODO"),
              QStringList{"2024-05-01 2024-05-03"});
}

TEST_F(ClassicCommand, EmptyPeriodRecordIsABadDate)
{
    data.inventory("2024-05-01", "C001", 10, "G");
    EXPECT_EQ(run(1, kStore, "", ""), 3);
    EXPECT_EQ(errors, "Data Inicial incorreta. Corrija e tente novamente.\n");
}

TEST_F(ClassicCommand, StoreFromTheCompanyRecordWhenThereIsOnlyOne)
{
    s_suite->execMain("insert into DADOSGER (CNPJ) values ('12345678000199')");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-01", "C001", 1, "G");
    EXPECT_EQ(run(1, "", "01/05/24", "01/05/24"), 0);
    EXPECT_EQ(bookRows(), QStringList{"1:12345678000199:01/05/24 a 01/05/24:11.000000"});

    s_suite->execMain("insert into TABLAB (LOJA, LABORATORIO) values ('99888777000166', 'LAB')");
    EXPECT_EQ(run(1, "", "01/05/24", "01/05/24"), 2);
    EXPECT_FALSE(errors.isEmpty());
}

TEST_F(ClassicCommand, CnpjMustNameARecordedStore)
{
    data.inventory("2024-05-01", "C001", 10, "G");
    // Numbers that name no store are refused before anything is read or written, saying when
    // their check digits are wrong.
    EXPECT_EQ(run(1, "11.222.333/0001-82", "01/05/24", "01/05/24"), 2);
    EXPECT_TRUE(errors.contains("11.222.333/0001-82")) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QString::fromUtf8("dígitos verificadores não conferem: para 11.222.333/0001 seriam 81")))
        << errors.toStdString();
    EXPECT_EQ(run(1, "12ABC34501DE35", "01/05/24", "01/05/24"), 2);
    EXPECT_FALSE(errors.contains(QString::fromUtf8("dígitos"))) << errors.toStdString();
    EXPECT_EQ(run(1, "ABC", "01/05/24", "01/05/24"), 2);
    EXPECT_TRUE(errors.contains("14 caracteres")) << errors.toStdString();
    EXPECT_TRUE(listing.isEmpty());
    EXPECT_TRUE(bookRows().isEmpty());

    // An alphanumeric store, typed formatted and in small letters, gets its book.
    s_suite->execMain("insert into TABLAB (LOJA, LABORATORIO) values ('12ABC34501DE35', 'LAB2')");
    data.inventory("2024-05-01", "C001", 7, "G", "12ABC34501DE35");
    data.entry("2024-05-01", "C001", 2, "G", "L1", "ABC", "12ABC34501DE35");
    EXPECT_EQ(run(1, "12.abc.345/01de-35", "01/05/24", "01/05/24"), 0) << errors.toStdString();
    EXPECT_EQ(bookRows(), QStringList{"1:12ABC34501DE35:01/05/24 a 01/05/24:9.000000"});
}

TEST_F(ClassicCommand, UsageErrors)
{
    EXPECT_EQ(run(5, kStore, "01/05/24", "01/05/24"), 2);
    EXPECT_EQ(run(0, kStore, "01/05/24", "01/05/24"), 2);
    EXPECT_EQ(run(1, kStore, "01/05/24", ""), 2);
}

TEST(ClassicCommandFailures, MovementQueryFailureExitsFourWithTheStatement)
{
    EmbeddedSuite suite;
    suite.execMain("drop table PERDAS");
    TestData data{suite};
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-01", "C001", 5, "G");
    suite.execMain("insert into TABLAB (LOJA, LABORATORIO) values ('12345678000199', 'LAB')");
    suite.releaseConnections();
    auto dm = suite.makeDataModule();

    QString listing;
    QTextStream out(&listing);
    StderrCapture capture;
    const int code = runClassicCommand(*dm, 1, kStore, QStringLiteral("01/05/24"), QStringLiteral("01/05/24"), out);
    const QString errors = capture.text();
    EXPECT_EQ(code, 4);
    EXPECT_TRUE(errors.contains("tabela desconhecida")) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("Não foi possível ler as perdas do período 01/05/24 a 01/05/24.")))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("from PERDAS where DATA between '2024-05-01' and '2024-05-01' and LOJA = "
                                "cast('12345678000199' as varchar(255)) and (DCB in ('D1')"));
    // The period is read before the first product is listed; no part of the book stays to be printed.
    EXPECT_FALSE(listing.contains(QStringLiteral("Compra")));
    EXPECT_EQ(suite.scalarMain("select count(*) from LIVROCONTR"), "0");
}
