#include "data/ods_mismatch.h"

#include "data/firebird_install.h"

namespace livros::data {
namespace {

QString firebirdOfOds(int major, int minor)
{
    const QString series = seriesOfOds(major);
    const QString ods = QStringLiteral("ODS %1.%2").arg(major).arg(minor);
    return series.isEmpty() ? QStringLiteral("de outra versão do Firebird (%1)").arg(ods)
                            : QStringLiteral("do Firebird %1 (%2)").arg(series, ods);
}

QString seriesOrAny(int major)
{
    const QString series = seriesOfOds(major);
    return series.isEmpty() ? QStringLiteral("da versão que criou o arquivo") : series;
}

// A file name as a shell word, for commands to copy.
QString shellWord(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
}

} // namespace

QString odsMismatchMessage(const QString& database, const OdsMismatch& ods)
{
    const QString backup = database + QStringLiteral(".fbk");
    const QString restored = database + QStringLiteral(".novo");
    const QString fileSeries = seriesOrAny(ods.foundMajor);
    const QString engineSeries = seriesOrAny(ods.supportedMajor);
    return QStringLiteral(
               "O banco de dados \"%1\" é um arquivo %2, e o Firebird desta estação é %3: este não abre "
               "aquele.\n"
               "Há duas saídas:\n"
               "1. Indicar em \"IP DO SERVIDOR CENTRAL\" do QUILMARA.INI um servidor Firebird %4 que sirva "
               "este banco de dados.\n"
               "2. Converter o arquivo com uma cópia de segurança e uma restauração pelo gbak, com os programas "
               "fechados: numa estação com o Firebird %4,\n"
               "   gbak -b -user SYSDBA %5 %6\n"
               "e, nesta estação (Firebird %7),\n"
               "   gbak -c -user SYSDBA %6 %8\n"
               "   mv %5 %5.antigo && mv %8 %5")
        .arg(database, firebirdOfOds(ods.foundMajor, ods.foundMinor), firebirdOfOds(ods.supportedMajor, ods.supportedMinor),
             fileSeries, shellWord(database), shellWord(backup), engineSeries, shellWord(restored));
}

} // namespace livros::data
