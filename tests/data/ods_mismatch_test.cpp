// A database file of another on-disk structure (ODS) than the installed engine's: a Firebird 3
// file under the Firebird 4 engine, or the reverse. The file is a real one of the fixture whose
// header names the other structure, so the installed engine refuses it as it would refuse a file
// of the other version; the attachment fails with the message that names both versions and the
// two ways out, and the tool exits 1 with it.
#include "data/connection.h"
#include "data/db_error.h"
#include "data/firebird_install.h"
#include "data/ods_mismatch.h"
#include "firebird_fixture.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::data;

namespace {

// The header page: a 16-byte page header, the page size, then the ODS major with the flag that
// marks a Firebird (not InterBase) file.
constexpr qint64 kOdsOffset = 18;
constexpr quint16 kFirebirdFlag = 0x8000;

void setOdsMajor(const QString& database, int expected, int wanted)
{
    QFile file(database);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(kOdsOffset));
    const QByteArray current = file.read(2);
    ASSERT_EQ(qFromLittleEndian<quint16>(current.constData()), quint16(kFirebirdFlag | expected));
    const quint16 other = qToLittleEndian(quint16(kFirebirdFlag | wanted));
    ASSERT_TRUE(file.seek(kOdsOffset));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(&other), 2), 2);
}

} // namespace

TEST(OtherOds, TheFileOfTheOtherVersionIsRefusedWithBothWaysOut)
{
    const auto firebird = systemFirebird();
    ASSERT_TRUE(firebird);
    const int other = firebird->odsMajor == 12 ? 13 : 12;
    const QString otherSeries = seriesOfOds(other);
    livros::testing::EmbeddedSuite suite;
    suite.releaseConnections();
    setOdsMajor(suite.mainDatabasePath(), firebird->odsMajor, other);

    Connection connection(QStringLiteral("ods"), QString());
    connection.setParam(QStringLiteral("DataBase"), suite.mainDatabasePath());
    connection.setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    QString message;
    try {
        connection.open();
    } catch (const DatabaseUnavailable& e) {
        message = e.message();
    }
    EXPECT_TRUE(message.contains(QStringLiteral("do Firebird %1 (ODS %2.0)").arg(otherSeries).arg(other)))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("do Firebird %1 (ODS %2.").arg(firebird->series).arg(firebird->odsMajor)))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("\"IP DO SERVIDOR CENTRAL\" do QUILMARA.INI um servidor Firebird ")
                                 + otherSeries)) << message.toStdString();
    const QString db = QLatin1Char('\'') + suite.mainDatabasePath() + QLatin1Char('\'');
    EXPECT_TRUE(message.contains(QStringLiteral("gbak -b -user SYSDBA %1 '%2.fbk'").arg(db, suite.mainDatabasePath())))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("gbak -c -user SYSDBA '%1.fbk' '%1.novo'").arg(suite.mainDatabasePath())))
        << message.toStdString();

    // The tool stops there with exit 1 and the message.
    QProcess tool;
    tool.start(QStringLiteral(LIVROS_CLI),
               QStringList{QStringLiteral("--folder"), suite.folder(), QStringLiteral("classic"), QStringLiteral("--group"),
                           QStringLiteral("1"), QStringLiteral("--cnpj"), QStringLiteral("12345678000199")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains(QStringLiteral("gbak -c -user SYSDBA")));
}

TEST(OtherOds, AVersionWeDoNotKnowIsNamedByItsStructure)
{
    const QString text = odsMismatchMessage(QStringLiteral("/x/it's.bd"), OdsMismatch{11, 2, 13, 0});
    EXPECT_TRUE(text.contains(QStringLiteral("de outra versão do Firebird (ODS 11.2)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("gbak -b -user SYSDBA '/x/it'\\''s.bd' '/x/it'\\''s.bd.fbk'")))
        << text.toStdString();
}
