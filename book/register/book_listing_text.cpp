#include "book/register/book_listing_text.h"

#include "book/register/archive_check.h"
#include "book/register/book_terms.h"
#include "platform/date_text.h"

#include <QDir>

namespace livros::registerbook {

QStringList registerBooksListing(const RegisterBookRecords& records, const QString& cnpj, int* problems)
{
    if (problems)
        *problems = 0;
    QStringList lines;
    lines << QStringLiteral("Livros da loja %1").arg(formattedCnpj(cnpj));
    const std::vector<RegisterBook> books = records.books(cnpj);
    if (books.empty()) {
        lines << QStringLiteral("  nenhum livro aberto: o termo de abertura ou a primeira emissão abre o livro");
        return lines;
    }
    for (const RegisterBook& book : books) {
        lines << QString();
        lines << QStringLiteral("%1 nº %2 - %3").arg(bookKeyword(book.kind)).arg(book.number).arg(bookSubject(book.kind));
        lines << QStringLiteral("  aberto em %1, %2").arg(fullDateText(book.opened),
                                                         book.isClosed() ? QStringLiteral("encerrado em ") + fullDateText(book.closed)
                                                                         : QStringLiteral("em uso"));
        const QString sheets = QStringLiteral("  folhas %1 a %2 (%3 autorizadas); emitidas: %4")
                                   .arg(book.firstSheet)
                                   .arg(book.lastAuthorisedSheet())
                                   .arg(book.authorisedSheets)
                                   .arg(book.issuedSheets);
        lines << (book.isClosed() ? sheets : sheets + QStringLiteral("; restam: %1").arg(book.sheetsLeft()));
        const std::vector<IssuedPeriod> issued = records.issuedPeriods(cnpj, book.kind);
        for (const IssuedPeriod& p : issued) {
            if (p.bookId != book.id)
                continue;
            // The days between the last period issued before this one and this one were never issued.
            const IssuedPeriod* before = nullptr;
            for (const IssuedPeriod& q : issued)
                if (q.to < p.from && (!before || q.to > before->to))
                    before = &q;
            if (before && before->to.addDays(1) < p.from)
                lines << QStringLiteral("    lacuna: de %1 a %2 não foi emitido")
                             .arg(fullDateText(before->to.addDays(1)), fullDateText(p.from.addDays(-1)));
            lines << QStringLiteral("    %1 a %2: folhas %3 a %4, %5 (SHA-256 %6)")
                         .arg(fullDateText(p.from), fullDateText(p.to))
                         .arg(p.firstSheet)
                         .arg(p.lastSheet)
                         .arg(QDir::toNativeSeparators(archivedFilePath(p.archiveFile)), p.sha256);
            if (const QString problem = archivedFileProblem(p); !problem.isEmpty()) {
                lines << QStringLiteral("      PROBLEMA: ") + problem;
                if (problems)
                    ++*problems;
            }
        }
    }
    return lines;
}

} // namespace livros::registerbook
