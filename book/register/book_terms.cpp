#include "book/register/book_terms.h"

#include "book/register/book_opening.h"
#include "data/data_module.h"
#include "data/transaction.h"
#include "platform/date_text.h"
#include "data/cached_dataset.h"
#include "platform/suite_paths.h"
#include "report/dataset_connection.h"
#include "report/memory_data_source.h"
#include "report/named_report_export.h"
#include "report/report_error.h"

#include <QRegularExpression>

namespace livros::registerbook {
namespace {

QString dateInWords(const QDate& date)
{
    static const char* const kMonths[] = {"janeiro", "fevereiro", "março",    "abril",   "maio",     "junho",
                                          "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};
    return QStringLiteral("%1 de %2 de %3").arg(date.day()).arg(QString::fromUtf8(kMonths[date.month() - 1])).arg(date.year());
}

} // namespace

QString termReportName(TermKind kind)
{
    return kind == TermKind::Opening ? QStringLiteral("TermoAbertura") : QStringLiteral("TermoEncerramento");
}

QString formattedCnpj(const QString& cnpj)
{
    const QString c = cnpj.trimmed();
    if (c.size() != 14)
        return c;
    return QStringLiteral("%1.%2.%3/%4-%5").arg(c.left(2), c.mid(2, 3), c.mid(5, 3), c.mid(8, 4), c.mid(12, 2));
}

TermBook bookForTerm(data::TDM& dm, RegisterBookRecords& records, const TermRequest& request)
{
    TermBook result;
    if (request.term == TermKind::Opening) {
        result.book = currentOrNewBook(records, readCompanyBookSettings(dm), request.cnpj, request.kind, request.today,
                                       &result.refusal);
        return result;
    }
    const std::optional<RegisterBook> latest = records.latestBook(request.cnpj, request.kind);
    if (latest && latest->isClosed()) {
        result.refusal = QStringLiteral("O livro %1 já está encerrado (em %2). O próximo livro é aberto pelo termo "
                                        "de abertura ou pela próxima emissão.")
                             .arg(bookDescription(*latest), fullDateText(latest->closed));
    } else if (!latest || latest->issuedSheets == 0) {
        result.refusal = QStringLiteral("O livro de %1 ainda não tem folhas emitidas: o termo de encerramento só é "
                                        "lavrado depois que o livro é usado.")
                             .arg(bookSubject(request.kind));
    } else {
        result.book = latest;
    }
    return result;
}

TermPlace readTermPlace(data::TDM& dm, const QString& cnpj)
{
    TermPlace place;
    dm.DadosGer.open();
    const auto text = [&](const char* name) { return dm.DadosGer.field(QString::fromLatin1(name)).asString().trimmed(); };
    QString headOffice = dm.DadosGer.isEmpty() ? QString() : text("CNPJ");
    headOffice.remove(QRegularExpression(QStringLiteral("[^0-9A-Za-z]")));
    if (!dm.DadosGer.isEmpty() && headOffice.compare(cnpj.trimmed(), Qt::CaseInsensitive) == 0) {
        const auto piece = [&](const QString& before, const char* name) {
            const QString value = text(name);
            return value.isEmpty() ? QString() : before + value;
        };
        place.address = text("ENDERECO") + piece(QStringLiteral(", "), "NUMERO") + piece(QStringLiteral(" - "), "COMPLEMENTO")
                        + piece(QStringLiteral(", bairro "), "BAIRRO") + piece(QStringLiteral(", "), "CIDADE")
                        + piece(QStringLiteral("/"), "ESTADO") + piece(QStringLiteral(", CEP "), "CEP");
        place.stateRegistration = text("INSCRICAOEST");
        place.city = text("CIDADE") + piece(QStringLiteral("/"), "ESTADO");
    } else {
        place.address = QString(60, QLatin1Char('_'));
        place.stateRegistration = QString(20, QLatin1Char('_'));
        place.city = QString(25, QLatin1Char('_'));
        place.notice = QStringLiteral("Filial: o cadastro da empresa traz o endereço e a inscrição estadual da matriz, não "
                                      "os desta loja; eles foram deixados em branco para serem preenchidos à mão.");
    }
    dm.DadosGer.close();
    return place;
}

std::unique_ptr<report::MemoryDataSource> termDataSource(const RegisterBook& book, TermKind term, const QDate& date,
                                                         const TermPlace& place)
{
    auto source = std::make_unique<report::MemoryDataSource>(QStringList{
        QStringLiteral("NUMERO"), QStringLiteral("LIVRO"), QStringLiteral("CNPJ"), QStringLiteral("FOLHAS"),
        QStringLiteral("FOLHAINICIAL"), QStringLiteral("FOLHAFINAL"), QStringLiteral("FOLHASUSADAS"),
        QStringLiteral("ULTIMAFOLHA"), QStringLiteral("ABERTURA"), QStringLiteral("ENCERRAMENTO"),
        QStringLiteral("DATAEXTENSO"), QStringLiteral("ENDERECO"), QStringLiteral("INSCRICAOEST"), QStringLiteral("LOCAL"),
        QStringLiteral("AVISO")});
    const QDate closed = term == TermKind::Closing ? (book.isClosed() ? book.closed : date) : QDate();
    source->addRow({book.number, bookSubject(book.kind), formattedCnpj(book.cnpj), book.authorisedSheets,
                    book.firstSheet, book.lastAuthorisedSheet(), book.issuedSheets,
                    book.issuedSheets > 0 ? QVariant(book.lastIssuedSheet()) : QVariant(),
                    fullDateText(book.opened), closed.isValid() ? fullDateText(closed) : QString(), dateInWords(date),
                    place.address, place.stateRegistration, place.city, place.notice});
    return source;
}

QString writeTermPdf(data::TDM& dm, const TermRequest& request, const QString& programFolder, const QString& pdfPath)
{
    RegisterBookRecords records(dm.sqlcon2);
    // A book opened or closed by the term is recorded only once its PDF was written and verified.
    data::Transaction held(dm.sqlcon2, RegisterBookRecords::tables());
    const TermBook target = bookForTerm(dm, records, request);
    if (!target.book)
        return target.refusal;
    const std::unique_ptr<report::MemoryDataSource> bookValues = termDataSource(*target.book, request.term, request.today,
                                                                                       readTermPlace(dm, request.cnpj));
    report::DataModuleConnections connections(dm);
    report::ConnectionSet set = connections.set;
    set.add(QString::fromLatin1(kTermsConnection), bookValues.get());
    report::GenerateOptions options;
    options.today = request.today;
    const QString project = localPath(programFolder + QString::fromLatin1(kTermsProjectFile));
    if (!report::exportNamedReport(project, termReportName(request.term), set, pdfPath, options))
        throw report::ReportError(QStringLiteral("O projeto \"%1\" não tem o relatório \"%2\"; nada foi gravado")
                                      .arg(project, termReportName(request.term)));
    if (request.term == TermKind::Closing)
        records.closeBook(*target.book, request.today);
    held.commit();
    return {};
}

} // namespace livros::registerbook
