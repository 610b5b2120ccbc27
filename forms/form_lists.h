#pragma once
#include <QString>
#include <QStringList>

#include <optional>

namespace livros::forms {

// The health authority's periodic forms: the quarterly or annual balances of controlled
// substances (BSPO) and medicines (BMPO), and the monthly relations of the retained list-A
// (RMNRA) and B2 (RMNRB2) notifications.
enum class PeriodicForm { Bspo, Bmpo, Rmnra, Rmnrb2 };

// The form's short name as the command line and the files name it ("BSPO", "RMNRB2").
QString formKeyword(PeriodicForm form);
// The form named by its keyword, letters in either case; nullopt for any other text.
std::optional<PeriodicForm> formFromKeyword(const QString& keyword);
// The form's printed title ("Balanço de Substâncias Psicoativas e Outras Sujeitas a Controle Especial").
QString formTitle(PeriodicForm form);

// The controlled lists whose products the form takes, as the catalogue writes them (LISTA of
// COMPONEN). The one table of which list goes into which form: when the health authority's lists
// change, only it changes (its sources are in docs/periodic-forms.md).
const QStringList& formLists(PeriodicForm form);
// Whether the form takes a product of list `lista` (blanks around it ignored, letters in either case).
bool formTakesList(PeriodicForm form, const QString& lista);

} // namespace livros::forms
