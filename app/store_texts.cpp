#include "app/store_texts.h"

namespace livros::app {

QString storeCnpjOf(const QString& text) { return text.left(kStoreCnpjLength); }

QString FormatCnpj(const QString& cnpj)
{
    return cnpj.mid(0, 2) + u'.' + cnpj.mid(2, 3) + u'.' + cnpj.mid(5, 3) + u'/' + cnpj.mid(8, 4) + u'-'
        + cnpj.mid(12, 2);
}

QString cnpjFromStoreEntry(const QString& text)
{
    return storeCnpjOf(text.mid(0, 2) + text.mid(3, 3) + text.mid(7, 3) + text.mid(11, 4) + text.mid(16, 2));
}

} // namespace livros::app
