// The register books in the window: the opening and closing terms of the four classic books,
// "Emitir" in the preview of a built book, and the list of the store's books and issued sheets.
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/handler_guard.h"
#include "book/register/book_issue.h"
#include "book/register/book_listing_text.h"
#include "book/register/book_opening.h"
#include "book/register/book_terms.h"
#include "data/data_module.h"
#include "platform/date_text.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/memory_data_source.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report/report_module.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace livros::app {

using registerbook::RegisterBookKind;
using registerbook::TermKind;

void TFormLivros::setTermButtons(bool v)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BitBtn1, BitBtn2, BitBtn3, BitBtn6, BitBtn5, BitBtn8, BitBtn7, BitBtn10}) {
        w->setVisible(v);
        w->setEnabled(v);
    }
}

void TFormLivros::connectTermButtons()
{
    const std::pair<QPushButton*, int> opening[] = {{BitBtn1, 1}, {BitBtn3, 2}, {BitBtn5, 3}, {BitBtn7, 4}};
    const std::pair<QPushButton*, int> closing[] = {{BitBtn2, 1}, {BitBtn6, 2}, {BitBtn8, 3}, {BitBtn10, 4}};
    for (const auto& [button, group] : opening)
        connect(button, &QPushButton::clicked, this, [this, group] { TermButtonClick(group, TermKind::Opening); });
    for (const auto& [button, group] : closing)
        connect(button, &QPushButton::clicked, this, [this, group] { TermButtonClick(group, TermKind::Closing); });
}

void TFormLivros::TermButtonClick(int group, TermKind term)
{
    runHandler([&] {
        registerbook::TermRequest request;
        request.kind = registerbook::classicBookKind(group);
        request.cnpj = m_storeCnpj;
        request.term = term;
        registerbook::RegisterBookRecords records(m_dm.sqlcon2);
        const registerbook::TermBook target = registerbook::bookForTerm(m_dm, records, request);
        if (!target.book) {
            userMessages().inform(target.refusal);
            return;
        }
        if (term == TermKind::Closing
            && QMessageBox::question(this, windowTitle(),
                                     QStringLiteral("O termo de encerramento encerra o livro %1 com %2 folhas usadas; "
                                                    "a próxima emissão abre o livro seguinte, da folha 1. Continuar?")
                                         .arg(registerbook::bookDescription(*target.book))
                                         .arg(target.book->issuedSheets))
                   != QMessageBox::Yes)
            return;

        const auto bookValues = registerbook::termDataSource(*target.book, term, request.today,
                                                             registerbook::readTermPlace(m_dm, request.cnpj));
        report::TRM& rm = reportModule();
        report::ConnectionSet connections = rm.connections.set;
        connections.add(QString::fromLatin1(registerbook::kTermsConnection), bookValues.get());
        const report::ReportProject project =
            report::loadReportProject(localPath(m_programFolder + QString::fromLatin1(registerbook::kTermsProjectFile)));
        const report::ReportDefinition* definition = project.find(registerbook::termReportName(term));
        if (!definition)
            throw report::ReportError(QStringLiteral("O projeto \"%1\" não tem o relatório \"%2\"")
                                          .arg(project.filePath, registerbook::termReportName(term)));
        if (!rm.rvstm1.execute(project, *definition, connections) || term != TermKind::Closing)
            return;
        // The book is closed by a term that exists on paper or in a file, not by a look at it.
        if (!rm.rvstm1.LastRunDelivered) {
            userMessages().inform(QStringLiteral("O termo de encerramento não foi impresso nem gravado; o livro %1 "
                                                 "continua aberto. Imprima o termo ou grave-o em PDF para encerrá-lo.")
                                      .arg(registerbook::bookDescription(*target.book)));
            return;
        }
        records.closeBook(*target.book, request.today);
        userMessages().inform(QStringLiteral("O livro %1 foi encerrado com %2 folhas usadas.")
                                  .arg(registerbook::bookDescription(*target.book))
                                  .arg(target.book->issuedSheets));
    });
}

void TFormLivros::issueShownBook(RegisterBookKind kind)
{
    runHandler([&] {
        registerbook::IssueRequest request;
        request.kind = kind;
        request.cnpj = m_storeCnpj;
        request.from = parseDateText(MaskEdit1->maskText()).value_or(QDate());
        request.to = parseDateText(MaskEdit2->maskText()).value_or(QDate());
        request.programFolder = m_programFolder;
        const registerbook::IssueResult result = registerbook::issuePeriod(m_dm, request);
        QStringList texts = result.notices;
        texts << result.message;
        userMessages().inform(texts.join(QStringLiteral("\n\n")));
    });
}

void TFormLivros::runBookReportWithIssue(std::optional<RegisterBookKind> kind, const std::function<void()>& run)
{
    report::TRM& rm = reportModule();
    if (kind) {
        rm.rvstm1.PreviewActionText = QStringLiteral("&Emitir");
        rm.rvstm1.PreviewAction = [this, k = *kind] { issueShownBook(k); };
    }
    // Only this run's preview offers it.
    struct Clear {
        report::TRM& rm;
        ~Clear()
        {
            rm.rvstm1.PreviewActionText.clear();
            rm.rvstm1.PreviewAction = nullptr;
        }
    } clear{rm};
    run();
}

void TFormLivros::MostrarLivrosEmitidosClick()
{
    runHandler([this] {
        registerbook::RegisterBookRecords records(m_dm.sqlcon2);
        const QStringList lines = registerbook::registerBooksListing(records, m_storeCnpj);
        QDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Livros e folhas emitidas"));
        auto* text = new QPlainTextEdit(lines.join(QLatin1Char('\n')), &dialog);
        text->setReadOnly(true);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(text);
        layout->addWidget(buttons);
        dialog.resize(900, 450);
        dialog.exec();
    });
}

} // namespace livros::app
