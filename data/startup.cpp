#include "data/startup.h"

#include "platform/cp1252.h"

namespace livros::data {

QString trimSpaces(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QList<QByteArray> textFileLines(const QByteArray& contents)
{
    QByteArray text = contents;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QString serverAddressFromIni(const QByteArray& contents)
{
    static const QByteArray key(kServerKey);
    QString address;
    for (const QByteArray& line : textFileLines(contents)) {
        if (line.size() < key.size() || !line.startsWith(key))
            continue;
        // Columns 50 to 109: at most 60 characters after the ignored column 49.
        address = trimSpaces(fromCp1252(line.mid(49, 60)));
    }
    return address;
}

QString firstLineOfPathFile(const QByteArray& contents)
{
    const QList<QByteArray> lines = textFileLines(contents);
    if (lines.isEmpty())
        return {};
    return fromCp1252(lines.first().left(100));
}

QString vendorLibForFolder(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    QString text = folder;
    if (!text.endsWith(QLatin1Char('\\')) && text.size() < 100)
        text += QLatin1Char('\\');
    return text + QStringLiteral("GDS32.DLL");
}

} // namespace livros::data
