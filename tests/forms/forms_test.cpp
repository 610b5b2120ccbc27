// The periodic forms and the prescription check on a real embedded Firebird: the balance's
// numbers, units and acquisitions, its refusal without an opening inventory, the relations'
// lines, the CSV files and the commands' exit codes.
#include "check/data_check.h"
#include "check/prescription_check.h"
#include "cli/check_command.h"
#include "cli/balance_command.h"
#include "cli/notifications_command.h"
#include "forms/balance_form.h"
#include "forms/controlled_sales.h"
#include "forms/form_csv.h"
#include "forms/form_lists.h"
#include "forms/notification_relation.h"

#include "classic_test_data.h"
#include "data/data_module.h"
#include "message_recorder.h"
#include "platform/sql_literal.h"
#include "platform/suite_paths.h"
#include "report_test_util.h"
#include "shared_suite_test.h"

#include <QDir>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::classic::testing;
using forms::PeriodicForm;

namespace {

const forms::FormPeriod kMay = *forms::monthPeriod(QStringLiteral("05/2024"));
const forms::FormPeriod kSecondQuarter = *forms::quarterPeriod(QStringLiteral("2/2024"));

class Forms : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        s_suite->clearAllTables();
        dm = s_suite->makeDataModule();
        data.store(kStore, QStringLiteral("LAB"));
        s_suite->execMain("insert into FORNECED (NOMEFANTASIA, CNPJ) values ('ABC', '11222333000181')");
    }

    // A sale of one product: a formula (PEDIFORM, COMPEDID) or a drugstore item (ITENS).
    void sale(const QString& date, const QString& codigo, double quantity, const QString& notification,
              bool drugstore = false, const QString& patient = QStringLiteral("MARIA"),
              const QString& council = QStringLiteral("CRM"), const QString& number = QStringLiteral("1234"),
              const QString& state = QStringLiteral("SP"), const QString& laboratory = QStringLiteral("LAB"))
    {
        const int order = 100 + data.m_nextKey++;
        const auto q = [](const QString& text) { return text.isNull() ? QStringLiteral("null") : sqlLiteral(text); };
        s_suite->execMain(QStringLiteral("insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO, PACIENTE, MEDICO, "
                                         "CONSELHOPROFISSIONAL, CRM, UFCONSELHO) values ('02', %1, %2, 'Pedido', %3, "
                                         "'DR JOSE', %4, %5, %6)")
                              .arg(order)
                              .arg(q(date), q(patient), q(council), q(number), q(state)));
        if (drugstore) {
            s_suite->execMain(QStringLiteral("insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, "
                                             "NUMERONOTIFICACAO, LABORATORIO) values ('02', %1, %2, 'X', %3, %4, %5)")
                                  .arg(order)
                                  .arg(q(codigo), QString::number(quantity), q(notification), q(laboratory)));
            return;
        }
        s_suite->execMain(QStringLiteral("insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, NUMERONOTIFICACAO, LABORATORIO) "
                                         "values ('02', %1, 1, %2, %3)")
                              .arg(order)
                              .arg(q(notification), q(laboratory)));
        s_suite->execMain(QStringLiteral("insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, "
                                         "QDEESTOQUE, UNID, LOTE, FORNECEDOR) values ('02', %1, 1, 'X', %2, %3, 'G', "
                                         "'L1', 'ABC')")
                              .arg(order)
                              .arg(q(codigo), QString::number(quantity)));
    }

    forms::BalanceForm balance(PeriodicForm form, const forms::FormPeriod& period = kSecondQuarter)
    {
        return forms::buildBalance(*dm, form, kStore, period);
    }

    int balanceCommand(const QString& form, const QString& quarter, const QString& csv, const QString& year = {})
    {
        return cli::runBalanceCommand(*dm, form, quarter, year, kStore, {QString(), csv});
    }

    static QString readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
    }

    TestData data{*s_suite};
    std::unique_ptr<data::TDM> dm;
    QTemporaryDir folder;
};

} // namespace

