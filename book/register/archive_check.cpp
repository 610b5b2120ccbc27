#include "book/register/archive_check.h"

#include "platform/date_text.h"
#include "platform/output_file.h"
#include "platform/suite_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace livros::registerbook {
namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

QString periodSheets(const IssuedPeriod& period)
{
    return QStringLiteral("período de %1 a %2, folhas %3 a %4 do livro nº %5")
        .arg(fullDateText(period.from), fullDateText(period.to))
        .arg(period.firstSheet)
        .arg(period.lastSheet)
        .arg(period.bookNumber);
}

// A name in the aside folder that no earlier file took.
QString freeName(const QDir& folder, const QString& name)
{
    QString candidate = name;
    for (int n = 2; folder.exists(candidate); ++n)
        candidate = QStringLiteral("%1.%2").arg(name).arg(n);
    return folder.filePath(candidate);
}

} // namespace

QString archiveRelativeFolder(const QString& cnpj, RegisterBookKind kind)
{
    // The CNPJ's letters and digits only, so that a CNPJ typed with its punctuation names the same
    // folder.
    QString name = cnpj;
    name.remove(QRegularExpression(QStringLiteral("[^0-9A-Za-z]")));
    return QStringLiteral("Livros/emitidos/%1/%2").arg(name, bookKeyword(kind));
}

QString archiveFolder(const QString& cnpj, RegisterBookKind kind)
{
    return QDir(suiteRoot()).filePath(archiveRelativeFolder(cnpj, kind));
}

QString archivedFilePath(const QString& recorded)
{
    return QDir::isAbsolutePath(recorded) ? recorded : QDir(suiteRoot()).filePath(recorded);
}

QString archivedFileProblem(const IssuedPeriod& period)
{
    const QString path = archivedFilePath(period.archiveFile);
    if (!QFileInfo::exists(path))
        return QStringLiteral("O arquivo emitido \"%1\" (%2) não existe mais. Restaure-o da cópia de segurança para "
                              "essa mesma pasta; as folhas emitidas não são impressas de novo com outro conteúdo.")
            .arg(native(path), periodSheets(period));
    const FileDigest digest = fileDigest(path);
    if (digest.sha256.isEmpty())
        return QStringLiteral("O arquivo emitido \"%1\" (%2) não pode ser lido. Confira as permissões da pasta de "
                              "livros emitidos.")
            .arg(native(path), periodSheets(period));
    if (digest.sha256 != period.sha256 || (period.size >= 0 && digest.size != period.size))
        return QStringLiteral("O arquivo emitido \"%1\" (%2) foi alterado depois da emissão: tem %3 bytes e SHA-256 %4, "
                              "mas foi emitido com %5 e SHA-256 %6. Restaure o arquivo original da cópia de segurança; "
                              "as folhas emitidas não são impressas de novo com outro conteúdo.")
            .arg(native(path), periodSheets(period))
            .arg(digest.size)
            .arg(digest.sha256, period.size >= 0 ? QStringLiteral("%1 bytes").arg(period.size) : QStringLiteral("outro conteúdo"),
                 period.sha256);
    return {};
}

QStringList recoverUnrecordedFiles(const std::vector<IssuedPeriod>& issued, const QString& cnpj, RegisterBookKind kind)
{
    QDir folder(archiveFolder(cnpj, kind));
    if (!folder.exists())
        return {};
    QHash<QString, const IssuedPeriod*> recorded;
    for (const IssuedPeriod& period : issued)
        recorded.insert(QFileInfo(period.archiveFile).fileName(), &period);

    QStringList notices;
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : files) {
        if (recorded.contains(name))
            continue;
        // "<archive name>.XXXXXX": the temporary file of an issue that was recorded but whose file
        // was not renamed yet.
        const QString base = name.left(name.size() - 7);
        if (name.size() > 7 && name.at(name.size() - 7) == QLatin1Char('.') && recorded.contains(base)
            && !folder.exists(base)) {
            const IssuedPeriod& period = *recorded.value(base);
            const FileDigest digest = fileDigest(folder.filePath(name));
            if (digest.sha256 == period.sha256 && folder.rename(name, base)) {
                QFile::setPermissions(folder.filePath(base), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
                notices << QStringLiteral("O arquivo da emissão do %1 ficou com o nome temporário \"%2\" e recebeu o seu "
                                          "nome \"%3\".")
                               .arg(periodSheets(period), name, native(folder.filePath(base)));
                continue;
            }
        }
        if (!folder.mkpath(unrecordedFolderName()))
            continue;
        const QString aside = freeName(QDir(folder.filePath(unrecordedFolderName())), name);
        if (QFile::rename(folder.filePath(name), aside))
            notices << QStringLiteral("O arquivo \"%1\" não tem registro de emissão (uma emissão interrompida antes de ser "
                                      "registrada) e foi movido para \"%2\". Nenhuma folha foi contada para ele; não o "
                                      "imprima como livro emitido.")
                           .arg(native(folder.filePath(name)), native(aside));
    }
    return notices;
}

} // namespace livros::registerbook
