#include "app/form_livros.h"

#include "app/build_input_block.h"

#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "app/handler_guard.h"
#include "app/in_use_marker.h"
#include "data/data_module.h"
#include "data/transaction.h"
#include "platform/external_program.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace livros::app {

TFormLivros* FormLivros = nullptr;

TFormLivros::TFormLivros(data::TDM& dm, RunMode mode, QWidget* parent)
    : QWidget(parent), m_dm(dm), m_mode(mode)
{
    createControls();
    connectHandlers();
    FormCreate();
    // Watches the program's other windows: one that goes gives the focus back to this window.
    qApp->installEventFilter(this);
}

TFormLivros::~TFormLivros()
{
    qApp->removeEventFilter(this);
    if (FormLivros == this)
        FormLivros = nullptr;
}

void TFormLivros::connectHandlers()
{
    connect(BitBtn39, &QPushButton::clicked, this, &TFormLivros::BitBtn39Click);
    connect(BotEntorpecentes, &QPushButton::clicked, this, &TFormLivros::BotEntorpecentesClick);
    connect(BotPsicotropicos, &QPushButton::clicked, this, &TFormLivros::BotPsicotropicosClick);
    connect(BotControleEspecial, &QPushButton::clicked, this, &TFormLivros::BotControleEspecialClick);
    connect(BotImunossupressores, &QPushButton::clicked, this, &TFormLivros::BotImunossupressoresClick);
    connectTermButtons();
    connect(Titulo, &ClickLabel::clicked, this, &TFormLivros::TituloClick);
    connect(BitBtn4, &QPushButton::clicked, this, &TFormLivros::BitBtn4Click);
    connect(BotSC, &QPushButton::clicked, this, &TFormLivros::BotSCClick);
    // Every change of the text, typed or picked from the list; the program's own changes are
    // made with the signals blocked.
    connect(ComboBox1, &QComboBox::editTextChanged, this, &TFormLivros::ComboBox1Change);
    connect(MaskEdit1, &DateMaskEdit::enterEdit, this, &TFormLivros::MaskEdit1Enter);
    connect(MaskEdit2, &DateMaskEdit::enterEdit, this, &TFormLivros::MaskEdit2Enter);
    connect(MaskEdit1, &DateMaskEdit::exitEdit, this, &TFormLivros::MaskEdit1Exit);
    connect(MaskEdit2, &DateMaskEdit::exitEdit, this, &TFormLivros::MaskEdit2Exit);
    connect(MaskEdit1, &DateMaskEdit::returnKeyPressed, this, &TFormLivros::MaskEdit1KeyPress);
    connect(MaskEdit2, &DateMaskEdit::returnKeyPressed, this, &TFormLivros::MaskEdit2KeyPress);
    connect(BotCancelaDesfazer, &QPushButton::clicked, this, &TFormLivros::BotCancelaDesfazerClick);
    connect(BotDesfPrep, &QPushButton::clicked, this, &TFormLivros::BotDesfPrepClick);
    connect(BotMapaSiproquim, &QPushButton::clicked, this, &TFormLivros::BotMapaSiproquimClick);
    connect(BotConferencia, &QPushButton::clicked, this, &TFormLivros::BotConferenciaClick);
    connect(BotFormularios, &QPushButton::clicked, this, &TFormLivros::BotFormulariosClick);
    connect(PainelLivro, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(PainelLivro->mapToGlobal(at)); });
    connect(Mostrarolivronatela1, &QAction::triggered, this, &TFormLivros::Mostrarolivronatela1Click);
    connect(MostrarLivrosEmitidos, &QAction::triggered, this, &TFormLivros::MostrarLivrosEmitidosClick);
    connect(Timer1, &QTimer::timeout, this, &TFormLivros::Timer1Timer);
}

void TFormLivros::FormCreate()
{
    resize(970, 650);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    Memo1->setGeometry(13, 68, 929, 527);
    // The "X" button sits on the listing's top right corner.
    BitBtn4->setGeometry(Memo1->x() + Memo1->width() - 32, Memo1->y() - 27, 32, 25);
    // The progress bar's bottom and right edges line up with the "X" button and the listing.
    Gauge1->move(Memo1->x() + Memo1->width() - Gauge1->width(), BitBtn4->y() + BitBtn4->height() - Gauge1->height());
}

void TFormLivros::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PainelLivro->setGeometry(rect());
}

// --- Activation ---------------------------------------------------------------------------

void TFormLivros::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        requestActivation(ActivationRule::FocusReturn::FirstShow);
}

bool TFormLivros::eventFilter(QObject* watched, QEvent* event)
{
    // A non-modal window of the program (the report engine's status window) going away gives the
    // focus back to this window; popups, tool tips and modal windows do not count, and neither
    // does a window that goes while a modal one is open (the focus returns to that one).
    if (event->type() == QEvent::Hide && !event->spontaneous() && watched->isWidgetType() && watched != this) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        const bool ownWindow = widget->isWindow() && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool);
        if (ownWindow && !widget->isModal() && !QApplication::activeModalWidget() && isVisible())
            requestActivation(ActivationRule::FocusReturn::OwnWindowGone);
    }
    return QWidget::eventFilter(watched, event);
}

void TFormLivros::requestActivation(ActivationRule::FocusReturn how)
{
    if (!m_activation.activates(how))
        return;
    // Runs once the event that brought the focus back has been handled.
    QMetaObject::invokeMethod(this, &TFormLivros::FormActivate, Qt::QueuedConnection);
}

