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
            const QString failure = classic::testing::buildClassicGroup(*dm, lists, store, demo.periodStart, demo.periodEnd, group);
            ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
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
            "select CODIGO, ESTOQUE from LIVROREVCONTR b where CNPJ = '%1' and ORDEM = "
            "(select max(ORDEM) from LIVROREVCONTR where CNPJ = b.CNPJ and CODIGO = b.CODIGO)").arg(store)));

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

// Rows the demo never makes, where the books' separate readings used to part: units of another
// size of the product's own, a negative correction invoice, and a store with two laboratories.
TEST(BooksAgree, UnitPairsNegativeQuantitiesAndTwoLaboratoriesCloseAlike)
{
    livros::testing::EmbeddedSuite suite;
    const QString store = QStringLiteral("11222333000181");
    suite.loadMain({
        "insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'LAB1')",
        "insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'LAB2')",
        "insert into TABLAB (LOJA, LABORATORIO) values ('99888777000166', 'LAB3')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values "
        "('C1', 'Morfina', 'MAN', 'G', 'Sim', 'A1', 'D1')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values "
        "('C2', 'Metadona', 'MAN', 'MG', 'Sim', 'A1', 'D2')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'C1', 10, 'G', '11222333000181')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'C2', 1, 'G', '11222333000181')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('1', 'F', '2024-05-02', '11222333000181')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('2', 'F', '2024-05-02', '11222333000181')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE) values ('1', 'C1', 'F', 'L', 1, 'KG')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE) values ('2', 'C1', 'F', 'L', -2, 'G')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE) values ('1', 'C2', 'F', 'L', 0.5, 'KG')",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('01', 1, '2024-05-03', 'Pedido')",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('01', 2, '2024-05-03', 'Pedido')",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('01', 3, '2024-05-03', 'Pedido')",
        "insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, LABORATORIO) values ('01', 1, 1, 'LAB1')",
        "insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, LABORATORIO) values ('01', 2, 1, 'LAB2')",
        "insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, LABORATORIO) values ('01', 3, 1, 'LAB3')",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, UNID) values "
        "('01', 1, 1, 'x', 'C1', 500, 'MG')",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, UNID) values "
        "('01', 2, 1, 'x', 'C1', 1, 'G')",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, UNID) values "
        "('01', 3, 1, 'x', 'C1', 7, 'G')",
        "insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO) values "
        "('11222333000181', '2024-05-04', 'D2', 'Metadona', 'F', 'L', 0.25, 'G', 'Quebra')",
    });
    const auto dm = suite.makeDataModule();
    const classic::ComponentLists lists = classic::loadComponentLists(*dm);
    classic::testing::RecordingView classicView;
    classic::ClassicPreparationRequest request;
    request.initialDateText = QStringLiteral("01/05/24");
    request.finalDateText = QStringLiteral("31/05/24");
    request.storeCnpj = store;
    request.selectedGroup = 1;
    request.lists = &lists;
    request.startStockProgram = false;
    ASSERT_EQ(classic::prepareClassicBook(*dm, classicView, request), classic::ClassicPreparationOutcome::Built)
        << classicView.messages.join(u'\n').toStdString();
    livros::testing::RecordingRevisedView view;
    ASSERT_EQ(revised::RevisedBookBuilder(*dm, view)
                  .build(revised::RevisedMode::InsumosCompleto, store, QDate(2024, 5, 1), QDate(2024, 5, 31))
                  .outcome,
              revised::RevisedBuildOutcome::Built)
        << view.messages.join(u'\n').toStdString();

    // C1: 10 g + 1 kg - 2 g - 500 mg (LAB1) - 1 g (LAB2) = 1006.5 g; LAB3 is another store's.
    // C2: 1 g = 1000 mg, + 0.5 kg - 0.25 g = 500750 mg.
    const QStringList classicClosing = suite.rowsMain(
        "select CODIGO, SALDO from LIVROCONTR b where ID = (select max(ID) from LIVROCONTR where CODIGO = b.CODIGO) "
        "order by CODIGO");
    const QStringList revisedClosing = suite.rowsMain(
        "select CODIGO, ESTOQUE from LIVROREVCONTR b where ORDEM = (select max(ORDEM) from LIVROREVCONTR where "
        "CODIGO = b.CODIGO) order by CODIGO");
    EXPECT_EQ(classicClosing, (QStringList{"C1|1006.5", "C2|500750"}));
    EXPECT_EQ(revisedClosing, classicClosing);
}
