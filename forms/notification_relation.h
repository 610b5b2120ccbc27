#pragma once
#include "forms/controlled_sales.h"
#include "forms/form_lists.h"
#include "forms/form_period.h"

#include <vector>

namespace livros::data {
class TDM;
}

namespace livros::forms {

// The month's relation of retained notifications (RMNRA, RMNRB2): one line per notification and
// product of the store's sales of the form's lists. The notification's own date and the quantity
// prescribed are not kept by the suite: the form prints them blank.
struct NotificationRelation {
    PeriodicForm form = PeriodicForm::Rmnra;
    QString cnpj;
    FormPeriod period;
    std::vector<ControlledSale> lines;  // quantities of one notification, order and product added up
    bool withoutMovement() const { return lines.empty(); }
};

// The relation of `form` out of the period's controlled sales: the sales of the form's lists that
// carry a notification (a sale without one is the check's finding, not a line of the relation).
NotificationRelation relationFromSales(PeriodicForm form, const std::vector<ControlledSale>& sales);

// The store's relation for the month. Database errors propagate.
NotificationRelation buildRelation(data::TDM& dm, PeriodicForm form, const QString& cnpj, const FormPeriod& month);

} // namespace livros::forms
