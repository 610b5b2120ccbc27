// The main window's screen states, store selection, captions and titles, driven with clicks and
// keys over real databases.
#include "window_fixture.h"

#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "app/pie_gauge.h"
#include "app/store_texts.h"
#include "tests/classic/classic_test_data.h"

#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QMessageBox>
#include <QTimer>

using namespace livros::app;
using namespace livros::app::testing;

namespace {
const QString kMaker = QStringLiteral(" ZUN SISTEMAS - Livro de Registro Específico - ");
const QString kSiproquim = QStringLiteral(" SIPROQUIM - Movimentação de Produtos - ");
const QString kExpectedBookTitle = QStringLiteral("LIVRO DE REGISTRO ESPECÍFICO");
const QString kExpectedSiproquimTitle = QStringLiteral("RELATÓRIO ANALÍTICO DE MOVIMENTAÇÃO DE PRODUTOS - SIPROQUIM");
} // namespace

class WindowStatesTest : public WindowTest {
protected:
    void oneStore(const QString& cnpj = QStringLiteral("11222333000181"))
    {
        addStore(QStringLiteral("44555666000199"));
        setCompanyCnpj(cnpj);
    }
    void threeStores()
    {
        addStore(QStringLiteral("44555666000199"));
        addStore(QStringLiteral("11222333000181"));
        addStore(QStringLiteral("77888999000110"));
    }
    QStringList comboEntries()
    {
        QStringList entries;
        for (int i = 0; i < form->ComboBox1->count(); ++i)
            entries << form->ComboBox1->itemText(i);
        return entries;
    }
    // Picks the next entry of the store list with the keyboard, as a person would.
    void pickNextStore()
    {
        form->ComboBox1->setFocus();
        QTest::keyClick(form->ComboBox1, Qt::Key_Down);
        settle();
    }
};

TEST_F(WindowStatesTest, CreationGivesTheResourceStateAndGeometry)
{
    openWindow(RunMode::Classic);
    EXPECT_EQ(form->size(), QSize(970, 650));
    EXPECT_EQ(form->Memo1->geometry(), QRect(13, 68, 929, 527));
    EXPECT_EQ(form->BitBtn4->geometry(), QRect(910, 41, 32, 25));
    EXPECT_EQ(form->Gauge1->geometry(), QRect(432, 50, 510, 16));
    EXPECT_EQ(control<QPushButton>("BotEntorpecentes")->geometry(), QRect(336, 113, 352, 37));
    EXPECT_EQ(control<QPushButton>("BitBtn39")->geometry(), QRect(854, 7, 89, 26));
    EXPECT_EQ(control<QPushButton>("BotSC")->text(), QString(" Imprimir"));
    EXPECT_EQ(control<QLabel>("Titulo")->pos(), QPoint(21, 5));
    EXPECT_EQ(control<QLabel>("Label5")->text(), QString("Medicamentos sujeitos a controle especial - Listas C1, C2, C4 e C5"));
    EXPECT_EQ(control<QLabel>("Label3")->font().pixelSize(), 16);
    EXPECT_EQ(control<QPushButton>("BitBtn10")->text(), QString("Termo de encerramento"));
    EXPECT_EQ(control<QLineEdit>("MaskEdit2")->geometry(), QRect(207, 92, 91, 26));
    EXPECT_EQ(control<QPushButton>("BotDesfPrep")->text(), QString("Preparar o Livro"));
    EXPECT_EQ(control<QLabel>("Panel4")->text(), QString("Progresso da Montagem do Livro "));
    EXPECT_NE(control<PieGauge>("Gauge2"), nullptr);
    EXPECT_NE(control<QLabel>("pnl_rodape_progresso"), nullptr);
    EXPECT_FALSE(control<QFrame>("pnl_progresso")->isVisible());
    // The listing's font is fixed-pitch whether or not the system has Consolas.
    EXPECT_TRUE(QFontInfo(form->Memo1->font()).fixedPitch());
    EXPECT_EQ(form->Memo1->font().pixelSize(), 11);
    QTimer* timer = form->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 30000);
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(form->startSynchroniserOnClose);
}