TEST(FormPeriods, QuartersYearsAndMonthsAndTheirRefusals)
{
    const auto third = forms::quarterPeriod("3/2026");
    ASSERT_TRUE(third);
    EXPECT_EQ(third->first, QDate(2026, 7, 1));
    EXPECT_EQ(third->last, QDate(2026, 9, 30));
    EXPECT_EQ(forms::monthPeriod("02/2024")->last, QDate(2024, 2, 29));
    for (const char* bad : {"0/2026", "3/26", "13/2026", "226", "3-2026"})
        EXPECT_FALSE(forms::quarterPeriod(bad) || forms::monthPeriod(bad) || forms::yearPeriod(bad)) << bad;
}

TEST_F(Forms, BalanceOfSubstancesInTheBooksUnitWithItsAcquisitions)
{
    // Two products of one substance make one line; a purchase in KG counts in grams.
    data.component("C001", "Morfina", "G", "A1", "DCB01");
    data.component("C002", "Morfina base", "G", "A1", "DCB01");
    data.component("C003", "Diazepam", "G", "B1", "DCB02");
    data.inventory("2024-04-01", "C001", 10, "G");
    data.inventory("2024-04-01", "C002", 2, "G");
    data.inventory("2024-04-01", "C003", 7, "G");
    data.entry("2024-04-05", "C001", 0.5, "KG");
    data.exit("2024-05-03", "C002", 1.5, "G");
    data.loss("2024-06-30", "DCB02", 2, "G", "Quebra");
    data.entry("2024-07-01", "C003", 100, "G");  // after the quarter
    data.component("C004", "Efedrina", "G", "D1", "DCB04");  // a precursor: in no classic book
    data.inventory("2024-04-01", "C004", 3, "G");
    data.entry("2024-04-08", "C004", 2, "G");

    const forms::BalanceForm form = balance(PeriodicForm::Bspo);
    ASSERT_TRUE(form.withoutOpening.isEmpty());
    ASSERT_EQ(form.rows.size(), 3u);
    EXPECT_DOUBLE_EQ(form.rows[2].closing(), 5);
    EXPECT_EQ(form.rows[0].dcb, "DCB01");
    EXPECT_DOUBLE_EQ(form.rows[0].opening, 12);
    EXPECT_DOUBLE_EQ(form.rows[0].entries, 500);
    EXPECT_DOUBLE_EQ(form.rows[0].exits, 1.5);
    EXPECT_DOUBLE_EQ(form.rows[0].closing(), 510.5);
    EXPECT_DOUBLE_EQ(form.rows[1].losses, 2);
    EXPECT_DOUBLE_EQ(form.rows[1].closing(), 5);
    EXPECT_FALSE(form.withoutMovement());
    ASSERT_EQ(form.acquisitions.size(), 2u);
    EXPECT_EQ(form.acquisitions[0].supplier, "ABC");
    EXPECT_EQ(form.acquisitions[0].supplierCnpj, "11222333000181");
    EXPECT_EQ(form.acquisitions[0].invoice, "NF1");
    EXPECT_DOUBLE_EQ(form.acquisitions[0].quantity, 500);

    const QString csv = folder.filePath("bspo.csv");
    EXPECT_EQ(balanceCommand("BSPO", "2/2024", csv), 0);
    const QStringList lines = readAll(csv).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith("ESTOQUE_INICIAL;ENTRADAS;SAIDAS;PERDAS;ESTOQUE_FINAL"));
    EXPECT_EQ(lines[1], "DCB01;Morfina;;G;12,0000;500,0000;1,5000;0,0000;510,5000");
}

