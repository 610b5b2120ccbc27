// "Balanços e relações" on the book choice: the chosen form of the store in the books' preview; a
// bad period or a product without opening inventory is said and leaves the book choice usable.
#include "window_fixture.h"

#include "../classic/classic_test_data.h"

#include <QPushButton>
#include <QTest>

using namespace livros::app;
using namespace livros::app::testing;
using livros::classic::testing::kStore;

class FormsActionTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        addStore(kStore);
        setCompanyCnpj(kStore);
        setPeriod("2024-05-01", "2024-05-31");
        data.component("C001", "Morfina", "G", "A1", "D1");
        data.inventory("2024-04-01", "C001", 10, "G");
        data.exit("2024-05-20", "C001", 3, "G");
    }

    void ask(const QString& form, const QString& period)
    {
        form_->chooseForm = [form, period] { return std::optional<FormChoice>(FormChoice{form, period}); };
        QTest::mouseClick(form_->BotFormularios, Qt::LeftButton);
    }

    livros::classic::testing::TestData data{suite()};
    TFormLivros* form_ = nullptr;
};

TEST_F(FormsActionTest, TheChosenFormIsPreviewedAndRefusalsLeaveTheBookChoiceUsable)
{
    RecordingInteraction& shown = useReports();
    form_ = &openWindow(RunMode::Classic);
    ASSERT_EQ(screenState(), QString("book choice"));
    ASSERT_TRUE(form_->BotFormularios->isVisible());

    ask("BSPO", "2/2024");
    ASSERT_EQ(shown.previews, 1);
    EXPECT_TRUE(shown.previewText.contains("BSPO - Balanço de Substâncias")) << shown.previewText.toStdString();
    EXPECT_TRUE(shown.previewText.contains("2º trimestre de 2024"));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();

    ask("RMNRB2", "05/2024");
    ASSERT_EQ(shown.previews, 2);
    EXPECT_TRUE(shown.previewText.contains("SEM MOVIMENTAÇÃO")) << shown.previewText.toStdString();

    ask("BMPO", "5/2024");  // no such quarter
    EXPECT_EQ(shown.previews, 2);
    ASSERT_EQ(messages->infos.size(), 1);
    EXPECT_TRUE(messages->infos[0].startsWith("Período incorreto")) << messages->infos[0].toStdString();

    ask("BSPO", "3/2024");  // the product moved in the quarter before: no count on 1 July
    data.exit("2024-07-02", "C001", 1, "G");
    ask("BSPO", "3/2024");
    ASSERT_EQ(messages->infos.size(), 2);
    EXPECT_TRUE(messages->infos[1].contains("Morfina (C001)")) << messages->infos[1].toStdString();
    EXPECT_EQ(screenState(), QString("book choice"));
}
