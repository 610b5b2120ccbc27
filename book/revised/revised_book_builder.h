#pragma once
#include "book/revised/movement_statement.h"
#include "book/revised/revised_build_view.h"

#include <QDate>
#include <QString>
#include <vector>

namespace livros::data {
class TDM;
class Query;
}

namespace livros::revised {

inline constexpr char16_t kBadStartDateMessage[] = u"Data Inicial incorreta. Corrija e tente novamente.";
inline constexpr char16_t kBadEndDateMessage[] = u"Data Final incorreta. Corrija e tente novamente.";
inline constexpr char16_t kStatementFailedMessage[] = u"Falha ao buscar movimentações!";

// The SQL texts of a build besides the movement statement.
QString laboratorySelect(const QString& cnpj);
QString deleteStoreBook(const QString& cnpj);
QString componentSelection(RevisedMode mode);
// The catalogue rows of the SIPROQUIM report (its WHERE condition): the controlled chemicals,
// shared with the monthly map so that both declare the same products.
QString siproquimComponentCondition();

// One row of the component selection, as the build uses it. Code, unit and list are kept as
// read: the movement statement applies their widths and the blank-list rule.
struct ComponentRow {
    QString codigo;
    QString componente; // first 80 characters, shown in the progress footer
    QString unid;
    QString lista;
    QString fornecedor;
};

// The statement values of one selected component: the store's and period's of `values`, the
// component's own from its row.
MovementValues forComponent(MovementValues values, const ComponentRow& row);

// The store's laboratory ('' when the store has none) and the component selection's rows, as a
// build reads them.
QString readStoreLaboratory(data::Query& query, const QString& cnpj);
std::vector<ComponentRow> readComponentRows(data::Query& query, RevisedMode mode);

enum class RevisedBuildOutcome {
    Built,           // every statement ran and the preview was shown
    BadStartDate,    // nothing changed in the database
    BadEndDate,      // invalid or before the start date; nothing changed in the database
    StatementFailed, // nothing changed: the store's previous book is whole
};

struct RevisedBuildResult {
    RevisedBuildOutcome outcome = RevisedBuildOutcome::Built;
    int components = 0;      // rows of the component selection
    int statementsRun = 0;   // movement statements that completed
    QString failedStatement; // the text of the statement that failed
    QString failureReason;   // the server's message for it
};

// Rebuilds one store's revised book in LIVROREVCONTR for a period: the store's lines are
// deleted, then one movement statement per component of the run mode lets the server write the
// lines with their running stock, each product's lines are checked (opening stock from the
// inventory, then every line's stock in order), then the book is previewed.
//
// The build is one transaction that holds the store's claim on LIVROREVCONTR: a build of the same
// store from another workstation waits for it (showing why) up to the lock timeout, builds of
// other stores go on at the same time, and the delete, the lines and the check
// commit together before the preview. Any failure rolls it back: the store's previous book stays
// whole. A failing movement statement is reported with its text and ends the build; a check that
// does not add up throws book::StockCheckFailed naming the product; other errors (the laboratory
// read, the component selection, a database that cannot serve the build at all, the preview)
// propagate with no preview, their text saying that the book was not built.
class RevisedBookBuilder {
public:
    RevisedBookBuilder(data::TDM& dm, RevisedBuildView& view);

    // The dates as the period edits hold them, "dd/mm/yy".
    RevisedBuildResult build(RevisedMode mode, const QString& cnpj, const QString& startText,
                             const QString& endText);
    // Dates already read; an invalid date is reported as the edit's text would be.
    RevisedBuildResult build(RevisedMode mode, const QString& cnpj, const QDate& start, const QDate& end);

private:
    RevisedBuildResult writeBook(RevisedMode mode, MovementValues values, const std::vector<ComponentRow>& components);

    data::TDM& m_dm;
    RevisedBuildView& m_view;
};

} // namespace livros::revised
