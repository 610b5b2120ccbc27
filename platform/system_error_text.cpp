#include "platform/system_error_text.h"

#include <cerrno>
#include <cstring>

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
        if (text == libraryText(known.error))
            return QString::fromUtf16(known.text);
    return text;
}

} // namespace livros
