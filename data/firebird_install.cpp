#include "data/firebird_install.h"

#include <QFileInfo>

namespace livros::data {
namespace {

struct Series {
    const char* name;
    const char* engine;   // the embedded engine's plugin
    const char* security; // file name of the security database
    int odsMajor;
};

// Newest first: when a machine has both, the newer engine opens what it creates.
constexpr Series kSeries[] = {
    {"4.0", "libEngine13.so", "security4.fdb", 13},
    {"3.0", "libEngine12.so", "security3.fdb", 12},
};

} // namespace

std::optional<FirebirdInstallation> systemFirebird()
{
    for (const Series& s : kSeries) {
        const QString root = QStringLiteral(LIVROS_FIREBIRD_LIBDIR "/") + QLatin1String(s.name);
        if (!QFileInfo::exists(root + QStringLiteral("/plugins/") + QLatin1String(s.engine)))
            continue;
        const QString behindWrapper = QStringLiteral("/usr/lib/firebird/%1/bin/firebird").arg(QLatin1String(s.name));
        return FirebirdInstallation{QLatin1String(s.name), root,
                                    QStringLiteral("/var/lib/firebird/%1/system/%2").arg(QLatin1String(s.name), QLatin1String(s.security)),
                                    s.odsMajor,
                                    QFileInfo(behindWrapper).isExecutable() ? behindWrapper : QStringLiteral("/usr/sbin/firebird")};
    }
    return std::nullopt;
}

QString FirebirdInstallation::toolProgram(const QString& name) const
{
    const QString behindWrapper = QStringLiteral("/usr/lib/firebird/%1/bin/%2").arg(series, name);
    return QFileInfo(behindWrapper).isExecutable() ? behindWrapper : name;
}

QString seriesOfOds(int odsMajor)
{
    for (const Series& s : kSeries)
        if (s.odsMajor == odsMajor)
            return QLatin1String(s.name);
    return {};
}

} // namespace livros::data