TEST_F(WindowStatesTest, OneStoreClassicShowsBookChoiceWithTheCompanyCnpj)
{
    oneStore();
    openWindow(RunMode::Classic);
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_EQ(form->windowTitle(), kMaker + "11.222.333/0001-81");
    EXPECT_EQ(form->Titulo->text(), kExpectedBookTitle);
    EXPECT_EQ(form->storeCnpj(), QString("11222333000181"));
    EXPECT_EQ(form->programFolderText(), suite().folder());
    // Reached straight from the activation, the bevels keep their resource state; the "Termo"
    // buttons of each book are there to use.
    EXPECT_FALSE(form->Bevel1->isVisible());
    EXPECT_TRUE(form->BitBtn1->isVisible());
    EXPECT_TRUE(form->BitBtn1->isEnabled());
}

TEST_F(WindowStatesTest, OneStoreRevisedModesOpenThePeriodPanelWithSiproquimTexts)
{
    oneStore();
    for (RunMode mode : {RunMode::Drogaria, RunMode::InsumosCompleto, RunMode::Siproquim}) {
        SCOPED_TRACE(int(mode));
        openWindow(mode);
        EXPECT_EQ(screenState(), QString("period entry"));
        EXPECT_TRUE(bookControlsHiddenAndDisabled());
        EXPECT_EQ(form->windowTitle(), kSiproquim + "11.222.333/0001-81");
        EXPECT_EQ(form->Titulo->text(), kExpectedSiproquimTitle);
        EXPECT_EQ(form->BotCancelaDesfazer->text(), QString("Sair"));
        EXPECT_EQ(form->BotDesfPrep->text(), QString("Preparação"));
        EXPECT_EQ(form->PainelPeriodo5->geometry(), QRect(270, 111, 417, 209));
        EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);
        form.reset();
        dm->Periodo.close();
    }
}

TEST_F(WindowStatesTest, EmptyCompanyCnpjGivesTheSeparatorsAlone)
{
    oneStore(QStringLiteral(""));
    openWindow(RunMode::Classic);
    EXPECT_EQ(form->windowTitle(), kMaker + "../-");
    EXPECT_EQ(form->storeCnpj(), QString());
}

TEST_F(WindowStatesTest, SeveralStoresClassicPickGivesBookChoice)
{
    threeStores();
    openWindow(RunMode::Classic);
    EXPECT_EQ(screenState(), QString("store choice"));
    // The book controls hidden; the way out ("Sair") stays.
    EXPECT_FALSE(form->BotEntorpecentes->isVisible() || form->BotSC->isVisible() || form->Label3->isVisible());
    EXPECT_TRUE(form->BitBtn39->isVisible() && form->BitBtn39->isEnabled());
    EXPECT_EQ(form->PainelCNPJ->geometry(), QRect(270, 77, 417, 209));
    EXPECT_EQ(comboEntries(), QStringList({"11.222.333/0001-81", "44.555.666/0001-99", "77.888.999/0001-10"}));
    EXPECT_EQ(form->ComboBox1->currentText(), QString());
    EXPECT_EQ(form->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(form->windowTitle(), QString(" ZUN SISTEMAS  -  Livro de Registro Específico"));

    pickNextStore();
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_EQ(form->storeCnpj(), QString("11222333000181"));
    EXPECT_EQ(form->windowTitle(), kMaker + "11.222.333/0001-81");
    EXPECT_EQ(form->Titulo->text(), kExpectedBookTitle);
    // Reached through ShowBookButtons: the bevels and the "Termo" buttons show.
    EXPECT_TRUE(form->Bevel4->isVisible());
    EXPECT_TRUE(form->BitBtn8->isVisible());
    EXPECT_TRUE(form->BitBtn8->isEnabled());
}

TEST_F(WindowStatesTest, SeveralStoresRevisedPickOpensThePeriodPanelAndKeepsTheBookTitle)
{
    threeStores();
    openWindow(RunMode::Siproquim);
    EXPECT_EQ(screenState(), QString("store choice"));
    pickNextStore();
    EXPECT_EQ(screenState(), QString("period entry"));
    EXPECT_TRUE(bookControlsHiddenAndDisabled());
    EXPECT_FALSE(form->PainelCNPJ->isVisible());
    EXPECT_EQ(form->storeCnpj(), QString("11222333000181"));
    EXPECT_EQ(form->windowTitle(), kSiproquim + "11.222.333/0001-81");
    EXPECT_EQ(form->Titulo->text(), kExpectedBookTitle);
    EXPECT_EQ(form->BotCancelaDesfazer->text(), QString("Sair"));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);
}

