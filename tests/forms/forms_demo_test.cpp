// The periodic forms on the demo data of 2026: each quarter's BSPO against the classic books of
// that quarter, substance by substance; the BMPO's closing stock is the next quarter's count; each
// month's RMNRA and RMNRB2 hold exactly the month's notifications of the store's sales.
#include "book/classic/classic_book_builder.h"
#include "book/classic/classic_sql.h"
#include "cli/demo_data.h"
#include "forms/balance_form.h"
#include "forms/notification_relation.h"

#include "classic_test_view.h"
#include "data/data_module.h"
#include "data/transaction.h"
#include "firebird_fixture.h"

#include <QSet>
#include <gtest/gtest.h>

#include <map>

using namespace livros;
using forms::PeriodicForm;

namespace {

struct SubstanceTotals {
    double opening = 0;
    double entries = 0;
    double exitsAndLosses = 0;
    double closing = 0;
};

class DemoForms : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        cli::DemoOptions options;
        options.firstDay = QDate(2026, 1, 1);
        s_demo = new cli::DemoData(cli::generateDemoData(options));
        s_suite = new livros::testing::EmbeddedSuite;
        s_suite->loadMain(s_demo->mainStatements);
        s_suite->loadInterface(s_demo->interfaceStatements);
    }
    static void TearDownTestSuite()
    {
        delete s_suite;
        delete s_demo;
    }
    void SetUp() override { dm = s_suite->makeDataModule(); }

    // The classic books of every group for the store and period, per DCB, as the walk wrote them;
    // the drugstore's products of the classic lists are left out, as the BSPO leaves them.
    std::map<QString, SubstanceTotals> classicBooks(const QString& store, const QDate& from, const QDate& to)
    {
        const QSet<QString> drugstore = [&] {
            const QStringList codes = s_suite->rowsMain(
                "select trim(CODIGO) from COMPONEN where upper(substring(GRUPO from 1 for 3)) = 'REV'");
            return QSet<QString>(codes.begin(), codes.end());
        }();
        const classic::ComponentLists lists = classic::loadComponentLists(*dm);
        std::map<QString, SubstanceTotals> totals;
        for (int group = 1; group <= classic::kListGroupCount; ++group) {
            std::map<QString, QString> dcbOf;
            for (const classic::ControlledComponent& product : *lists.group(group))
                dcbOf[product.codigo.trimmed()] = product.dcb.trimmed();
            classic::testing::RecordingView view;
            data::Transaction build(dm->sqlcon1, {QStringLiteral("LIVROCONTR")});
            build.execute(QLatin1String(classic::kDeleteBookSql));
            classic::ClassicBookBuilder builder(*dm, build, view, store, from, to);
            EXPECT_TRUE(builder.buildGroup(group, lists)) << view.messages.join('\n').toStdString();
            for (const classic::WalkedProduct& product : builder.walkedProducts()) {
                if (drugstore.contains(product.codigo.trimmed()))
                    continue;
                SubstanceTotals& substance = totals[dcbOf.at(product.codigo.trimmed())];
                substance.opening += product.opening;
                for (const double quantity : product.quantities)
                    (quantity >= 0 ? substance.entries : substance.exitsAndLosses) += std::abs(quantity);
                substance.closing += product.closing;
            }
            dm->SQLQuery1.close();
            dm->SQLQuery2.close();
            build.rollback();
        }
        return totals;
    }

    static inline cli::DemoData* s_demo = nullptr;
    static inline livros::testing::EmbeddedSuite* s_suite = nullptr;
    std::unique_ptr<data::TDM> dm;
};

} // namespace

