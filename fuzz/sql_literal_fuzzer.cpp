// The SQL text literal on any value, as it reaches the server: the code page 1252 bytes of
// sqlLiteral(value) are exactly one string literal, whose contents give the value back.
#include "fuzz_check.h"
#include "platform/cp1252.h"
#include "platform/sql_literal.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace livros;

namespace {

// Where an SQL string literal that starts at bytes[0] ends (one past its closing quote), as the
// server's lexer reads it: two quotes in a row stand for one; -1 when it is never closed.
qsizetype literalEnd(const QByteArray& bytes, QByteArray& contents)
{
    if (bytes.isEmpty() || bytes.at(0) != '\'')
        return -1;
    for (qsizetype i = 1; i < bytes.size(); ++i) {
        if (bytes.at(i) != '\'') {
            contents.append(bytes.at(i));
            continue;
        }
        if (i + 1 < bytes.size() && bytes.at(i + 1) == '\'') {
            contents.append('\'');
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

// The value as it is stored: each character in code page 1252, '?' for those outside it.
QString storedForm(const QString& value)
{
    QString out = value;
    for (QChar& c : out)
        if (!representableInCp1252(c))
            c = QLatin1Char('?');
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const qsizetype n = qsizetype(size - 1);
    // The first byte chooses how the rest becomes a value: code page 1252 bytes (what the suite's
    // tables and files hold) or UTF-16 code units (anything typed, lone surrogates included).
    QString value;
    if (data[0] & 1) {
        value = QString(n / 2, Qt::Uninitialized);
        std::memcpy(value.data(), bytes, size_t(n / 2) * sizeof(QChar));
    } else {
        const QByteArray raw(bytes, n);
        value = fromCp1252(raw);
        FUZZ_CHECK(toCp1252(value) == raw);
    }

    const QString literal = sqlLiteral(value);
    FUZZ_CHECK(literal.size() >= value.size() + 2);
    FUZZ_CHECK(literal.startsWith(QLatin1Char('\'')) && literal.endsWith(QLatin1Char('\'')));

    // What the server receives: one literal, nothing after it, holding the value's stored bytes.
    const QByteArray sent = toCp1252(literal);
    FUZZ_CHECK(sent.size() == literal.size());
    QByteArray contents;
    FUZZ_CHECK(literalEnd(sent, contents) == sent.size());
    FUZZ_CHECK(contents == toCp1252(value));
    FUZZ_CHECK(fromCp1252(contents) == storedForm(value));

    // Undoubling the quotes of the literal's inside gives the value itself.
    QString undoubled = literal.mid(1, literal.size() - 2);
    undoubled.replace(QLatin1String("''"), QLatin1String("'"));
    FUZZ_CHECK(undoubled == value);
    return 0;
}
