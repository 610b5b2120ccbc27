// The period panel: the two date edits write PERIODO whenever they are left, Enter and Esc, the
// refusal of an incomplete year, the date conversion error and the cancel button in each mode.
#include "window_fixture.h"

#include "app/date_mask_edit.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QFrame>
#include <QPushButton>
#include <QTest>

using namespace livros::app;
using namespace livros::app::testing;

namespace {
const QString kRefusal = QStringLiteral("Valor de entrada inválido. Use a tecla Esc para abandonar as alterações.");
}

class PeriodPanelTest : public WindowTest {
protected:
    // A revised mode with one store opens the panel straight from the activation.
    void openRevised(RunMode mode = RunMode::Drogaria)
    {
        addStore(QStringLiteral("11222333000181"));
        setCompanyCnpj(QStringLiteral("11222333000181"));
        openWindow(mode);
        ASSERT_EQ(screenState(), QString("period entry"));
    }
    void openClassic()
    {
        addStore(QStringLiteral("11222333000181"));
        setCompanyCnpj(QStringLiteral("11222333000181"));
        openWindow(RunMode::Classic);
        QTest::mouseClick(form->BotEntorpecentes, Qt::LeftButton);
        ASSERT_EQ(screenState(), QString("period entry"));
    }
    // Types into an edit from its first position, as a person does after clicking into it.
    void typeInto(DateMaskEdit* edit, const QString& keys)
    {
        if (QApplication::focusWidget() != edit)
            QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        edit->home(false);
        QTest::keyClicks(edit, keys);
    }
};

TEST_F(PeriodPanelTest, EditsShowTheRecordAndReadAsTheMaskSays)
{
    setPeriod("2024-05-01", "2024-05-31");
    openRevised();
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("01/05/24"));
    EXPECT_EQ(form->MaskEdit2->maskText(), QString("31/05/24"));

    typeInto(form->MaskEdit1, "");
    // The empty edit reads with blanks and shows "_" for the untyped positions (Qt's own text()
    // would drop the blanks).
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("  /  /  "));
    EXPECT_EQ(form->MaskEdit1->displayText(), QString("__/__/__"));
    QTest::keyClicks(form->MaskEdit1, "0105");
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("01/05/  "));
    QTest::keyClicks(form->MaskEdit1, "24");
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("01/05/24"));
    // Letters are not taken.
    typeInto(form->MaskEdit1, "ab0x1");
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("01/  /  "));
}

TEST_F(PeriodPanelTest, EmptyPeriodOpensEmptyEditsAndTheFirstLeaveInsertsTheRow)
{
    openRevised();
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("  /  /  "));
    EXPECT_EQ(form->MaskEdit2->maskText(), QString("  /  /  "));
    typeInto(form->MaskEdit1, "010524");
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|NULL"}));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit2);
    typeInto(form->MaskEdit2, "310524");
    QTest::keyClick(form->MaskEdit2, Qt::Key_Tab);
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31"}));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(PeriodPanelTest, EnterInTheInitialDateWritesItAndMovesToTheFinalDate)
{
    setPeriod("2024-05-01", "2024-05-31");
    openRevised();
    typeInto(form->MaskEdit1, "020624");
    QTest::keyClick(form->MaskEdit1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit2);
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("02/06/24")); // the key typed nothing
    EXPECT_EQ(periodRows(), QStringList({"2024-06-02|2024-05-31"}));
}

TEST_F(PeriodPanelTest, EnterInTheFinalDateStartsThePreparationWithTheTextsAsShown)
{
    setPeriod("2024-05-01", "2024-05-31");
    openRevised();
    typeInto(form->MaskEdit1, "3102");
    QTest::mouseClick(form->MaskEdit2, Qt::LeftButton); // refused: the year is incomplete
    ASSERT_EQ(messages->errors, QStringList({kRefusal}));
    typeInto(form->MaskEdit1, "310224"); // no 31 February: the leave reports it and moves on
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    ASSERT_EQ(messages->errors.size(), 2);
    EXPECT_EQ(messages->errors.last(), QString("'31/02/24' não é uma data válida."));
    ASSERT_EQ(QApplication::focusWidget(), form->MaskEdit2);
    QTest::keyClick(form->MaskEdit2, Qt::Key_Enter);
    // The revised build read the initial date as the edit shows it, and reported it.
    EXPECT_EQ(messages->infos, QStringList({"Data Inicial incorreta. Corrija e tente novamente."}));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31"}));
}

