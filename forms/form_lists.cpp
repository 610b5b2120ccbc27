#include "forms/form_lists.h"

#include <array>

namespace livros::forms {

namespace {

struct FormEntry {
    PeriodicForm form;
    const char* keyword;
    const char16_t* title;
    QStringList lists;
};

// Portaria 344/98 arts. 68, 69 and 72 and RDC 58/2007: the balances take every list the
// pharmacy's books keep; the monthly relations only the notifications of their own colour.
const std::array<FormEntry, 4>& formTable()
{
    static const std::array<FormEntry, 4> table{{
        {PeriodicForm::Bspo, "BSPO", u"Balanço de Substâncias Psicoativas e Outras Sujeitas a Controle Especial",
         {"A1", "A2", "A3", "B1", "B2", "C1", "C2", "C3", "C4", "C5", "D1"}},
        {PeriodicForm::Bmpo, "BMPO", u"Balanço de Medicamentos Psicoativos e Outros Sujeitos a Controle Especial",
         {"A1", "A2", "A3", "B1", "B2", "C1", "C2", "C3", "C4", "C5"}},
        {PeriodicForm::Rmnra, "RMNRA", u"Relação Mensal de Notificações de Receita \"A\"", {"A1", "A2", "A3"}},
        {PeriodicForm::Rmnrb2, "RMNRB2", u"Relação Mensal de Notificações de Receita B2", {"B2"}},
    }};
    return table;
}

const FormEntry& entryOf(PeriodicForm form)
{
    for (const FormEntry& entry : formTable())
        if (entry.form == form)
            return entry;
    return formTable().front();
}

} // namespace

QString formKeyword(PeriodicForm form) { return QString::fromLatin1(entryOf(form).keyword); }

std::optional<PeriodicForm> formFromKeyword(const QString& keyword)
{
    for (const FormEntry& entry : formTable())
        if (keyword.compare(QLatin1String(entry.keyword), Qt::CaseInsensitive) == 0)
            return entry.form;
    return std::nullopt;
}

QString formTitle(PeriodicForm form) { return QString::fromUtf16(entryOf(form).title); }

const QStringList& formLists(PeriodicForm form) { return entryOf(form).lists; }

bool formTakesList(PeriodicForm form, const QString& lista)
{
    return formLists(form).contains(lista.trimmed().toUpper());
}

} // namespace livros::forms
