#include "cli/siproquim_map_command.h"
#include "platform/system_error_text.h"

#include "cli/cli_options.h"
#include "cli/store_and_period.h"
#include "platform/bounded_file.h"
#include "platform/native_file_name.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "platform/user_messages.h"
#include "siproquim/map_checker.h"
#include "siproquim/month_map_file.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace livros::cli {

namespace {

// A month's map of a pharmacy has some thousands of lines; a file far larger is no map.
constexpr qint64 kLargestMap = 64 * 1024 * 1024;

int checkMapFile(const QString& path)
{
    QByteArray content;
    if (const QString why = readBoundedFile(path, kLargestMap, content); !why.isEmpty()) {
        showStandardError(QStringLiteral("Não foi possível ler o mapa \"%1\": %2").arg(path, why));
        return Failure;
    }
    const siproquim::MapCheck check = siproquim::checkMap(content);
    std::fputs(siproquim::checkReport(check).toUtf8().constData(), stdout);
    return check.ok() ? Done : Precondition;
}

} // namespace

int runSiproquimMapCommand(const CliOptions& options, const std::function<std::unique_ptr<data::TDM>()>& createDataModule)
{
    if (options.has(QStringLiteral("--check")))
        return checkMapFile(options.value(QStringLiteral("--check")));

    const auto month = siproquim::parseMapMonth(options.value(QStringLiteral("--month")));
    if (!month) {
        showStandardError(QStringLiteral("siproquim-map: --month MM/AAAA (de 2010 em diante) ou --check ARQUIVO"));
        return Usage;
    }
    const QString folder = options.has(QStringLiteral("--out")) ? options.value(QStringLiteral("--out")) : QDir::currentPath();
    auto dm = createDataModule();
    if (!dm)
        return Failure;
    try {
        const StoreChoice store = chooseStore(*dm, options.value(QStringLiteral("--cnpj")));
        if (store.cnpj.isEmpty()) {
            showStandardError(QStringLiteral("siproquim-map: %1").arg(store.error));
            return Usage;
        }
        const QString& cnpj = store.cnpj;
        const siproquim::MapFileResult result = siproquim::writeMonthMap(*dm, cnpj, *month, folder);
        if (!result.refusal.isEmpty()) {
            showStandardError(result.refusal);
            return Precondition;
        }
        if (!result.problems.isEmpty()) {
            showStandardError(siproquim::refusalText(result.problems));
            return Precondition;
        }
        if (!result.fileError.isEmpty()) {
            showStandardError(result.fileError);
            return Failure;
        }
        std::printf("%s\n", encodeNativeName(QDir::toNativeSeparators(result.path)).constData());
        return Done;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

} // namespace livros::cli