TEST_F(PeriodPanelTest, LeavingWritesAtOnceEvenWhenTheUserThenCancels)
{
    setPeriod("2024-05-01", "2024-05-31");
    openClassic();
    typeInto(form->MaskEdit1, "150524");
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    EXPECT_EQ(periodRows(), QStringList({"2024-05-15|2024-05-31"}));
    // The last date typed is saved too when the cancel button is clicked: the click leaves it.
    typeInto(form->MaskEdit2, "200524");
    QTest::mouseClick(form->BotCancelaDesfazer, Qt::LeftButton);
    EXPECT_EQ(periodRows(), QStringList({"2024-05-15|2024-05-20"}));
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_FALSE(dm->Periodo.active());
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();

    // Opening the panel again reads the record anew.
    suite().execInterface("update PERIODO set DATAFINAL = '2024-07-31'");
    QTest::mouseClick(form->BotEntorpecentes, Qt::LeftButton);
    EXPECT_EQ(form->MaskEdit2->maskText(), QString("31/07/24"));
}

TEST_F(PeriodPanelTest, EscapeRestoresAChangedEditAndOtherwiseCancels)
{
    setPeriod("2024-05-01", "2024-05-31");
    openClassic();
    typeInto(form->MaskEdit1, "0906");
    QTest::keyClick(form->MaskEdit1, Qt::Key_Escape);
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("01/05/24"));
    EXPECT_EQ(screenState(), QString("period entry"));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);

    // Unchanged now: Esc presses "Cancelar" before the edit is left, so nothing is written into
    // the closed record and no error shows.
    QTest::keyClick(form->MaskEdit1, Qt::Key_Escape);
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31"}));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(PeriodPanelTest, EscapeInAnUnchangedEditEndsTheRevisedModes)
{
    setPeriod("2024-05-01", "2024-05-31");
    createMarker();
    openRevised(RunMode::InsumosCompleto);
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    QTest::keyClick(form->MaskEdit2, Qt::Key_Escape);
    EXPECT_EQ(screenState(), QString("closed"));
    EXPECT_FALSE(QFile::exists(markerPath()));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(PeriodPanelTest, SairLeavesTheEditSavesItAndEndsTheProgram)
{
    setPeriod("2024-05-01", "2024-05-31");
    openRevised(RunMode::Siproquim);
    EXPECT_EQ(form->BotCancelaDesfazer->text(), QString("Sair"));
    typeInto(form->MaskEdit1, "010424");
    QTest::mouseClick(form->BotCancelaDesfazer, Qt::LeftButton);
    EXPECT_EQ(screenState(), QString("closed"));
    EXPECT_EQ(periodRows(), QStringList({"2024-04-01|2024-05-31"}));
}

TEST_F(PeriodPanelTest, IncompleteYearIsRefusedWithABeepAndKeepsTheFocus)
{
    setPeriod("2024-05-01", "2024-05-31");
    openClassic();
    typeInto(form->MaskEdit1, "01062");
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    EXPECT_EQ(messages->errors, QStringList({kRefusal}));
    EXPECT_EQ(messages->beeps, 1);
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);

    // A click on the cancel button cannot leave it either: the click does nothing.
    QTest::mouseClick(form->BotCancelaDesfazer, Qt::LeftButton);
    EXPECT_EQ(messages->beeps, 2);
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);
    EXPECT_EQ(screenState(), QString("period entry"));
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31"}));

    // Esc abandons the change; then the edit can be left, and writes what it shows.
    QTest::keyClick(form->MaskEdit1, Qt::Key_Escape);
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit2);
    EXPECT_EQ(messages->errors.size(), 2);
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31"}));
}

