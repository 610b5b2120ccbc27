#include "report/pdf_export.h"
#include "platform/system_error_text.h"

#include "platform/native_file_name.h"
#include "report/report_error.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <memory>

namespace livros::report {
namespace {

[[noreturn]] void fail(const QString& path, const QString& why)
{
    throw ReportError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(QDir::toNativeSeparators(path), why));
}

} // namespace

void writePdfFile(const LaidOutReport& report, const QString& path, const QString& title,
                  const PageCallback& onPage, double scale)
{
    const QFileInfo target(path);
    if (path.trimmed().isEmpty())
        fail(path, QStringLiteral("nenhum nome de arquivo foi dado"));
    if (hasRawBytes(path)) {
        // A name Qt cannot write as it is: the PDF is made in a temporary folder and moved there.
        if (!folderOfPathExists(path))
            fail(path, QStringLiteral("a pasta do arquivo não existe"));
        QTemporaryDir staging;
        if (!staging.isValid())
            fail(path, portugueseSystemText(staging.errorString()));
        const QString staged = staging.filePath(QStringLiteral("livro.pdf"));
        writePdfFile(report, staged, title, onPage, scale);
        if (const QString why = installFile(staged, path); !why.isEmpty())
            fail(path, why);
        return;
    }
    if (target.isDir())
        fail(path, QStringLiteral("é uma pasta"));
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        fail(path, QStringLiteral("a pasta \"%1\" não existe").arg(QDir::toNativeSeparators(folder.filePath())));

    QSaveFile file(target.absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly))
        fail(path, portugueseSystemText(file.errorString()));
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(int(kLayoutDpi));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Livros"));
        painted = paintDocument(report, writer, onPage, scale);
    }
    if (!painted || file.error() != QFileDevice::NoError) {
        const QString why = portugueseSystemText(file.errorString());
        file.cancelWriting();
        fail(path, why.isEmpty() ? QStringLiteral("falha ao gerar o PDF") : why);
    }
    if (!file.commit())
        fail(path, portugueseSystemText(file.errorString()));
}

} // namespace livros::report
