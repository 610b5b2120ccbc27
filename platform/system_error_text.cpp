#include "platform/system_error_text.h"

#include <cerrno>
#include <cstring>
#include <locale.h>
#include <string.h>

namespace livros {
namespace {

struct KnownError {
    int error;
    const char16_t* text;
};

const KnownError kKnownErrors[] = {
    {EPERM, u"operação não permitida"},
    {ENOENT, u"arquivo ou pasta inexistente"},
    {EIO, u"erro de entrada ou saída no dispositivo"},
    {EACCES, u"permissão negada"},
    {EBUSY, u"dispositivo ou recurso ocupado"},
    {EEXIST, u"o arquivo já existe"},
    {ENOTDIR, u"um nome do caminho não é uma pasta"},
    {EISDIR, u"é uma pasta"},
    {EINVAL, u"argumento inválido"},
    {EMFILE, u"arquivos abertos demais"},
    {EFBIG, u"arquivo grande demais"},
    {ENOSPC, u"não há espaço livre no dispositivo"},
    {EROFS, u"sistema de arquivos somente para leitura"},
    {ENAMETOOLONG, u"nome de arquivo longo demais"},
    {ELOOP, u"ligações simbólicas demais no caminho"},
    {EDQUOT, u"cota de disco excedida"},
};

QString libraryText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The C library's English text, which Qt also writes for the common errors whatever the locale:
// with the Brazilian locale generated, the library's own text is Portuguese and Qt's is not.
QString englishText(int error)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c ? QString::fromLatin1(strerror_l(error, c)) : QString();
}

} // namespace

QString systemErrorText(int error)
{
    for (const KnownError& known : kKnownErrors)
        if (known.error == error)
            return QString::fromUtf16(known.text);
    return libraryText(error);
}

QString portugueseSystemText(const QString& text)
{
    for (const KnownError& known : kKnownErrors)
        if (text == libraryText(known.error) || text == englishText(known.error))
            return QString::fromUtf16(known.text);
    return text;
}

} // namespace livros
