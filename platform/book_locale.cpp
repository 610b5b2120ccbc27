#include "platform/book_locale.h"

namespace livros {

const QLocale& bookLocale()
{
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return brazil;
}

} // namespace livros
