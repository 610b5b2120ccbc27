// The ledger's readings on a real database: keys that hold quotes, a product code wider than the
// movement tables' own, and a book larger than one list of keys.
#include "book/ledger/ledger.h"
#include "book/ledger/store_scope.h"
#include "data/data_module.h"
#include "tests/support/shared_suite_test.h"

#include <gtest/gtest.h>

using namespace livros;
using namespace livros::ledger;

namespace {

const QString kStore = QStringLiteral("11222333000181");

class LedgerReadingTest : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        suite().clearAllTables();
        m_dm = suite().makeDataModule();
    }
    void TearDown() override
    {
        m_dm.reset();
        data::DM = nullptr;
    }
    std::unique_ptr<data::TDM> m_dm;
};

TEST_F(LedgerReadingTest, KeysWithQuotesWideCodesAndMoreThanOneListOfKeys)
{
    QStringList rows{QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB''1')").arg(kStore),
                     QStringLiteral("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('9', "
                                    "'D''Ávila', '2026-11-03', '%1')").arg(kStore),
                     QStringLiteral("insert into COMPRAS (NOTAFISCAL, FORNECEDOR, CODIGO, QUANTIDADE, UNIDADE) values "
                                    "('9', 'D''Ávila', 'C''1', 4, 'G')"),
                     QStringLiteral("insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, QUANTIDADE, UNIDADE) values "
                                    "('%1', '2026-11-04', 'D''1', 'Outro nome', 1, 'G')").arg(kStore)};
    std::vector<LedgerProduct> products{{QStringLiteral("C'1"), QStringLiteral("Ácido d'água"), QStringLiteral("D'1"),
                                         QStringLiteral("G")},
                                        {QStringLiteral("ABCDEFGHIJKLMNOPQRST"), QStringLiteral("Código longo"),
                                         QStringLiteral("D2"), QStringLiteral("G")}};
    // More products than one IN list holds, each counted on the first day.
    for (int i = 0; i < kKeysPerQuery + 100; ++i) {
        const QString code = QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0'));
        products.push_back({code, QStringLiteral("Produto %1").arg(i), QString(), QStringLiteral("G")});
        rows << QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2026-11-01', "
                               "'%1', %2, 'G', '%3')").arg(code).arg(i).arg(kStore);
    }
    suite().loadMain(rows);

    data::Query query(m_dm->sqlcon1, QStringLiteral("LedgerTestQuery"));
    const StoreScope scope = readStoreScope(query, kStore);
    EXPECT_EQ(scope.laboratories, QStringList{QStringLiteral("LAB'1")});
    Ledger ledger;
    ledger.read(query, scope, products, QDate(2026, 11, 1), QDate(2026, 11, 30));
    EXPECT_TRUE(ledger.storeCounted());
    EXPECT_TRUE(ledger.refusals().empty());

    const ProductLedger& quoted = ledger.product(0);
    ASSERT_EQ(quoted.movements[std::size_t(MovementKind::Entry)].size(), 1u);
    EXPECT_EQ(quoted.movements[std::size_t(MovementKind::Entry)][0].supplier, QStringLiteral("D'Ávila"));
    // A loss whose DCB is the product's only: counted for it whatever name it carries.
    EXPECT_EQ(quoted.movements[std::size_t(MovementKind::Loss)].size(), 1u);
    // A code wider than COMPRAS.CODIGO matches nothing there, and is no error.
    EXPECT_TRUE(ledger.product(1).movements[std::size_t(MovementKind::Entry)].empty());
    for (std::size_t i = 2; i < products.size(); ++i) {
        ASSERT_TRUE(ledger.product(i).opening.counted) << products[i].codigo.toStdString();
        EXPECT_EQ(ledger.product(i).opening.quantity, double(i - 2));
    }
}

} // namespace
