#include "siproquim/month_map_file.h"
#include "platform/system_error_text.h"

#include "siproquim/map_fields.h"
#include "siproquim/map_writer.h"
#include "siproquim/month_map_reader.h"
#include "platform/native_file_name.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

namespace livros::siproquim {

std::optional<MapMonth> parseMapMonth(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const MapMonth month{m.captured(2).toInt(), m.captured(1).toInt()};
    if (month.month < 1 || month.month > 12 || month.year < 2010)
        return std::nullopt;
    return month;
}

QString unfinishedMonthRefusal(const MapMonth& month, const QDate& today)
{
    const QDate lastDay = QDate(month.year, month.month, 1).addMonths(1).addDays(-1);
    if (today > lastDay)
        return {};
    return QStringLiteral("O mapa SIPROQUIM de %1/%2 não foi gravado: o mês ainda não terminou (o mapa de um mês "
                          "é feito a partir do dia seguinte ao último dia do mês, %3).")
        .arg(monthAbbreviation(month.month))
        .arg(month.year)
        .arg(lastDay.addDays(1).toString(QStringLiteral("dd/MM/yyyy")));
}

MapFileResult writeMonthMap(data::TDM& dm, const QString& cnpj, const MapMonth& month, const QString& folder)
{
    MapFileResult result;
    result.refusal = unfinishedMonthRefusal(month, QDate::currentDate());
    if (!result.refusal.isEmpty())
        return result;
    const MonthMap read = readMonthMap(dm, cnpj.trimmed(), month.year, month.month);
    const ComposedMap map = composeMap(read.content);
    result.problems = read.problems + map.problems;
    if (!result.problems.isEmpty())
        return result;
    // Joined as text: QDir would turn bytes that are not UTF-8 in the folder's name into others.
    const QString base = QDir::isAbsolutePath(folder) ? folder : QDir::currentPath() + QLatin1Char('/') + folder;
    const QString path = QDir::cleanPath(base + QLatin1Char('/') + mapFileName(read.content));
    const auto fail = [&](const QString& why) {
        result.fileError = QStringLiteral("Não foi possível gravar o mapa \"%1\": %2").arg(QDir::toNativeSeparators(path), why);
        return result;
    };
    // A name Qt cannot write as it is (bytes that are not UTF-8) is written in a temporary folder
    // and moved there.
    // The folder itself may be made, inside one that exists; a mistyped path makes no tree.
    if (!folderOfPathExists(path) && !makeFolder(folder))
        return fail(QStringLiteral("a pasta \"%1\" não existe").arg(QDir::toNativeSeparators(folder)));
    const bool raw = hasRawBytes(path);
    std::optional<QTemporaryDir> staging;
    if (raw)
        staging.emplace();
    if (raw && !staging->isValid())
        return fail(QStringLiteral("não foi possível criar a pasta temporária"));
    QSaveFile file(raw ? staging->filePath(QStringLiteral("mapa.txt")) : path);
    if (!file.open(QIODevice::WriteOnly) || file.write(map.bytes) != map.bytes.size() || !file.commit())
        return fail(portugueseSystemText(file.errorString()));
    if (raw) {
        if (const QString why = installFile(file.fileName(), path); !why.isEmpty())
            return fail(why);
    }
    result.path = path;
    return result;
}

QString refusalText(const QStringList& problems)
{
    return QStringLiteral("O mapa SIPROQUIM não foi gravado: %1 %2 a corrigir no cadastro ou nas movimentações.\n")
               .arg(problems.size())
               .arg(problems.size() == 1 ? QStringLiteral("problema") : QStringLiteral("problemas"))
           + problems.join(u'\n');
}

} // namespace livros::siproquim
