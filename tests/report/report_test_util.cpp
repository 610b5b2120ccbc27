#include "report_test_util.h"

#include "firebird_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace livros::report::testing {

QString testDataFile(const QString& name)
{
    return QDir(livros::testing::sourceDir()).filePath(QStringLiteral("tests/report/data/") + name);
}

QString rptFile(const QString& name)
{
    return QDir(livros::testing::sourceDir()).filePath(QStringLiteral("rpt/") + name);
}

QStringList pdfPages(const QString& pdfFile)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfFile, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdfFile.toStdString() << ": " << p.readAllStandardError().toStdString();
        return {};
    }
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast(); // pdftotext ends every page with a form feed
    return pages;
}

int countOccurrences(const QString& text, const QString& needle)
{
    return int(text.count(needle));
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    f.write(text);
    return path;
}

} // namespace livros::report::testing