void TFormLivros::FormActivate()
{
    if (m_activation.running())
        return;
    ActivationRule::Running running(m_activation);
    const bool reached = PainelLivro->isVisible();
    if (!m_settingsChecked) {
        m_settingsChecked = true;
        // A lock timeout that is no whole number of seconds: said once, over the window, which
        // goes on with the usual 60 s.
        if (const QString problem = data::lockTimeoutProblem(); !problem.isEmpty())
            showStandardError(problem + QStringLiteral(" Esperando 60 segundos."));
    }
    const bool done = runHandler([this] {
        m_programFolder = programFolder();
        m_storeCount = countStores();
        if (ShowViewOnlyBook())
            return;
        PainelLivro->setVisible(true);
        selectStore();
    });
    // A failure after a state was reached keeps that state; one before leaves nothing to use.
    if (!done && !m_closed && !reached)
        showOnlyExit();
}

// After a failed start (no database, a lost server) the window would be an empty grey square:
// it shows why nothing else is there and its way out.
void TFormLivros::showOnlyExit()
{
    PainelLivro->setVisible(true);
    HideBookButtons();
    for (QWidget* w : std::initializer_list<QWidget*>{PainelCNPJ, PainelPeriodo5, pnl_progresso, Memo1, BitBtn4, Gauge1})
        w->hide();
    Label2->setText(QStringLiteral("Não foi possível abrir os dados da loja. Corrija o problema indicado e abra o "
                                   "programa de novo."));
    Label2->adjustSize();
    Label2->show();
    showExitButton();
}

void TFormLivros::showExitButton()
{
    BitBtn39->setVisible(true);
    BitBtn39->setEnabled(true);
}

int TFormLivros::countStores()
{
    data::Query& query = m_dm.SQLQuery1;
    query.close();
    query.setSql(QStringLiteral("Select count(*) QDELAB from TABLAB"));
    query.open();
    const int count = query.asInteger(QStringLiteral("QDELAB"));
    query.close();
    return count;
}

// --- Book controls and the small handlers ---------------------------------------------------

void TFormLivros::setBookControls(bool v)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label3, Label4, Label5, Label6, Bevel1, Bevel2, Bevel3, Bevel4})
        w->setVisible(v);
    for (QWidget* w : std::initializer_list<QWidget*>{BotSC, BitBtn39, BotEntorpecentes, BotPsicotropicos,
                                                       BotControleEspecial, BotImunossupressores, BotFormularios})
        w->setEnabled(v);
    // The "Termo" buttons of each book row, usable on book choice.
    setTermButtons(v);
    for (QWidget* w : std::initializer_list<QWidget*>{BotSC, BitBtn39, BotEntorpecentes, BotPsicotropicos,
                                                       BotControleEspecial, BotImunossupressores, BotFormularios})
        w->setVisible(v);
}

void TFormLivros::HideBookButtons() { setBookControls(false); }
void TFormLivros::ShowBookButtons() { setBookControls(true); }

void TFormLivros::BitBtn39Click() { close(); }

void TFormLivros::BotEntorpecentesClick() { selectListGroup(1); }
void TFormLivros::BotPsicotropicosClick() { selectListGroup(2); }
void TFormLivros::BotControleEspecialClick() { selectListGroup(3); }
void TFormLivros::BotImunossupressoresClick() { selectListGroup(4); }

void TFormLivros::selectListGroup(int group)
{
    m_selectedListGroup = group;
    LoadComponentLists();
}

void TFormLivros::TituloClick()
{
    Memo1->setVisible(true);
    Label2->setVisible(true);
    BitBtn4->setVisible(true);
    HideBookButtons();
}

void TFormLivros::BitBtn4Click()
{
    Label2->hide();
    Memo1->hide();
    ShowBookButtons();
    BitBtn4->hide();
    Gauge1->hide();
}

void TFormLivros::Mostrarolivronatela1Click()
{
    Memo1->setVisible(true);
    BitBtn4->setVisible(true);
    HideBookButtons();
}

// Esc presses the cancel button that is showing: the period panel's button in period entry, "X"
// in the listing, "Sair" in book and store choice; during a build, with none showing, nothing.
void TFormLivros::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        pressCancelButton();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormLivros::pressCancelButton()
{
    for (QPushButton* cancel : {BotCancelaDesfazer, BitBtn4, BitBtn39}) {
        if (cancel->isVisible() && cancel->isEnabled()) {
            cancel->click();
            return;
        }
    }
}

// --- Closing and other programs --------------------------------------------------------------

void TFormLivros::closeEvent(QCloseEvent* event)
{
    // Closing during a build stops it at its next step, rolled back.
    BuildInputBlock::requestStop();
    event->accept();
    if (!m_closed) {
        m_closed = true;
        FormClose();
        emit closed();
    }
}

void TFormLivros::FormClose()
{
    if (startSynchroniserOnClose) {
        const QString synchroniser = mapSuitePath(QString::fromLatin1(kSynchroniser));
        if (QFileInfo::exists(synchroniser))
            RunExternalProgram(synchroniser);
    }
    deleteInUseMarker();
}

void TFormLivros::RunExternalProgram(const QString& commandLine) { runExternalProgram(commandLine); }

void TFormLivros::Timer1Timer()
{
    Timer1->stop();
    writeInUseMarker(QDateTime::currentDateTime());
    Timer1->start();
}

} // namespace livros::app
