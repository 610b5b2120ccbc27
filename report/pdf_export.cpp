#include "report/pdf_export.h"

#include "platform/output_file.h"
#include "report/report_error.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>

namespace livros::report {
namespace {

[[noreturn]] void fail(const QString& path, const QString& why)
{
    const QString where = path == QLatin1String("-") ? QStringLiteral("na saída padrão")
                                                     : QStringLiteral("o arquivo \"%1\"").arg(QDir::toNativeSeparators(path));
    throw ReportError(QStringLiteral("Não foi possível gravar %1: %2").arg(where, why));
}

} // namespace

bool isCompletePdf(const QByteArray& bytes)
{
    // The end-of-file mark closes the last 1024 bytes, followed at most by line ends.
    return bytes.startsWith("%PDF-") && bytes.right(1024).trimmed().endsWith("%%EOF");
}

QByteArray renderPdf(const LaidOutReport& report, const QString& title, const PageCallback& onPage, double scale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(int(kLayoutDpi));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Livros"));
        painted = paintDocument(report, writer, onPage, scale);
    }
    if (!painted || !isCompletePdf(bytes))
        throw ReportError(QStringLiteral("Falha ao gerar o PDF \"%1\"; nada foi gravado").arg(title));
    return bytes;
}

void writePdfBytes(OutputFile& file, const QByteArray& pdf)
{
    if (const QString why = file.precheck(); !why.isEmpty())
        fail(file.name(), why);
    file.write(pdf);
    if (const QString why = file.finishWriting(); !why.isEmpty())
        fail(file.name(), why);
}

void writePdfFile(const LaidOutReport& report, const QString& path, const QString& title,
                  const PageCallback& onPage, double scale)
{
    OutputFile file(path);
    // A name that cannot be written fails before the pages are painted.
    if (const QString why = file.precheck(); !why.isEmpty())
        fail(path, why);
    writePdfBytes(file, renderPdf(report, title, onPage, scale));
    if (const QString why = file.install(); !why.isEmpty())
        fail(path, why);
}

} // namespace livros::report