TEST_F(DemoForms, EachQuartersBspoEqualsTheClassicBooksSubstanceBySubstance)
{
    for (const QString& store : s_demo->storeCnpjs)
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const forms::FormPeriod period = *forms::quarterPeriod(QStringLiteral("%1/2026").arg(quarter));
            SCOPED_TRACE(QStringLiteral("store %1, %2").arg(store, period.text()).toStdString());
            const forms::BalanceForm bspo = forms::buildBalance(*dm, PeriodicForm::Bspo, store, period);
            EXPECT_TRUE(bspo.withoutOpening.isEmpty()) << bspo.withoutOpening.join(", ").toStdString();
            std::map<QString, SubstanceTotals> form;
            for (const forms::BalanceRow& row : bspo.rows) {
                SubstanceTotals& substance = form[row.dcb];
                substance.opening += row.opening;
                substance.entries += row.entries;
                substance.exitsAndLosses += row.exits + row.losses;
                substance.closing += row.closing();
            }
            const std::map<QString, SubstanceTotals> books = classicBooks(store, period.first, period.last);
            ASSERT_FALSE(books.empty());
            ASSERT_EQ(form.size(), books.size());
            for (const auto& [dcb, book] : books) {
                SCOPED_TRACE(dcb.toStdString());
                ASSERT_TRUE(form.count(dcb));
                const SubstanceTotals& line = form.at(dcb);
                EXPECT_NEAR(line.opening, book.opening, 1e-6);
                EXPECT_NEAR(line.entries, book.entries, 1e-6);
                EXPECT_NEAR(line.exitsAndLosses, book.exitsAndLosses, 1e-6);
                EXPECT_NEAR(line.closing, book.closing, 1e-6);
            }
        }
}

TEST_F(DemoForms, EachQuartersBmpoClosesAtTheNextQuartersCount)
{
    const QString store = s_demo->storeCnpjs.first();
    std::map<QString, double> previousClosing;
    int sold = 0;
    for (int quarter = 1; quarter <= 4; ++quarter) {
        const forms::BalanceForm bmpo =
            forms::buildBalance(*dm, PeriodicForm::Bmpo, store, *forms::quarterPeriod(QStringLiteral("%1/2026").arg(quarter)));
        ASSERT_TRUE(bmpo.withoutOpening.isEmpty());
        ASSERT_FALSE(bmpo.rows.empty());
        for (const forms::BalanceRow& row : bmpo.rows) {
            const QString key = row.name + '|' + row.registration;
            if (previousClosing.count(key))
                EXPECT_NEAR(row.opening, previousClosing.at(key), 1e-6) << key.toStdString() << " Q" << quarter;
            previousClosing[key] = row.closing();
            sold += row.exits > 0;
        }
    }
    EXPECT_GT(sold, 0);  // the drugstore's sales are in the balance
}

TEST_F(DemoForms, EachMonthsRelationsHoldExactlyTheMonthsNotificationsOfTheirLists)
{
    const QString store = s_demo->storeCnpjs.first();
    int seen = 0;
    for (int month = 1; month <= 12; ++month) {
        const forms::FormPeriod period = *forms::monthPeriod(QStringLiteral("%1/2026").arg(month));
        for (const auto& [form, lists] : {std::pair{PeriodicForm::Rmnra, QStringLiteral("'A1', 'A2', 'A3'")},
                                          std::pair{PeriodicForm::Rmnrb2, QStringLiteral("'B2'")}}) {
            // The notifications of the month's sales of the store's laboratory, each kind of sale
            // read on its own.
            const QString where =
                QStringLiteral(" and exists (select 1 from PEDIDOS P where P.ESTACAO = X.ESTACAO and P.NPEDIDO = "
                               "X.NPEDIDO and P.TIPOPEDIDO = 'Pedido' and P.DATAPEDIDO between '%1' and '%2') and "
                               "X.LABORATORIO = (select first 1 LABORATORIO from TABLAB where LOJA = '%3') and "
                               "X.NUMERONOTIFICACAO <> ''")
                    .arg(period.first.toString(Qt::ISODate), period.last.toString(Qt::ISODate), store);
            QStringList expected = s_suite->rowsMain(
                QStringLiteral("select X.NUMERONOTIFICACAO from ITENS X where X.CODPROD in (select CODIGO from "
                               "COMPONEN where LISTA in (%1))")
                    .arg(lists) + where);
            expected += s_suite->rowsMain(
                QStringLiteral("select X.NUMERONOTIFICACAO from PEDIFORM X where exists (select 1 from COMPEDID C "
                               "join COMPONEN K on K.CODIGO = C.CODIGOCOMP where C.ESTACAO = X.ESTACAO and C.NPEDIDO "
                               "= X.NPEDIDO and C.NFORMULA = X.NFORMULA and K.LISTA in (%1))")
                    .arg(lists) + where);
            QStringList listed;
            for (const forms::ControlledSale& line : forms::buildRelation(*dm, form, store, period).lines)
                listed << line.notification;
            expected.sort();
            listed.sort();
            EXPECT_EQ(listed, expected) << forms::formKeyword(form).toStdString() << ' ' << month;
            seen += int(listed.size());
        }
    }
    EXPECT_GT(seen, 0);
}
