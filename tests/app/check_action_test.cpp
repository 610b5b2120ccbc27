// "Conferência" on the period panel: the check of the chosen store's data for the period, read
// only, in the books' preview; a bad date or a failed run leaves the panel usable.
#include "window_fixture.h"

#include "../classic/classic_test_data.h"
#include "app/date_mask_edit.h"
#include "platform/suite_paths.h"

#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace livros::app;
using namespace livros::app::testing;
using livros::classic::testing::kStore;

class CheckActionTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        addStore(kStore);
        setCompanyCnpj(kStore);
        setPeriod("2024-05-01", "2024-05-31");
        data.component("C001", "Morfina", "G", "A1", "D1");
        data.inventory("2024-05-01", "C001", 10, "G");
        data.exit("2024-05-20", "C001", 3, "G");
        data.inventory("2024-06-01", "C001", 7, "G");
    }

    livros::classic::testing::TestData data{suite()};
};

TEST_F(CheckActionTest, ButtonInEveryModeShowsNothingFoundOnCleanData)
{
    RecordingInteraction& shown = useReports();
    openWindow(RunMode::Classic);
    QTest::mouseClick(form->BotEntorpecentes, Qt::LeftButton);
    ASSERT_EQ(screenState(), QString("period entry"));
    ASSERT_TRUE(form->BotConferencia->isVisible());
    QTest::mouseClick(form->BotConferencia, Qt::LeftButton);
    EXPECT_EQ(shown.previews, 1);
    EXPECT_TRUE(shown.previewText.contains("Nada encontrado.")) << shown.previewText.toStdString();
    EXPECT_TRUE(shown.previewText.contains("Período: 01/05/2024 a 31/05/2024"));
    EXPECT_EQ(suite().scalarMain("select count(*) from LIVROCONTR"), "0");
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
    form.reset();
    dm->Periodo.close();

    // Beside the map in the SIPROQUIM mode, alone in the others.
    for (RunMode mode : {RunMode::Drogaria, RunMode::Siproquim}) {
        openWindow(mode);
        EXPECT_TRUE(form->BotConferencia->isVisible());
        EXPECT_EQ(form->BotMapaSiproquim->isVisible(), mode == RunMode::Siproquim);
        if (mode == RunMode::Siproquim)
            EXPECT_FALSE(form->BotConferencia->geometry().intersects(form->BotMapaSiproquim->geometry()));
        form.reset();
        dm->Periodo.close();
    }
}

TEST_F(CheckActionTest, OddDataShowsTheFindingsAndFailuresLeaveThePanelUsable)
{
    RecordingInteraction& shown = useReports();
    data.inventory("2024-05-01", "C001", 10, "G");  // a second opening count
    openWindow(RunMode::Drogaria);
    QTest::mouseClick(form->BotConferencia, Qt::LeftButton);
    ASSERT_EQ(shown.previews, 1);
    EXPECT_TRUE(shown.previewText.contains("Dois ou mais inventários do produto no mesmo dia")) << shown.previewText.toStdString();
    EXPECT_TRUE(shown.previewText.contains("2 linhas em BALANCOS: 10 G; 10 G"));
    EXPECT_FALSE(shown.previewText.contains("Nada encontrado."));

    // A final date before the initial one is refused before anything is read.
    form->MaskEdit2->setMaskText("30/04/24");
    QTest::mouseClick(form->BotConferencia, Qt::LeftButton);
    EXPECT_EQ(messages->infos, QStringList({"Data Final incorreta. Corrija e tente novamente."}));
    EXPECT_EQ(shown.previews, 1);

    // Without its project file the run says so and the window goes on.
    form->MaskEdit2->setMaskText("31/05/24");
    QFile::remove(livros::localPath(suite().folder() + "rpt\\Conferencia.rav"));
    QTest::mouseClick(form->BotConferencia, Qt::LeftButton);
    ASSERT_EQ(messages->errors.size(), 1);
    EXPECT_TRUE(messages->errors.first().contains("Conferencia.rav")) << messages->errors.first().toStdString();
    EXPECT_EQ(shown.previews, 1);
    EXPECT_EQ(screenState(), QString("period entry"));
}
