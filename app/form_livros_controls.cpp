// The window's controls as its resource describes them: names, texts, colours, fonts and
// positions in pixels inside their parent.
#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/pie_gauge.h"
#include "app/store_texts.h"
#include "app/window_fonts.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace livros::app {

namespace {

const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);
const QColor kPurple(128, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kLightCaption(185, 209, 234);

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void setTextColour(QWidget* widget, const QColor& colour, QPalette::ColorRole role = QPalette::WindowText)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// An auto-sized label at a position.
QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    QLabel* l = named(new QLabel(text, parent), name);
    l->move(left, top);
    l->adjustSize();
    return l;
}

// A group heading of the book choice: bold 16 pixels in the group's colour.
QLabel* groupHeading(QWidget* parent, const char* name, const QString& text, int left, int top, const QColor& colour)
{
    QLabel* l = named(new QLabel(text, parent), name);
    l->setFont(pixelFont(QString(), 16, true));
    setTextColour(l, colour);
    l->move(left, top);
    l->adjustSize();
    return l;
}

QFrame* bevel(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    QFrame* f = named(new QFrame(parent), name);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    f->setGeometry(left, top, width, height);
    f->hide();
    return f;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    QPushButton* b = named(new QPushButton(text, parent), name);
    b->setGeometry(left, top, width, height);
    b->setAutoDefault(false);
    return b;
}

// A "Termo" button: hidden and disabled, and never enabled.
QPushButton* termButton(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    QPushButton* b = button(parent, name, text, left, top, 192, 37);
    b->setEnabled(false);
    b->hide();
    return b;
}

QFrame* borderedPanel(QWidget* parent, const char* name)
{
    QFrame* f = named(new QFrame(parent), name);
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setLineWidth(2);
    f->setAutoFillBackground(true);
    f->hide();
    return f;
}

// A header or footer bar of a panel: navy text on a light caption colour.
QLabel* captionBar(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    QLabel* l = named(new QLabel(text, parent), name);
    l->setGeometry(left, top, width, height);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameStyle(QFrame::Panel | QFrame::Raised);
    l->setAutoFillBackground(true);
    l->setFont(pixelFont(QString(), 14, true));
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, kLightCaption);
    palette.setColor(QPalette::WindowText, kNavy);
    l->setPalette(palette);
    return l;
}

} // namespace

void TFormLivros::createControls()
{
    setObjectName(QStringLiteral("FormLivros"));
    setWindowTitle(QString::fromUtf16(kInitialCaption));

    PainelLivro = named(new QWidget(this), "PainelLivro");
    PainelLivro->setContextMenuPolicy(Qt::CustomContextMenu);
    PainelLivro->hide();

    createBookControls();
    createListingAndProgress();
    createPeriodPanel();
    createStorePanel();

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(30000);

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    Mostrarolivronatela1 = PopupMenu1->addAction(QStringLiteral("Mostrar o livro na tela"));
    Mostrarolivronatela1->setObjectName(QStringLiteral("Mostrarolivronatela1"));
    MostrarLivrosEmitidos = PopupMenu1->addAction(QStringLiteral("Mostrar os livros e as folhas emitidas"));
    MostrarLivrosEmitidos->setObjectName(QStringLiteral("MostrarLivrosEmitidos"));
}

void TFormLivros::createBookControls()
{
    QWidget* p = PainelLivro;

    Titulo = named(new ClickLabel(QString::fromUtf16(kBookTitle), p), "Titulo");
    Titulo->setFont(pixelFont(QStringLiteral("Arial Rounded MT Bold"), 24));
    setTextColour(Titulo, kNavy);
    Titulo->move(21, 5);
    Titulo->adjustSize();
    Titulo->setCursor(Qt::PointingHandCursor);

    Label2 = named(new QLabel(p), "Label2");
    Label2->setGeometry(24, 49, 418, 16);
    setTextColour(Label2, kGrey);

    Gauge1 = named(new QProgressBar(p), "Gauge1");
    Gauge1->resize(510, 16);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->hide();

    Bevel1 = bevel(p, "Bevel1", 126, 84, 774, 77);
    Bevel2 = bevel(p, "Bevel2", 126, 184, 774, 77);
    Bevel3 = bevel(p, "Bevel3", 126, 284, 775, 77);
    Bevel4 = bevel(p, "Bevel4", 126, 385, 775, 77);

    Label3 = groupHeading(p, "Label3", QStringLiteral("Medicamentos entorpecentes - Listas A1 e A2"), 141, 88, kGreen);
    Label4 = groupHeading(p, "Label4", QStringLiteral("Medicamentos psicotrópicos - Listas A3, B1 e B2"), 141, 188, kNavy);
    Label5 = groupHeading(p, "Label5", QStringLiteral("Medicamentos sujeitos a controle especial - Listas C1, C2, C4 e C5"),
                          141, 288, kPurple);
    Label6 = groupHeading(p, "Label6", QStringLiteral("Medicamentos imunossupressores - Lista C3"), 141, 389, kMaroon);

    const QString opening = QStringLiteral("Termo de abertura");
    const QString closing = QStringLiteral("Termo de encerramento");
    BitBtn1 = termButton(p, "BitBtn1", opening, 140, 113);
    BitBtn3 = termButton(p, "BitBtn3", opening, 140, 213);
    BitBtn5 = termButton(p, "BitBtn5", opening, 140, 313);
    BitBtn7 = termButton(p, "BitBtn7", opening, 140, 414);
    BitBtn2 = termButton(p, "BitBtn2", closing, 695, 113);
    BitBtn6 = termButton(p, "BitBtn6", closing, 695, 213);
    BitBtn8 = termButton(p, "BitBtn8", closing, 697, 313);
    BitBtn10 = termButton(p, "BitBtn10", closing, 697, 414);

    BotEntorpecentes = button(p, "BotEntorpecentes", QStringLiteral("Montar livro de medicamentos entorpecentes"), 336, 113, 352, 37);
    BotPsicotropicos = button(p, "BotPsicotropicos", QStringLiteral("Montar livro de medicamentos psicotrópicos"), 337, 213, 352, 37);
    BotControleEspecial = button(p, "BotControleEspecial",
                                 QStringLiteral("Montar livro de medicam. sujeitos a controle especial"), 336, 313, 354, 37);
    BotImunossupressores = button(p, "BotImunossupressores", QStringLiteral("Montar livro de medicamentos Imunossupressores"),
                                  338, 413, 353, 37);

    BitBtn39 = button(p, "BitBtn39", QStringLiteral("Sair"), 854, 7, 89, 26);
    BitBtn39->setFont(pixelFont(QString(), 13, true));
    setTextColour(BitBtn39, kRed, QPalette::ButtonText);

    BotSC = button(p, "BotSC", QStringLiteral(" Imprimir"), 128, 481, 772, 36);
    BotFormularios = button(p, "BotFormularios", QStringLiteral("Balanços e relações"), 650, 7, 190, 26);
}