TEST_F(WindowStatesTest, EmptyStoreTableGivesAnEmptyListAndTypingChoosesNoStore)
{
    openWindow(RunMode::Classic);
    EXPECT_EQ(screenState(), QString("store choice"));
    EXPECT_EQ(form->ComboBox1->count(), 0);
    EXPECT_TRUE(form->storeCnpj().isEmpty());

    // A typed text that names no store of the list chooses nothing: the store panel stays.
    form->ComboBox1->setFocus();
    QTest::keyClick(form->ComboBox1, Qt::Key_7);
    EXPECT_EQ(screenState(), QString("store choice"));
    EXPECT_TRUE(form->storeCnpj().isEmpty());
}

TEST_F(WindowStatesTest, OnlyAStoreOfTheListIsChosenByTyping)
{
    addStore(QStringLiteral("11222333000181"));
    addStore(QStringLiteral("12ABC34501DE35"));
    addStore(QStringLiteral("44555666000199"));
    openWindow(RunMode::Classic);
    form->ComboBox1->setFocus();
    QTest::keyClicks(form->ComboBox1, QStringLiteral("123abc"));
    EXPECT_EQ(screenState(), QString("store choice"));
    EXPECT_TRUE(form->storeCnpj().isEmpty());

    // The whole CNPJ of an entry, typed without its separators, chooses that store.
    form->ComboBox1->setEditText(QString());
    QTest::keyClicks(form->ComboBox1, QStringLiteral("12abc34501de35"));
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_EQ(form->storeCnpj(), QString("12ABC34501DE35"));
    EXPECT_EQ(form->windowTitle(), kMaker + "12.ABC.345/01DE-35");
}

TEST_F(WindowStatesTest, RepeatedStoreGivesOneEntry)
{
    addStore(QStringLiteral("11222333000181"), QStringLiteral("LAB1"));
    addStore(QStringLiteral("11222333000181"), QStringLiteral("LAB2"));
    openWindow(RunMode::Classic);
    EXPECT_EQ(form->storeCount(), 2);
    EXPECT_EQ(comboEntries(), QStringList({"11.222.333/0001-81"}));
}

TEST_F(WindowStatesTest, BookButtonsSelectTheGroupAndOpenThePeriodPanel)
{
    oneStore();
    livros::classic::testing::TestData data{suite()};
    data.component("P1", "Morfina", "G", "A1", "MORFINA");
    data.component("P2", "Diazepam", "G", "B1", "DIAZEPAM");
    data.component("P3", "Ciclosporina", "G", "C3", "CICLOSPORINA");
    setPeriod("2024-05-01", "2024-05-31");
    openWindow(RunMode::Classic);

    QTest::mouseClick(form->BotPsicotropicos, Qt::LeftButton);
    EXPECT_EQ(form->selectedListGroup(), 2);
    EXPECT_EQ(form->componentLists().group(1)->count(), 1);
    EXPECT_EQ(form->componentLists().group(2)->count(), 1);
    EXPECT_EQ(form->componentLists().group(4)->count(), 1);
    EXPECT_EQ(screenState(), QString("period entry"));
    EXPECT_TRUE(bookControlsHiddenAndDisabled());
    EXPECT_EQ(form->BotCancelaDesfazer->text(), QString("Cancelar"));
    EXPECT_EQ(form->BotDesfPrep->text(), QString("Preparação"));
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("01/05/24"));
    EXPECT_EQ(form->MaskEdit2->maskText(), QString("31/05/24"));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);

    // "Cancelar" returns to book choice; a second button changes the group.
    QTest::mouseClick(form->BotCancelaDesfazer, Qt::LeftButton);
    EXPECT_EQ(screenState(), QString("book choice"));
    QTest::mouseClick(form->BotImunossupressores, Qt::LeftButton);
    EXPECT_EQ(form->selectedListGroup(), 4);
    EXPECT_EQ(screenState(), QString("period entry"));
    QTest::keyClick(form->MaskEdit1, Qt::Key_Escape);
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(WindowStatesTest, EscapeInBookChoiceClosesTheWindow)
{
    oneStore();
    openWindow(RunMode::Classic);
    QTest::keyClick(form->BotSC, Qt::Key_Escape);
    EXPECT_EQ(screenState(), QString("closed"));
}