TEST_F(Forms, BalanceOfMedicinesCountsTheDrugstoreSalesOfTheStore)
{
    data.component("M001", "Rivotril 2 mg", "CX", "B1", "DCB03", "REV");
    s_suite->execMain("update COMPONEN set REGMSMEDICAM = '1010000010011' where CODIGO = 'M001'");
    data.inventory("2024-04-01", "M001", 20, "CX");
    data.entry("2024-04-02", "M001", 10, "CX");
    sale("2024-04-10", "M001", 3, "B123", true);
    sale("2024-04-11", "M001", 4, "B124", true, "ANA", "CRM", "1", "SP", "OUTRO");  // another laboratory
    data.store(kOtherStore, "OUTRO");
    // A medicine's loss is found by its name, as the drugstore book finds it.
    s_suite->execMain(QStringLiteral("insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, "
                                     "UNIDADE, MOTIVO) values ('%1', '2024-05-20', null, 'Rivotril 2 mg', 'ABC', 'L1', "
                                     "1, 'CX', 'Quebra')")
                          .arg(kStore));

    const forms::BalanceForm form = balance(PeriodicForm::Bmpo);
    ASSERT_EQ(form.rows.size(), 1u);
    EXPECT_EQ(form.rows[0].registration, "1010000010011");
    EXPECT_DOUBLE_EQ(form.rows[0].entries, 10);
    EXPECT_DOUBLE_EQ(form.rows[0].exits, 3);
    EXPECT_DOUBLE_EQ(form.rows[0].losses, 1);
    EXPECT_DOUBLE_EQ(form.rows[0].closing(), 26);
    EXPECT_TRUE(balance(PeriodicForm::Bspo).rows.empty());  // a medicine is no substance of the BSPO
}

TEST_F(Forms, AProductThatMovedWithoutOpeningInventoryIsRefusedByName)
{
    data.component("C001", "Morfina", "G", "A1", "DCB01");
    data.component("C002", "Codeina", "G", "A2", "DCB02");  // never counted nor moved: left out
    data.entry("2024-04-05", "C001", 5, "G");
    const forms::BalanceForm form = balance(PeriodicForm::Bspo);
    EXPECT_EQ(form.withoutOpening, QStringList{"Morfina (C001)"});

    const QString csv = folder.filePath("refused.csv");
    livros::testing::MessageRecorder messages;
    EXPECT_EQ(balanceCommand("BSPO", "2/2024", csv), 3);
    EXPECT_TRUE(messages.all.join(QLatin1Char(10)).contains("Morfina (C001)")) << messages.all.join(QLatin1Char(10)).toStdString();
    EXPECT_FALSE(QFile::exists(csv));
}

TEST_F(Forms, AnEmptyPeriodGivesTheFormWithoutMovementAndBadOptionsAreUsageErrors)
{
    data.component("C001", "Morfina", "G", "A1", "DCB01");
    data.inventory("2024-01-01", "C001", 10, "G");
    const forms::BalanceForm form = balance(PeriodicForm::Bspo, *forms::quarterPeriod("1/2024"));
    EXPECT_TRUE(form.withoutMovement());
    const QString csv = folder.filePath("empty.csv");
    EXPECT_EQ(balanceCommand("BSPO", "1/2024", csv), 0);
    EXPECT_TRUE(readAll(csv).contains("DCB01;Morfina;;G;10,0000;0,0000;0,0000;0,0000;10,0000"));

    livros::testing::MessageRecorder messages;
    EXPECT_EQ(balanceCommand("RMNRA", "1/2024", csv), 2);
    EXPECT_EQ(balanceCommand("BSPO", "5/2024", csv), 2);
    EXPECT_EQ(balanceCommand("BSPO", "1/2024", csv, "2024"), 2);  // quarter and year
    EXPECT_EQ(balanceCommand("BSPO", "1/2024", QString()), 2);    // no output
    EXPECT_EQ(cli::runBalanceCommand(*dm, "BSPO", "1/2024", QString(), kStore, {"-", "-"}), 2);
    EXPECT_EQ(cli::runNotificationsCommand(*dm, "RMNRA", "13/2024", kStore, {QString(), csv}), 2);
    EXPECT_EQ(cli::runNotificationsCommand(*dm, "BSPO", "05/2024", kStore, {QString(), csv}), 2);
}

