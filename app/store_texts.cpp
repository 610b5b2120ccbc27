#include "app/store_texts.h"

#include "platform/cnpj.h"

namespace livros::app {

QString storeCnpjOf(const QString& text) { return text.left(kStoreCnpjLength); }

QString FormatCnpj(const QString& cnpj) { return formatCnpj(cnpj); }

QString cnpjFromStoreEntry(const QString& text)
{
    return storeCnpjOf(text.mid(0, 2) + text.mid(3, 3) + text.mid(7, 3) + text.mid(11, 4) + text.mid(16, 2));
}

} // namespace livros::app