TEST_F(PeriodPanelTest, TextThatIsNoDateIsReportedAndTheFocusMovesOn)
{
    setPeriod("2024-05-01", "2024-05-31");
    openClassic();
    // A day left blank.
    typeInto(form->MaskEdit1, "");
    QTest::keyClick(form->MaskEdit1, Qt::Key_Right);
    QTest::keyClick(form->MaskEdit1, Qt::Key_Right);
    QTest::keyClicks(form->MaskEdit1, "0524");
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("  /05/24"));
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    EXPECT_EQ(messages->errors, QStringList({"'  /05/24' não é uma data válida."}));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit2);
    // The record was not posted and stays in edit mode.
    EXPECT_EQ(dm->Periodo.state(), livros::data::CachedDataset::State::Edit);
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31"}));

    // The empty final edit passed with Tab (unchanged, so not refused).
    suite().execInterface("update PERIODO set DATAFINAL = NULL");
    form->BotCancelaDesfazer->click();
    QTest::mouseClick(form->BotEntorpecentes, Qt::LeftButton);
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    QTest::keyClick(form->MaskEdit2, Qt::Key_Tab);
    EXPECT_EQ(messages->errors.last(), QString("'  /  /  ' não é uma data válida."));
    EXPECT_EQ(messages->beeps, 0);
}

TEST_F(PeriodPanelTest, TwoDigitYearsFallWithinFiftyYearsBeforeAndFortyNineAfter)
{
    const int year = QDate::currentDate().year();
    const auto twoDigits = [](int y) { return QStringLiteral("%1").arg(y % 100, 2, 10, QLatin1Char('0')); };
    setPeriod("2024-05-01", "2024-05-31");
    openRevised();
    typeInto(form->MaskEdit1, "0101" + twoDigits(year + 49));
    typeInto(form->MaskEdit2, "0101" + twoDigits(year - 50));
    QTest::keyClick(form->MaskEdit2, Qt::Key_Tab);
    EXPECT_EQ(periodRows(), QStringList({QStringLiteral("%1-01-01|%2-01-01").arg(year + 49).arg(year - 50)}));
    typeInto(form->MaskEdit1, "0101" + twoDigits(year));
    typeInto(form->MaskEdit2, "0101" + twoDigits(year - 51));
    QTest::keyClick(form->MaskEdit2, Qt::Key_Tab);
    EXPECT_EQ(periodRows(), QStringList({QStringLiteral("%1-01-01|%2-01-01").arg(year).arg(year + 49)}));
}

TEST_F(PeriodPanelTest, DatabaseErrorWhilePostingIsShownAndTheRecordStays)
{
    setPeriod("2024-05-01", "2024-05-31");
    openClassic();
    // Another program of the suite changes the row meanwhile: the update finds it no more.
    suite().execInterface("update PERIODO set DATAFINAL = '2024-06-30'");
    typeInto(form->MaskEdit1, "020524");
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    ASSERT_EQ(messages->errors.size(), 1);
    EXPECT_EQ(messages->errors.first(), QString("Periodo: é preciso gravar as alterações antes de reler os dados."));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit2);
    EXPECT_EQ(screenState(), QString("period entry"));
}

TEST_F(PeriodPanelTest, SiproquimModeWritesTheMonthMapIntoTheChosenFolder)
{
    setPeriod("2026-11-01", "2026-11-30");
    openRevised(RunMode::Siproquim);
    ASSERT_TRUE(form->BotMapaSiproquim->isVisible());
    QTemporaryDir out;
    int asked = 0;
    form->chooseMapFolder = [&] { return ++asked == 1 ? QString() : out.path(); };
    QTest::mouseClick(form->BotMapaSiproquim, Qt::LeftButton); // cancelled: nothing written
    EXPECT_TRUE(QDir(out.path()).isEmpty());
    QTest::mouseClick(form->BotMapaSiproquim, Qt::LeftButton);
    QFile map(out.filePath(QStringLiteral("M2026NOV11222333000181.txt")));
    ASSERT_TRUE(map.open(QIODevice::ReadOnly));
    EXPECT_EQ(map.readAll(), QByteArray("EM11222333000181NOV202600001000\r\n")); // a month without movement
    ASSERT_EQ(messages->infos.size(), 1);
    EXPECT_TRUE(messages->infos.first().contains(QDir::toNativeSeparators(map.fileName())));
    EXPECT_EQ(screenState(), QString("period entry"));
}

TEST_F(PeriodPanelTest, OnlyTheSiproquimModeOffersTheMap)
{
    setPeriod("2026-11-01", "2026-11-30");
    openRevised(RunMode::InsumosCompleto);
    EXPECT_FALSE(form->BotMapaSiproquim->isVisible());
}
