// When the window runs its activation: first show, a non-modal window of the program that goes,
// never after modal windows or while an activation runs; failures keep the window as it was.
#include "window_fixture.h"

#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "data/db_error.h"
#include "platform/user_messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace livros::app;
using namespace livros::app::testing;

class ActivationTest : public WindowTest {
protected:
    void twoStores()
    {
        addStore(QStringLiteral("11222333000181"));
        addStore(QStringLiteral("44555666000199"));
    }
    void pickFirstStore()
    {
        QTest::keyClick(form->ComboBox1, Qt::Key_Down);
        settle();
    }
    // Another top-level window of the program, not modal, that shows and goes again; the window
    // system gives the focus back to the main window.
    void ownWindowComesAndGoes()
    {
        QWidget other;
        other.setWindowTitle(QStringLiteral("status"));
        other.show();
        QCoreApplication::processEvents();
        other.hide();
        QApplication::setActiveWindow(form.get());
        settle();
    }
};

TEST_F(ActivationTest, OwnNonModalWindowGoingActivatesAgain)
{
    twoStores();
    openWindow(RunMode::Classic);
    pickFirstStore();
    ASSERT_EQ(screenState(), QString("book choice"));
    suite().execMain("insert into TABLAB (LOJA) values ('77888999000110')");

    ownWindowComesAndGoes();
    // Every step again: the list is read anew and the store is to be picked again.
    EXPECT_EQ(screenState(), QString("store choice"));
    EXPECT_EQ(form->storeCount(), 3);
    EXPECT_EQ(form->ComboBox1->count(), 3);
    EXPECT_EQ(form->ComboBox1->currentText(), QString());
}

TEST_F(ActivationTest, ModalWindowsPopupsAndOtherApplicationsBringNoActivation)
{
    twoStores();
    openWindow(RunMode::Classic);
    pickFirstStore();
    ASSERT_EQ(screenState(), QString("book choice"));

    QDialog modal;
    QTimer::singleShot(0, &modal, &QDialog::accept);
    modal.exec();
    settle();
    EXPECT_EQ(screenState(), QString("book choice"));

    form->PopupMenu1->popup(form->mapToGlobal(QPoint(100, 100)));
    QCoreApplication::processEvents();
    form->PopupMenu1->hide();
    settle();
    EXPECT_EQ(screenState(), QString("book choice"));

    // The window system telling of a return from another application.
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    settle();
    QApplication::setActiveWindow(form.get());
    settle();
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_EQ(form->ComboBox1->currentText(), QString("11.222.333/0001-81"));
}

TEST_F(ActivationTest, RepeatedActivationReopensThePeriodPanelFromTheRecord)
{
    addStore(QStringLiteral("11222333000181"));
    setCompanyCnpj(QStringLiteral("11222333000181"));
    setPeriod("2024-05-01", "2024-05-31");
    openWindow(RunMode::Drogaria);
    QTest::keyClicks(form->MaskEdit1, "0207"); // typed over, not left
    ownWindowComesAndGoes();
    EXPECT_EQ(screenState(), QString("period entry"));
    EXPECT_EQ(form->MaskEdit1->maskText(), QString("01/05/24"));
    EXPECT_EQ(QApplication::focusWidget(), form->MaskEdit1);
}

TEST_F(ActivationTest, DatabaseErrorLeavesTheWindowBlankAndTheProgramRunning)
{
    // A server that does not answer: the first query of the activation fails.
    dm->sqlcon1.setParam(QStringLiteral("DataBase"), QStringLiteral("127.0.0.1/1:C:\\quilmara\\dados\\quilmara.bd"));
    QString driverMessage;
    {
        livros::data::TDM probe;
        probe.sqlcon1.setParam(QStringLiteral("DataBase"), dm->sqlcon1.param(QStringLiteral("DataBase")));
        try {
            probe.SQLQuery1.setSql(QStringLiteral("Select count(*) QDELAB from TABLAB"));
            probe.SQLQuery1.open();
        } catch (const livros::data::DbError& e) {
            driverMessage = e.message();
        }
    }
    ASSERT_FALSE(driverMessage.isEmpty());
    twoStores();
    openWindow(RunMode::Classic);
    EXPECT_EQ(messages->errors, QStringList({livros::errorDisplayText(driverMessage)}));
    // Not an empty grey window: the reason stays written and "Sair" is the way out.
    EXPECT_TRUE(form->PainelLivro->isVisible());
    EXPECT_TRUE(form->BitBtn39->isVisible() && form->BitBtn39->isEnabled());
    EXPECT_FALSE(form->BotEntorpecentes->isVisible() || form->PainelCNPJ->isVisible());
    EXPECT_EQ(form->windowTitle(), QString(" ZUN SISTEMAS  -  Livro de Registro Específico"));

    // The error display brings no activation; the next one (a report run) starts from step 1.
    settle();
    EXPECT_EQ(messages->errors.size(), 1);
    dm->sqlcon1.setParam(QStringLiteral("DataBase"), QStringLiteral(":C:\\quilmara\\dados\\quilmara.bd"));
    ownWindowComesAndGoes();
    EXPECT_EQ(screenState(), QString("store choice"));
    EXPECT_EQ(form->ComboBox1->count(), 2);
}

