// The two books on the demo data: for every store and the PERIODO month, the four classic
// list-group books and the compounding book (INSUMOSCOMPLETO) close every input they share at the
// same stock, except where their rules differ by design.
#include "book/classic/classic_preparation.h"
#include "recording_revised_view.h"
#include "book/classic/component_lists.h"
#include "book/revised/revised_book_builder.h"
#include "cli/demo_data.h"
#include "data/data_module.h"
#include "firebird_fixture.h"
#include "platform/date_text.h"
#include "tests/classic/classic_test_view.h"

#include <QHash>
#include <QSet>
#include <gtest/gtest.h>

using namespace livros;

namespace {

// "CODE|number" rows as a map.
QHash<QString, double> numbersByCode(const QStringList& rows)
{
    QHash<QString, double> out;
    for (const QString& row : rows)
        out[row.section(u'|', 0, 0)] = row.section(u'|', 1, 1).toDouble();
    return out;
}

} // namespace

TEST(BooksAgree, ClassicAndCompoundingBooksCloseEveryInputAlike)
{
    livros::testing::EmbeddedSuite suite;
    cli::DemoOptions options;
    options.firstDay = QDate(2025, 1, 1);  // a fixed year: the period is December 2025
    const cli::DemoData demo = cli::generateDemoData(options);
    suite.loadMain(demo.mainStatements);
    suite.loadInterface(demo.interfaceStatements);
    const auto dm = suite.makeDataModule();
    const QString start = demo.periodStart.toString(Qt::ISODate);
    const QString period = QStringLiteral(" between '%1' and '%2'").arg(start, demo.periodEnd.toString(Qt::ISODate));

    int compared = 0;
    for (const QString& store : demo.storeCnpjs) {
        QHash<QString, double> classic = numbersByCode(suite.rowsMain(
            QStringLiteral("select CODIGO, QDE from BALANCOS where DATABALANCO = '%1' and LOJA = '%2'").arg(start, store)));
        QSet<QString> classicCodes;
        const classic::ComponentLists lists = classic::loadComponentLists(*dm);
        for (int group = 1; group <= classic::kListGroupCount; ++group) {
            classic::testing::RecordingView view;
            classic::ClassicPreparationRequest request;
            request.initialDateText = dateText(demo.periodStart);
            request.finalDateText = dateText(demo.periodEnd);
            request.storeCnpj = store;
            request.selectedGroup = group;
            request.lists = &lists;
            request.startStockProgram = false;
            ASSERT_EQ(classic::prepareClassicBook(*dm, view, request), classic::ClassicPreparationOutcome::Built)
                << view.messages.join(u'\n').toStdString();
            for (const classic::ControlledComponent& component : *lists.group(group))
                classicCodes << component.codigo;
            // A product without lines closes at its opening stock.
            const QHash<QString, double> closing = numbersByCode(suite.rowsMain(QStringLiteral(
                "select CODIGO, SALDO from LIVROCONTR b where ID = (select max(ID) from LIVROCONTR where CODIGO = b.CODIGO)")));
            for (auto it = closing.cbegin(); it != closing.cend(); ++it)
                classic[it.key()] = it.value();
        }

        livros::testing::RecordingRevisedView view;
        const revised::RevisedBuildResult built = revised::RevisedBookBuilder(*dm, view).build(
            revised::RevisedMode::InsumosCompleto, store, demo.periodStart, demo.periodEnd);
        ASSERT_EQ(built.outcome, revised::RevisedBuildOutcome::Built) << built.failureReason.toStdString();
        const QHash<QString, double> compounding = numbersByCode(suite.rowsMain(QStringLiteral(
            "select CODIGO, ESTOQUE from LIVROREVCONTR b where CNPJ = '%1' and ID = "
            "(select max(ID) from LIVROREVCONTR where CNPJ = b.CNPJ and CODIGO = b.CODIGO)").arg(store)));

        // Remakes of a faulty preparation ("Repos") take stock in the classic book only.
        const QHash<QString, double> remakes = numbersByCode(suite.rowsMain(QStringLiteral(
            "select c.CODIGOCOMP, sum(c.QDEESTOQUE) from PEDIDOS p "
            "join PEDIFORM f on f.ESTACAO = p.ESTACAO and f.NPEDIDO = p.NPEDIDO "
            "join COMPEDID c on c.ESTACAO = f.ESTACAO and c.NPEDIDO = f.NPEDIDO and c.NFORMULA = f.NFORMULA "
            "where p.TIPOPEDIDO = 'Repos' and f.LABORATORIO = (select first 1 LABORATORIO from TABLAB where LOJA = '%1') "
            "and p.DATAPEDIDO%2 group by c.CODIGOCOMP").arg(store, period)));

        for (const QString& code : classicCodes) {
            if (!compounding.contains(code))
                continue;
            EXPECT_NEAR(compounding.value(code), classic.value(code) + remakes.value(code), 5e-4)
                << "store " << store.toStdString() << ", product " << code.toStdString();
            ++compared;
        }
    }
    // Every input of the three stores is compared.
    EXPECT_GT(compared, 100);
}
