#pragma once
#include "app/form_choice_dialog.h"
#include "app/activation_rule.h"
#include "app/run_mode.h"
#include "book/classic/component_lists.h"
#include "book/register/book_terms.h"
#include "book/revised/movement_statement.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include <functional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace livros::data {
class TDM;
}
namespace livros::report {
class TRM;
}

namespace livros::app {

class BuildInputBlock;
class ClickLabel;
class DateMaskEdit;
class PieGauge;

// The main window `FormLivros`: on its main panel one screen state at a time (store choice,
// book choice, period entry, the listing of a built book, the progress of a build). Every run
// starts in its activation handler; the run mode decides what the user meets.
class TFormLivros : public QWidget {
    Q_OBJECT
public:
    // The report module is looked up when a report runs (it is created after the window).
    TFormLivros(data::TDM& dm, RunMode mode, QWidget* parent = nullptr);
    ~TFormLivros() override;

    // Controls, named as the window's resource names them.
    QWidget* PainelLivro;
    ClickLabel* Titulo;
    QLabel* Label2;
    QProgressBar* Gauge1;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QFrame* Bevel1;
    QFrame* Bevel2;
    QFrame* Bevel3;
    QFrame* Bevel4;
    QPushButton* BotEntorpecentes;
    QPushButton* BotPsicotropicos;
    QPushButton* BotControleEspecial;
    QPushButton* BotImunossupressores;
    QPushButton* BitBtn1;  // "Termo de abertura"
    QPushButton* BitBtn3;
    QPushButton* BitBtn5;
    QPushButton* BitBtn7;
    QPushButton* BitBtn2;  // "Termo de encerramento"
    QPushButton* BitBtn6;
    QPushButton* BitBtn8;
    QPushButton* BitBtn10;
    QPushButton* BitBtn39; // "Sair", the window's cancel button
    QPushButton* BotSC;
    QPushButton* BotFormularios; // "Balanços e relações": the health authority's periodic forms
    QFrame* PainelPeriodo5;
    QLabel* Panel79;
    QLabel* Label368;
    DateMaskEdit* MaskEdit1;
    QLabel* Label369;
    DateMaskEdit* MaskEdit2;
    QPushButton* BotDesfPrep;
    QPushButton* BotCancelaDesfazer; // the period panel's cancel button
    QPushButton* BotMapaSiproquim;   // "Gerar mapa SIPROQUIM", SIPROQUIM mode only
    QPushButton* BotConferencia;     // "Conferência": the check of the store's data for the period
    QFrame* PainelCNPJ;
    QLabel* Panel2;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn4;  // "X": leaves the listing view
    QFrame* pnl_progresso;
    QLabel* Panel4;
    PieGauge* Gauge2;
    QLabel* pnl_rodape_progresso;
    QTimer* Timer1;
    QMenu* PopupMenu1;
    QAction* Mostrarolivronatela1;
    QAction* MostrarLivrosEmitidos; // the store's register books and issued sheets

    // The values the handlers share.
    RunMode runMode() const { return m_mode; }
    const QString& programFolderText() const { return m_programFolder; }
    int storeCount() const { return m_storeCount; }
    const QString& storeCnpj() const { return m_storeCnpj; }
    int selectedListGroup() const { return m_selectedListGroup; }
    const classic::ComponentLists& componentLists() const { return m_lists; }

    // Operations shared by the window's parts.
    void FormCreate();
    void FormActivate();
    void HideBookButtons();
    void ShowBookButtons();
    void OpenPeriodPanel(bool cancelReadsSair);
    void LoadComponentLists();
    void BuildRevisedBook(BuildInputBlock& block, const QString& initialDate, const QString& finalDate);
    void ShowRevisedBook(revised::RevisedMode mode);
    bool ShowViewOnlyBook();
    void RunExternalProgram(const QString& commandLine);

    // Handlers.
    void BitBtn39Click();
    void BotEntorpecentesClick();
    void BotPsicotropicosClick();
    void BotControleEspecialClick();
    void BotImunossupressoresClick();
    void TituloClick();
    void BitBtn4Click();
    void ComboBox1Change(const QString& text);
    void MaskEdit1Enter();
    void MaskEdit2Enter();
    void MaskEdit1Exit();
    void MaskEdit2Exit();
    void MaskEdit1KeyPress();
    void MaskEdit2KeyPress();
    void BotCancelaDesfazerClick();
    void BotDesfPrepClick();
    void BotSCClick();
    void BotMapaSiproquimClick();
    void BotConferenciaClick();
    void BotFormulariosClick();
    void Mostrarolivronatela1Click();
    void Timer1Timer();
    void FormClose();
    // The register books: a term of a classic book (group 1..4), "Emitir" in a book's preview,
    // the list of the store's books.
    void TermButtonClick(int group, registerbook::TermKind term);
    void issueShownBook(registerbook::RegisterBookKind kind);
    void MostrarLivrosEmitidosClick();

    // Asks for the folder of the SIPROQUIM map (a dialog; tests answer it themselves). Empty: cancelled.
    std::function<QString()> chooseMapFolder;
    // Asks which periodic form and period (a dialog; tests answer it themselves). nullopt: cancelled.
    std::function<std::optional<FormChoice>()> chooseForm;

    // Whether closing the window starts the suite's synchroniser first; nothing turns it on.
    bool startSynchroniserOnClose = false;

signals:
    // The window has closed: its close handling has run.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createBookControls();
    void createStorePanel();
    void createPeriodPanel();
    void createListingAndProgress();
    void connectHandlers();

    void setBookControls(bool visible);
    void setTermButtons(bool visible);
    void connectTermButtons();
    // Runs a book's report with "Emitir" in its preview for that book (none: no such button).
    void runBookReportWithIssue(std::optional<registerbook::RegisterBookKind> kind, const std::function<void()>& run);
    void selectStore();
    void selectListGroup(int group);
    void periodEditEntered();
    void periodEditLeft(DateMaskEdit& edit, const QString& field, bool editAgain);
    void pressCancelButton();
    void showOnlyExit();
    void showExitButton();
    void requestActivation(ActivationRule::FocusReturn how);
    int countStores();
    report::TRM& reportModule();

    data::TDM& m_dm;
    RunMode m_mode;
    ActivationRule m_activation;
    bool m_closed = false;
    bool m_settingsChecked = false; // the environment's settings are said once, at the first activation

    QString m_programFolder;
    int m_storeCount = 0;
    QString m_storeCnpj;
    int m_selectedListGroup = 0;
    classic::ComponentLists m_lists;
};

// The one instance, created by the main program.
extern TFormLivros* FormLivros;

} // namespace livros::app