TEST_F(WindowStatesTest, TitleOpensTheListingViewAndXReturnsToBookChoice)
{
    oneStore();
    openWindow(RunMode::Classic);
    QTest::mouseClick(form->Titulo, Qt::LeftButton);
    EXPECT_EQ(screenState(), QString("listing view"));
    EXPECT_TRUE(form->Label2->isVisible());
    EXPECT_TRUE(form->BitBtn4->isVisible());
    EXPECT_TRUE(bookControlsHiddenAndDisabled());
    // Esc presses the listing's "X": back to book choice.
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_EQ(screenState(), QString("book choice"));
    QTest::mouseClick(form->Titulo, Qt::LeftButton);
    EXPECT_EQ(screenState(), QString("listing view"));

    QTest::mouseClick(form->BitBtn4, Qt::LeftButton);
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_FALSE(form->BitBtn4->isVisible());
    EXPECT_FALSE(form->Label2->isVisible());
    EXPECT_FALSE(form->Gauge1->isVisible());
    for (QPushButton* term : {form->BitBtn1, form->BitBtn2, form->BitBtn3, form->BitBtn5, form->BitBtn6, form->BitBtn7,
                              form->BitBtn8, form->BitBtn10}) {
        EXPECT_TRUE(term->isVisible());
        EXPECT_TRUE(term->isEnabled());
    }
}

TEST_F(WindowStatesTest, TermButtonsDrawUpTheTermsOfTheirBook)
{
    oneStore();
    RecordingInteraction& reportDialogs = useReports();
    openWindow(RunMode::Classic);
    // Without the number of sheets no book is opened.
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    ASSERT_EQ(messages->infos.size(), 1);
    EXPECT_TRUE(messages->infos.first().contains(QStringLiteral("QDEFOLHAS")));
    EXPECT_EQ(reportDialogs.previews, 0);

    suite().execMain(QStringLiteral("update DADOSGER set QDEFOLHAS = 50, NUMEROINICIAL = 1"));
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(reportDialogs.previews, 1);
    EXPECT_EQ(suite().rowsInterface(QStringLiteral("select LIVRO, NUMERO, FOLHASAUTORIZADAS from LIVROS_LIVRO")),
              QStringList{QStringLiteral("CLASSIC2|1|50")});
    // Nothing issued yet: the closing term is refused and the book stays open.
    QTest::mouseClick(form->BitBtn6, Qt::LeftButton);
    EXPECT_TRUE(messages->infos.last().contains(QStringLiteral("não tem folhas emitidas")));
    EXPECT_EQ(reportDialogs.previews, 1);
}

