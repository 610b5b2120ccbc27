#include "data/schema.h"

#include "platform/system_error_text.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/firebird_client.h"
#include "platform/cp1252.h"

#include <QFile>
#include <QFileInfo>

using namespace Firebird;

namespace livros::data {

QStringList splitSqlScript(const QString& script)
{
    QStringList statements;
    QString current;
    enum { Plain, Quote, DoubleQuote, LineComment, BlockComment } state = Plain;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        const QChar next = i + 1 < script.size() ? script.at(i + 1) : QChar();
        switch (state) {
        case Plain:
            if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
                state = LineComment;
                ++i;
                continue;
            }
            if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
                state = BlockComment;
                ++i;
                continue;
            }
            if (c == QLatin1Char(';')) {
                if (!current.trimmed().isEmpty())
                    statements << current.trimmed();
                current.clear();
                continue;
            }
            if (c == QLatin1Char('\''))
                state = Quote;
            else if (c == QLatin1Char('"'))
                state = DoubleQuote;
            current += c;
            break;
        case Quote:
            current += c;
            if (c == QLatin1Char('\''))
                state = Plain; // a doubled quote re-enters at once
            break;
        case DoubleQuote:
            current += c;
            if (c == QLatin1Char('"'))
                state = Plain;
            break;
        case LineComment:
            if (c == QLatin1Char('\n')) {
                state = Plain;
                current += c;
            }
            break;
        case BlockComment:
            if (c == QLatin1Char('*') && next == QLatin1Char('/')) {
                state = Plain;
                ++i;
            }
            break;
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void createDatabaseFromScript(const QString& databasePath, const QString& scriptFile,
                              const QString& characterSet, const QString& vendorLib)
{
    QFile file(scriptFile);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(QFileInfo(scriptFile).absoluteFilePath(), portugueseSystemText(file.errorString())));
    const QStringList statements = splitSqlScript(fromCp1252(file.readAll()));

    ClientLibrary& library = ClientLibrary::load(vendorLib);
    const QByteArray dpb = buildDpb(library, effectiveUser(QStringLiteral("SYSDBA")), effectivePassword(QStringLiteral("masterkey")), QString(), characterSet);
    StatusGuard guard(library);
    auto& st = guard.wrapper();
    IAttachment* handle = nullptr;
    try {
        handle = library.provider()->createDatabase(&st, QFile::encodeName(databasePath).constData(), unsigned(dpb.size()),
                                                    reinterpret_cast<const unsigned char*>(dpb.constData()));
    } catch (const FbException& e) {
        guard.rethrow(e);
    }
    Attachment attachment(library, handle, databasePath);
    for (const QString& sql : statements) {
        try {
            executeDirect(attachment, sql);
        } catch (const DbError& e) {
            throw DbError(QStringLiteral("%1: %2\n%3").arg(QFileInfo(scriptFile).fileName(), e.message(), sql));
        }
    }
}

} // namespace livros::data