TEST_F(Forms, RelationsListTheMonthsNotificationsOfTheirListsAndStore)
{
    data.component("C001", "Morfina", "G", "A1", "DCB01");
    data.component("C002", "Anfepramona", "G", "B2", "DCB02");
    data.component("C003", "Diazepam", "G", "B1", "DCB03");
    data.component("M001", "Codeina 30 mg", "CX", "A2", "DCB04", "REV");
    data.store(kOtherStore, "OUTRO");
    sale("2024-05-02", "C001", 0.3, "A0001");
    sale("2024-05-03", "M001", 2, "A0002", true);
    sale("2024-05-04", "C002", 1.2, "B20001");
    sale("2024-05-05", "C003", 0.1, "B0001");                                       // B1: no relation
    sale("2024-06-01", "C001", 0.3, "A0003");                                       // next month
    sale("2024-05-06", "C001", 0.3, "A0004", false, "ANA", "CRM", "1", "SP", "OUTRO");  // other store

    const auto rmnra = forms::buildRelation(*dm, PeriodicForm::Rmnra, kStore, kMay);
    ASSERT_EQ(rmnra.lines.size(), 2u);
    EXPECT_EQ(rmnra.lines[0].notification, "A0001");
    EXPECT_EQ(rmnra.lines[0].prescriber, "DR JOSE");
    EXPECT_EQ(rmnra.lines[1].notification, "A0002");
    EXPECT_DOUBLE_EQ(rmnra.lines[1].quantity, 2);
    const auto rmnrb2 = forms::buildRelation(*dm, PeriodicForm::Rmnrb2, kStore, kMay);
    ASSERT_EQ(rmnrb2.lines.size(), 1u);
    EXPECT_EQ(rmnrb2.lines[0].notification, "B20001");

    const QString csv = folder.filePath("rmnrb2.csv");
    EXPECT_EQ(cli::runNotificationsCommand(*dm, "RMNRB2", "05/2024", kStore, {QString(), csv}), 0);
    const QStringList lines = readAll(csv).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("NOTIFICACAO;DATA_NOTIFICACAO;"));
    // The notification's date and the quantity prescribed are not kept: blank, never guessed.
    EXPECT_EQ(lines[1], "B20001;;04/05/2024;02-" + lines[1].section(';', 3, 3).section('-', 1)
                            + ";DCB02;Anfepramona;DR JOSE;CRM;1234;SP;MARIA;;1,2000;G");
    EXPECT_TRUE(forms::buildRelation(*dm, PeriodicForm::Rmnrb2, kStore, *forms::monthPeriod("07/2024"))
                    .withoutMovement());
}

TEST(FormCsv, FieldsWithSeparatorsAreQuoted)
{
    forms::BalanceForm form;
    form.rows.push_back({"D1", "Sal; \"forte\"", "", "G", 1.23456, 0, 0, 0});
    EXPECT_TRUE(QString::fromUtf8(forms::balanceCsv(form)).contains("D1;\"Sal; \"\"forte\"\"\";;G;1,2346;"));
    EXPECT_EQ(forms::csvQuantity(-0.00001), "0,0000");
}

TEST(PrescriptionFindings, EachMissingDatumOnceWithItsOrderAndArticle)
{
    forms::ControlledSale base;
    base.date = QDate(2026, 10, 5);
    base.station = "01";
    base.order = "7";
    base.patient = "MARIA";
    base.prescriber = "DR JOSE";
    base.council = "CRM";
    base.councilNumber = "1234";
    base.councilState = "SP";
    base.codigo = "C1";
    base.name = "Diazepam";
    base.lista = "B1";
    base.notification = "B0001";

    auto withoutNotification = base;
    withoutNotification.notification.clear();
    auto cut = base;
    cut.order = "8";
    cut.notification = "2411.1-00.00";  // 14 digits cut to the column's 12 characters
    auto rce = base;                     // C1 is sold on a Receita de Controle Especial
    rce.order = "9";
    rce.lista = "C1";
    rce.notification.clear();
    rce.patient.clear();
    rce.councilState.clear();
    auto secondProduct = rce;            // the same order: its prescriber and patient once

    const auto findings = check::prescriptionFindings({base, withoutNotification, cut, rce, secondProduct});
    ASSERT_EQ(findings.size(), 4u);
    EXPECT_EQ(findings[0].kind, check::FindingKind::NotificationMissing);
    EXPECT_TRUE(findings[0].rows.contains("pedido 01-7")) << findings[0].rows.toStdString();
    EXPECT_TRUE(findings[0].rows.contains("MARIA"));
    EXPECT_TRUE(findings[0].rows.contains("art. 35"));
    EXPECT_EQ(findings[1].kind, check::FindingKind::NotificationNumberCut);
    EXPECT_EQ(findings[2].kind, check::FindingKind::PrescriberIncomplete);
    EXPECT_TRUE(findings[2].rows.contains("UF do conselho"));
    EXPECT_EQ(findings[3].kind, check::FindingKind::PatientMissing);
    EXPECT_FALSE(check::isCutNationalNumber("B0001"));
    EXPECT_FALSE(check::isCutNationalNumber("2411.1-00.0000001"));
}