void TFormLivros::createListingAndProgress()
{
    QWidget* p = PainelLivro;

    Memo1 = named(new QPlainTextEdit(p), "Memo1");
    Memo1->setFont(listingFont());
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->hide();

    BitBtn4 = named(new QPushButton(QStringLiteral("X"), p), "BitBtn4");
    BitBtn4->setAutoDefault(false);
    BitBtn4->hide();

    pnl_progresso = borderedPanel(p, "pnl_progresso");
    pnl_progresso->setGeometry(270, 111, 335, 209);
    Panel4 = captionBar(pnl_progresso, "Panel4", QStringLiteral("Progresso da Montagem do Livro "), 4, 4, 327, 33);
    Gauge2 = named(new PieGauge(pnl_progresso), "Gauge2");
    Gauge2->setGeometry(112, 47, 111, 111);
    pnl_rodape_progresso = captionBar(pnl_progresso, "pnl_rodape_progresso", QStringLiteral("Progresso"), 4, 168, 327, 33);
}

void TFormLivros::createPeriodPanel()
{
    PainelPeriodo5 = borderedPanel(PainelLivro, "PainelPeriodo5");
    PainelPeriodo5->setGeometry(270, 111, 417, 209);
    QWidget* p = PainelPeriodo5;

    Panel79 = captionBar(p, "Panel79", QStringLiteral("Período do Livro"), 4, 4, 406, 33);
    Label368 = label(p, "Label368", QStringLiteral("Data Inicial"), 122, 61);
    MaskEdit1 = named(new DateMaskEdit(p), "MaskEdit1");
    MaskEdit1->setGeometry(207, 57, 91, 26);
    MaskEdit1->setFont(pixelFont(QString(), 16));
    Label369 = label(p, "Label369", QStringLiteral("Data Final"), 126, 97);
    MaskEdit2 = named(new DateMaskEdit(p), "MaskEdit2");
    MaskEdit2->setGeometry(207, 92, 91, 26);
    MaskEdit2->setFont(pixelFont(QString(), 16));
    BotDesfPrep = button(p, "BotDesfPrep", QStringLiteral("Preparar o Livro"), 184, 146, 206, 31);
    BotCancelaDesfazer = button(p, "BotCancelaDesfazer", QStringLiteral("Cancelar"), 54, 146, 119, 31);
    // The monthly map of the period's month, beside the preparation that previews the report; the
    // check of the period's data in every mode, sharing the row with the map where there is one.
    const bool map = m_mode == RunMode::Siproquim;
    BotMapaSiproquim = button(p, "BotMapaSiproquim", QStringLiteral("Gerar mapa SIPROQUIM"), 54, 181, 165, 24);
    BotMapaSiproquim->setVisible(map);
    BotConferencia = button(p, "BotConferencia", QStringLiteral("Conferência"), map ? 225 : 54, 181, map ? 165 : 336, 24);

    setTabOrder(MaskEdit1, MaskEdit2);
    setTabOrder(MaskEdit2, BotDesfPrep);
    setTabOrder(BotDesfPrep, BotCancelaDesfazer);
    setTabOrder(BotCancelaDesfazer, BotMapaSiproquim);
    setTabOrder(BotMapaSiproquim, BotConferencia);
}

void TFormLivros::createStorePanel()
{
    PainelCNPJ = borderedPanel(PainelLivro, "PainelCNPJ");
    PainelCNPJ->setGeometry(270, 77, 417, 209);
    QWidget* p = PainelCNPJ;

    Panel2 = captionBar(p, "Panel2", QStringLiteral("Selecione o CNPJ"), 4, 4, 406, 33);
    Label1 = label(p, "Label1", QStringLiteral("CNPJ"), 79, 106);
    ComboBox1 = named(new QComboBox(p), "ComboBox1");
    ComboBox1->setEditable(true);
    // What the user types is the text as typed: no completion, nothing added to the list.
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setFont(pixelFont(QString(), 16));
    ComboBox1->setGeometry(129, 101, 203, 28);
}

} // namespace livros::app
