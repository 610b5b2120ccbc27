// The window program's message boxes: modal, captioned with the program's title, the error icon on
// the standard error display; and the period edits behave the same when a real box is shown.
#include "window_fixture.h"

#include "app/date_mask_edit.h"
#include "app/qt_user_messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace livros::app;
using namespace livros::app::testing;

namespace {
struct ShownBox {
    QString title;
    QString text;
    QString details;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers every message box that opens, as a person would, and notes what it showed.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.push_back({box->windowTitle(), box->text(), box->detailedText(), box->icon()});
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_timer.start();
    }
    std::vector<ShownBox> shown;

private:
    QTimer m_timer;
};
} // namespace

class QtMessagesTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_previous = livros::setUserMessages(&m_boxes);
    }
    void TearDown() override
    {
        livros::setUserMessages(m_previous);
        WindowTest::TearDown();
    }
    QtUserMessages m_boxes;
    livros::UserMessages* m_previous = nullptr;
};

TEST_F(QtMessagesTest, BoxesCarryTheProgramTitleAndTheErrorIcon)
{
    BoxAnswerer answerer;
    livros::userMessages().inform(QStringLiteral("Antes de prosseguir\rcom a posição"));
    livros::showStandardError(QStringLiteral("'  /05/24' não é uma data válida"));
    ASSERT_EQ(answerer.shown.size(), 2u);
    EXPECT_EQ(answerer.shown[0].title, QString("Livros"));
    EXPECT_EQ(answerer.shown[0].text, QString("Antes de prosseguir\ncom a posição"));
    EXPECT_EQ(answerer.shown[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(answerer.shown[1].title, QString("Livros"));
    EXPECT_EQ(answerer.shown[1].text, QString("'  /05/24' não é uma data válida."));
    EXPECT_EQ(answerer.shown[1].icon, QMessageBox::Critical);
}

TEST_F(QtMessagesTest, RefusedLeaveWithARealBoxKeepsTheEditAndAsksOnce)
{
    addStore(QStringLiteral("11222333000181"));
    setCompanyCnpj(QStringLiteral("11222333000181"));
    setPeriod("2024-05-01", "2024-05-31");
    openWindow(RunMode::Classic);
    QTest::mouseClick(form->BotEntorpecentes, Qt::LeftButton);
    form->MaskEdit1->selectAll();
    QTest::keyClick(form->MaskEdit1, Qt::Key_Delete);
    form->MaskEdit1->home(false);
    QTest::keyClicks(form->MaskEdit1, "01062");

    BoxAnswerer answerer;
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    settle();
    ASSERT_EQ(answerer.shown.size(), 1u);
    EXPECT_EQ(answerer.shown[0].text, QString("Valor de entrada inválido. Use a tecla Esc para abandonar as alterações."));
    EXPECT_EQ(answerer.shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(form->focusWidget(), form->MaskEdit1);
    EXPECT_EQ(screenState(), QString("period entry"));

    // With the year completed the edit is left and written; the box brought no activation.
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form->MaskEdit1, Qt::Key_4);
    QTest::keyClick(form->MaskEdit1, Qt::Key_Tab);
    settle();
    EXPECT_EQ(answerer.shown.size(), 1u);
    EXPECT_EQ(periodRows(), QStringList({"2024-06-01|2024-05-31"}));
    EXPECT_EQ(screenState(), QString("period entry"));
}

// A movement statement the server refuses (a purchase of ten billion litres in millilitres
// overflows the stock arithmetic): the box gives the server's reason first and keeps the long
// statement in its scrollable details; afterwards the period panel is back with its controls.
TEST_F(QtMessagesTest, AFailedRevisedBuildShowsTheReasonAndComesBackToThePeriod)
{
    addStore(QStringLiteral("11222333000181"));
    setCompanyCnpj(QStringLiteral("11222333000181"));
    setPeriod("2024-05-01", "2024-05-31");
    suite().execMain("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB, FORNECEDOR) "
                     "values ('S2', 'Benzeno', 'INS', 'L', 'Nao', 'B1', '02', 'TPN QUIMICA')");
    suite().execMain("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values "
                     "('NF9', 'Fornec', '2024-05-02', '11222333000181')");
    suite().execMain("insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, DENSIDADE) "
                     "values ('NF9', 'S2', 'Fornec', 'L1', 9999999999, 'L', 1.25)");
    suite().execMain("insert into BALANCOS (DATABALANCO, CODIGO, QDE, LOJA) values ('2024-05-01', 'X', 1, '11222333000181')");
    // A line the server refuses: a stock above what the table allows.
    suite().execMain("alter table LIVROREVCONTR add constraint ESTOQUE_LIMITADO check (ESTOQUE < 1000000)");
    openWindow(RunMode::Siproquim);
    ASSERT_EQ(screenState(), QString("period entry"));

    BoxAnswerer answerer;
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    ASSERT_EQ(answerer.shown.size(), 1u);
    const ShownBox& box = answerer.shown[0];
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QString("Falha ao buscar movimentações!"));
    EXPECT_FALSE(lines[2].trimmed().isEmpty());
    EXPECT_FALSE(box.text.contains(QLatin1String("LIVROREVCONTR:"))) << box.text.toStdString();
    EXPECT_TRUE(box.details.contains(QStringLiteral("Benzeno (código S2), 02/05/2024, operação E"))) << box.details.toStdString();
    suite().execMain("alter table LIVROREVCONTR drop constraint ESTOQUE_LIMITADO");

    EXPECT_EQ(screenState(), QString("period entry"));
    EXPECT_TRUE(form->BotDesfPrep->isVisible() && form->BotDesfPrep->isEnabled());
    EXPECT_TRUE(form->BotCancelaDesfazer->isVisible() && form->BotCancelaDesfazer->isEnabled());
    QTest::keyClick(form->MaskEdit1, Qt::Key_Escape);
    EXPECT_EQ(screenState(), QString("closed"));
}
