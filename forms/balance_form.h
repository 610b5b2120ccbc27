#pragma once
#include "forms/form_lists.h"
#include "forms/form_movements.h"
#include "forms/form_period.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace livros::data {
class TDM;
}

namespace livros::forms {

// One line of a balance: a substance (BSPO, its products of one DCB and unit together) or a
// medicine (BMPO), in the book's unit.
struct BalanceRow {
    QString dcb;
    QString name;          // the substance's or the medicine's
    QString registration;  // BMPO: the medicine's registration
    QString unit;
    double opening = 0;
    double entries = 0;
    double exits = 0;
    double losses = 0;
    double closing() const { return opening + entries - exits - losses; }
};

// One entry of the "balanço das aquisições".
struct Acquisition {
    QDate date;
    QString dcb;
    QString name;
    QString supplier;
    QString supplierCnpj;  // of FORNECED, as the revised book takes it; empty when not recorded
    QString invoice;
    double quantity = 0;
    QString unit;
};

struct BalanceForm {
    PeriodicForm form = PeriodicForm::Bspo;
    QString cnpj;
    FormPeriod period;
    std::vector<BalanceRow> rows;               // by DCB, then name
    std::vector<Acquisition> acquisitions;      // by date, as the book lists them
    // Products of the form that moved in the period but have no inventory on its first day
    // ("name (code)"): the book would open them at zero, so the form is refused.
    QStringList withoutOpening;
    bool withoutMovement() const;  // "SEM MOVIMENTAÇÃO"
};

// The balance of the products that `form` (BSPO or BMPO) takes out of `products`. Supplier CNPJs
// are left empty (see buildBalance).
BalanceForm balanceFromProducts(PeriodicForm form, const std::vector<FormProduct>& products);

// The store's balance for the period, from the books' reading of it. Throws FormMovementsFailed
// when a movement query fails; other database errors propagate.
BalanceForm buildBalance(data::TDM& dm, PeriodicForm form, const QString& cnpj, const FormPeriod& period);

// The refusal of a balance whose products have no inventory on the period's first day.
QString withoutOpeningMessage(const BalanceForm& balance);

} // namespace livros::forms