TEST_F(Forms, TheCheckReportsABOneSaleWithoutNotification)
{
    data.component("C003", "Diazepam", "G", "B1", "DCB03");
    data.inventory("2024-05-01", "C003", 7, "G");
    sale("2024-05-05", "C003", 0.1, QString());
    const check::CheckReport report = check::checkStoreData(*dm, kStore, kMay.first, kMay.last);
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].kind, check::FindingKind::NotificationMissing);
    EXPECT_EQ(report.findings[0].date, QDate(2024, 5, 5));
    const QString text = check::checkReportText(report).join('\n');
    EXPECT_TRUE(text.contains("Venda controlada sem notificação de receita")) << text.toStdString();

    QString output;
    QTextStream out(&output);
    EXPECT_EQ(cli::runCheckCommand(*dm, kStore, "01/05/24", "31/05/24", QString(), out), 3);
    EXPECT_TRUE(output.contains("Diazepam")) << output.toStdString();
}

TEST_F(Forms, ThePrintedFormsCarryTheCoverTheirLinesAndTheSignatureBoxes)
{
    QDir().mkpath(livros::programFolder() + "rpt");
    const QString project = livros::programFolder() + "rpt/Formularios.rav";
    QFile::remove(project);
    ASSERT_TRUE(QFile::copy(LIVROS_SOURCE_DIR "/rpt/Formularios.rav", project));
    s_suite->execMain("insert into DADOSGER (FIRMA, ENDERECO, NUMERO, CIDADE, ESTADO, CNPJ, NLICENCA_FUNC, "
                      "PREENCHIDOPORBSPO, CRF_Q, REGIAO, DATABSPO) values ('FARMACIA TESTE LTDA', 'RUA A', '10', "
                      "'CAMPINAS', 'SP', '12345678000199', 'LF-778', 'ANA FARMACEUTICA', '12345', 'Campinas', "
                      "'2024-07-05')");
    data.component("C001", "Morfina", "G", "A1", "DCB01");
    data.inventory("2024-04-01", "C001", 10, "G");
    data.entry("2024-04-05", "C001", 5, "G");

    const QString pdf = folder.filePath("bspo.pdf");
    EXPECT_EQ(cli::runBalanceCommand(*dm, "BSPO", "2/2024", QString(), kStore, {pdf, QString()}), 0);
    QString text = livros::report::testing::pdfPages(pdf).join('\n').simplified();
    for (const char* expected : {"FARMACIA TESTE LTDA", "CNPJ 12.345.678/0001-99", "Licença de funcionamento nº LF-778",
                                 "2º trimestre de 2024", "BSPO - Balanço de Substâncias", "DCB01 Morfina",
                                 "Balanço das aquisições", "NF1", "11.222.333/0001-81", "Nome: ANA FARMACEUTICA",
                                 "CRF: 12345", "Data: 05/07/2024", "Recebido por", "Cargo"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("SEM MOVIMENTAÇÃO"));

    // A month without notifications still gets its form.
    const QString relation = folder.filePath("rmnra.pdf");
    EXPECT_EQ(cli::runNotificationsCommand(*dm, "RMNRA", "05/2024", kStore, {relation, QString()}), 0);
    text = livros::report::testing::pdfPages(relation).join('\n').simplified();
    EXPECT_TRUE(text.contains("SEM MOVIMENTAÇÃO")) << text.toStdString();
    EXPECT_TRUE(text.contains("RMNRA - Relação Mensal de Notificações de Receita \"A\"")) << text.toStdString();
}