TEST_F(ActivationTest, FailureInTheStoreListKeepsTheStateReached)
{
    twoStores();
    openWindow(RunMode::Classic);
    pickFirstStore();
    ASSERT_EQ(screenState(), QString("book choice"));
    // The company store read fails after the count: the book choice stays as it was.
    suite().execMain("delete from TABLAB");
    suite().execMain("insert into TABLAB (LOJA) values ('11222333000181')");
    dm->DadosGer.setCommandText(QStringLiteral("select CNPJ from NO_SUCH_TABLE"));
    ownWindowComesAndGoes();
    EXPECT_EQ(messages->errors.size(), 1);
    EXPECT_EQ(screenState(), QString("book choice"));
    EXPECT_EQ(form->storeCnpj(), QString("11222333000181"));
}

TEST_F(ActivationTest, ReportRunFromTheWindowBringsTheStoreChoiceBack)
{
    RecordingInteraction& reportDialogs = useReports();
    twoStores();
    openWindow(RunMode::Classic);
    pickFirstStore();
    QTest::mouseClick(form->BotSC, Qt::LeftButton);
    EXPECT_EQ(reportDialogs.setupDialogs, 1); // the classic print asks for the output every time
    EXPECT_EQ(reportDialogs.previews, 1);
    settle();
    EXPECT_EQ(screenState(), QString("store choice"));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(ActivationTest, ViewOnlyModePreviewsTheCompanyBookAndClosesWithoutASecondActivation)
{
    RecordingInteraction& reportDialogs = useReports();
    twoStores();
    setCompanyCnpj(QStringLiteral("11222333000181"));
    createMarker();
    bool storeChoiceSeen = false;
    reportDialogs.whilePreviewOpen = [&] {
        // The preview's own message loop: a queued activation would run here.
        settle();
        storeChoiceSeen = form->PainelCNPJ->isVisible() || form->PainelLivro->isVisible();
    };
    openWindow(RunMode::SiproquimView);
    settle();
    EXPECT_EQ(reportDialogs.previews, 1);
    EXPECT_EQ(reportDialogs.setupDialogs, 0);
    EXPECT_FALSE(reportDialogs.statusTexts.isEmpty()); // the status window did come and go
    EXPECT_FALSE(storeChoiceSeen);
    EXPECT_EQ(screenState(), QString("closed"));
    EXPECT_FALSE(QFile::exists(markerPath()));
    EXPECT_EQ(form->windowTitle(), QString(" SIPROQUIM - Movimentação de Produtos - 11.222.333/0001-81"));
    EXPECT_EQ(form->Titulo->text(), QString("RELATÓRIO ANALÍTICO DE MOVIMENTAÇÃO DE PRODUTOS - SIPROQUIM"));
    EXPECT_EQ(dm->CDS_LivroRevContr.commandText(),
              QString("select ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, "
                      "COMPONENTE, PERIODO, CONTEXTO, CODIGO, LISTA, CNPJ, ORDEM, (select first 1 LABORATORIO from TABLAB "
                      "where TABLAB.LOJA = LIVROREVCONTR.CNPJ) LABORATORIO from LIVROREVCONTR where "
                      "UPPER(SUBSTRING(DCB FROM 1 FOR 3)) = 'TPN' AND CNPJ = '11222333000181'"));
    EXPECT_TRUE(reports->rvpjRelLivros.projectFile().endsWith("RelPF.rav"));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

// The company's stored book is a compounding book: the drugstore view says so instead of printing it.
TEST_F(ActivationTest, ViewOnlyModeOfAnotherBookSaysSoAndCloses)
{
    RecordingInteraction& reportDialogs = useReports();
    setCompanyCnpj(QStringLiteral("11222333000181"));
    suite().execMain("insert into LIVROREVCONTR (ID, CNPJ, DATA, REGMSMEDICAM, DCB) "
                     "values (1, '11222333000181', '2024-01-01', '', '04567')");
    openWindow(RunMode::DrogariaView);
    settle();
    EXPECT_EQ(reportDialogs.previews, 0);
    EXPECT_EQ(messages->infos, QStringList{"Nenhum livro deste tipo montado para a loja 11.222.333/0001-81."});
    EXPECT_EQ(screenState(), QString("closed"));
}

TEST_F(ActivationTest, RevisedBuildPreviewsAndReturnsToThePeriodPanel)
{
    RecordingInteraction& reportDialogs = useReports();
    twoStores();
    setPeriod("2024-05-01", "2024-05-31");
    suite().execMain("insert into LIVROREVCONTR (ID, CNPJ, DATA, DCB) values (1, '11222333000181', '2024-01-01', 'OLD')");
    suite().execMain("insert into BALANCOS (DATABALANCO, CODIGO, QDE, LOJA) values ('2024-05-01', 'X', 1, '11222333000181')");
    reportDialogs.whilePreviewOpen = [&] { settle(); };
    openWindow(RunMode::Drogaria);
    pickFirstStore();
    ASSERT_EQ(screenState(), QString("period entry"));
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    settle();
    EXPECT_EQ(reportDialogs.previews, 1);
    EXPECT_EQ(reportDialogs.setupDialogs, 0);
    EXPECT_EQ(suite().scalarMain("select count(*) from LIVROREVCONTR where DCB = 'OLD'"), QString("0"));
    // The activation of the report run showed the store choice; the build's end hid it again.
    EXPECT_EQ(screenState(), QString("period entry"));
    EXPECT_FALSE(form->pnl_progresso->isVisible());
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}
