#include "book/build_transaction.h"

#include "book/stock_check.h"
#include "data/db_error.h"

namespace livros::book {

namespace {
QString withSentence(const QString& text) { return text + QLatin1Char('\n') + bookNotBuiltSentence(); }
} // namespace

QString otherStationBuildingMessage()
{
    return QStringLiteral("Outra estação está montando este livro; aguardando...");
}

QString otherStationStillBuildingMessage()
{
    return QStringLiteral("Outra estação continua montando este livro depois de %1 segundos de espera. ")
               .arg(data::lockTimeoutSeconds())
        + bookNotBuiltSentence() + QStringLiteral(" Tente novamente mais tarde.");
}

std::unique_ptr<data::Transaction> startBuildTransaction(data::Connection& connection, const QString& bookTable,
                                                         const std::function<void(const QString&)>& showWaiting)
{
    try {
        return std::make_unique<data::Transaction>(connection, QStringList{bookTable}, [&] {
            if (showWaiting)
                showWaiting(otherStationBuildingMessage());
        });
    } catch (const data::LockTimeout&) {
        throw data::LockTimeout(otherStationStillBuildingMessage());
    }
}

void rethrowAsNotBuilt()
{
    try {
        throw;
    } catch (const StockCheckFailed&) {
        throw; // says so already
    } catch (const data::LockTimeout& e) {
        if (e.message().contains(bookNotBuiltSentence()))
            throw;
        throw data::LockTimeout(withSentence(e.message()));
    } catch (const data::StaleAttachment& e) {
        throw data::StaleAttachment(withSentence(e.message()));
    } catch (const data::DatabaseUnavailable& e) {
        throw data::DatabaseUnavailable(withSentence(e.message()));
    } catch (const data::DbError& e) {
        throw data::DbError(withSentence(e.message()));
    }
}

} // namespace livros::book
