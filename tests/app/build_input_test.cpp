// The window during a build: clicks meant for it are dropped (nothing starts inside the build),
// and Esc or closing stops the build at its next step, rolled back with the previous book kept,
// and ends the program.
#include "app/build_input_block.h"
#include "window_fixture.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace livros::app;
using namespace livros::app::testing;

namespace {

class BuildInputTest : public WindowTest {
protected:
    // A store with four compounding inputs and a previous book, in the period entry of the mode.
    void openCompoundingBuild()
    {
        useReports();
        addStore(QStringLiteral("11222333000181"));
        setCompanyCnpj(QStringLiteral("11222333000181"));
        setPeriod("2024-05-01", "2024-05-31");
        for (int i = 1; i <= 4; ++i)
            suite().execMain(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) "
                                            "values ('K%1', 'Insumo %1', 'INS', 'G', 'Sim', 'B1', '0%1')").arg(i));
        // The store counted its stock on the period's first day, as a revised build requires.
        suite().execMain("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                         "('2024-05-01', 'K1', 1, 'G', '11222333000181')");
        suite().execMain("insert into LIVROREVCONTR (ID, CNPJ, DATA, DCB) values (1, '11222333000181', '2024-01-01', 'OLD')");
        openWindow(RunMode::InsumosCompleto);
        ASSERT_EQ(screenState(), QString("period entry"));
    }

    // Runs `atStep` at each step of the build where the window processes its events (1 first).
    void buildWith(const std::function<void(int)>& atStep)
    {
        int step = 0;
        QTimer steps;
        steps.setInterval(0);
        QObject::connect(&steps, &QTimer::timeout, [&] { atStep(++step); });
        steps.start();
        QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
        steps.stop();
        EXPECT_GE(step, 3) << "the build processed events fewer times than the test needs";
    }

    QString oldLines() { return suite().scalarMain("select count(*) from LIVROREVCONTR where DCB = 'OLD'"); }
};

} // namespace

TEST_F(BuildInputTest, ClicksDuringTheBuildStartNothingAndEscStopsItRolledBack)
{
    openCompoundingBuild();
    buildWith([&](int step) {
        if (step == 1 || step == 2) // another build, and the check, inside this one's transaction
            QTest::mouseClick(step == 1 ? form->BotDesfPrep : control<QPushButton>("BotConferencia"), Qt::LeftButton);
        if (step == 3)
            QTest::keyClick(form.get(), Qt::Key_Escape);
    });
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
    EXPECT_EQ(oldLines(), QString("1")); // rolled back: the previous book stays
    EXPECT_EQ(suite().scalarMain("select count(*) from LIVROREVCONTR"), QString("1"));
    EXPECT_EQ(screenState(), QString("closed"));
}

TEST_F(BuildInputTest, ClosingTheWindowDuringTheBuildStopsItRolledBack)
{
    openCompoundingBuild();
    buildWith([&](int step) {
        if (step == 3)
            form->close();
    });
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
    EXPECT_EQ(oldLines(), QString("1"));
    EXPECT_EQ(screenState(), QString("closed"));

    // Without a stop the same build replaces the book.
    BuildInputBlock::requestStop(); // no build runs: nothing to stop, nothing kept for later
    openWindow(RunMode::InsumosCompleto);
    ASSERT_EQ(screenState(), QString("period entry"));
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    EXPECT_EQ(oldLines(), QString("0"));
}
