#include "app/store_texts.h"

#include "platform/cnpj.h"

namespace livros::app {

QString storeCnpjOf(const QString& text) { return text.left(kStoreCnpjLength); }

QString FormatCnpj(const QString& cnpj) { return formatCnpj(cnpj); }

QString cnpjFromStoreEntry(const QString& text)
{
    return storeCnpjOf(text.mid(0, 2) + text.mid(3, 3) + text.mid(7, 3) + text.mid(11, 4) + text.mid(16, 2));
}

int matchingStoreEntry(const QStringList& entries, const QString& text)
{
    const auto lettersAndDigits = [](const QString& t) {
        QString kept;
        for (const QChar c : t)
            if (c.isLetterOrNumber())
                kept += c.toUpper();
        return kept;
    };
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return -1;
    for (int i = 0; i < entries.size(); ++i)
        if (entries[i] == typed)
            return i;
    const QString bare = lettersAndDigits(typed);
    // Typed without separators, the text is taken only as the whole CNPJ of an entry.
    if (bare != typed.toUpper())
        return -1;
    for (int i = 0; i < entries.size(); ++i)
        if (lettersAndDigits(entries[i]) == bare)
            return i;
    return -1;
}

} // namespace livros::app