TEST_F(WindowStatesTest, AClosingTermOnlyPreviewedLeavesTheBookOpen)
{
    oneStore();
    RecordingInteraction& reportDialogs = useReports();
    suite().execMain(QStringLiteral("update DADOSGER set QDEFOLHAS = 50, NUMEROINICIAL = 1"));
    openWindow(RunMode::Classic);
    QTest::mouseClick(form->BitBtn3, Qt::LeftButton); // opens book nº 1 of group 2
    suite().execInterface(QStringLiteral("update LIVROS_LIVRO set FOLHASEMITIDAS = 3"));
    // The confirmation is answered yes; the output chosen is the preview, only looked at.
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    QTest::mouseClick(form->BitBtn6, Qt::LeftButton);
    EXPECT_EQ(reportDialogs.previews, 2);
    EXPECT_TRUE(messages->infos.last().contains(QStringLiteral("continua aberto"))) << messages->infos.last().toStdString();
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_LIVRO where ENCERRAMENTO is null")),
              QStringLiteral("1"));
}

TEST_F(WindowStatesTest, ContextMenuShowsTheListing)
{
    oneStore();
    openWindow(RunMode::Classic);
    form->Mostrarolivronatela1->trigger();
    EXPECT_EQ(screenState(), QString("listing view"));
    EXPECT_TRUE(form->BitBtn4->isVisible());
    EXPECT_TRUE(bookControlsHiddenAndDisabled());
}

TEST_F(WindowStatesTest, EnterInTheFinalDateRunsTheClassicPreparation)
{
    oneStore(livros::classic::testing::kStore);
    livros::classic::testing::TestData data{suite()};
    data.component("P1", "Morfina", "G", "A1", "MORFINA");
    data.inventory("2024-05-01", "P1", 10, "G");
    data.entry("2024-05-02", "P1", 5, "G");
    setPeriod("2024-05-01", "2024-05-31");
    openWindow(RunMode::Classic);
    QTest::mouseClick(form->BotEntorpecentes, Qt::LeftButton);
    QTest::keyClick(form->MaskEdit1, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), form->MaskEdit2);
    form->MaskEdit2->home(false);
    QTest::keyClicks(form->MaskEdit2, "03");
    QTest::keyClick(form->MaskEdit2, Qt::Key_Return);
    // Hiding the panel left the final date, which was saved as the preparation started.
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-03"}));

    EXPECT_EQ(screenState(), QString("listing view"));
    EXPECT_TRUE(form->BitBtn4->isVisible());
    EXPECT_FALSE(form->Gauge1->isVisible());
    EXPECT_TRUE(form->Memo1->toPlainText().contains("MORFINA"));
    // Every listing line can be read to its end: the view scrolls as far right as the widest line.
    settle();
    double widest = 0;
    for (const QString& line : form->Memo1->toPlainText().split(QLatin1Char('\n')))
        widest = std::max(widest, QFontMetricsF(form->Memo1->font()).horizontalAdvance(line));
    EXPECT_GT(widest, 0);
    EXPECT_LE(widest - form->Memo1->horizontalScrollBar()->maximum(), form->Memo1->viewport()->width());
    if (widest > form->Memo1->viewport()->width())
        EXPECT_TRUE(form->Memo1->horizontalScrollBar()->isVisible());
    // The one movement of the period is the one book line.
    EXPECT_EQ(suite().rowsMain("select DATA, CNPJ from LIVROCONTR"), QStringList({"2024-05-02|12345678000199"}));
    // The book controls are back where the listing does not cover them.
    EXPECT_TRUE(form->BitBtn39->isVisible());
    EXPECT_TRUE(form->BitBtn39->isEnabled());
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(WindowStatesTest, ClassicPreparationWithoutInventoryReportsItAndShowsBookChoice)
{
    oneStore(livros::classic::testing::kStore);
    setPeriod("2024-05-01", "2024-05-31");
    openWindow(RunMode::Classic);
    QTest::mouseClick(form->BotControleEspecial, Qt::LeftButton);
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    ASSERT_GE(messages->infos.size(), 1);
    EXPECT_TRUE(messages->infos.first().startsWith("Antes de prosseguir, favor incluir um inventário"));
    EXPECT_TRUE(messages->infos.first().contains("\"01/05/24\""));
    EXPECT_EQ(screenState(), QString("book choice"));
}
