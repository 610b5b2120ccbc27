#pragma once
#include "check/data_check.h"

#include <QString>

#include <vector>

namespace livros::forms {
struct ControlledSale;
}

namespace livros::check {

// The longest notification number the suite keeps (NUMERONOTIFICACAO of PEDIFORM and ITENS).
inline constexpr int kNotificationLength = 12;

// The prescription document a sale of list `lista` needs kept, when it is a notification
// ("Notificação de Receita B"); empty for the lists sold on a Receita de Controle Especial.
QString requiredNotification(const QString& lista);

// Whether `number` is one of the national prescription system's numbers ("2411.1-00.0000001",
// 14 digits) cut short by the suite's column.
bool isCutNationalNumber(const QString& number);

// The prescription findings of controlled sales: a notification missing where the product's list
// needs one, a notification number too long or cut short, the prescriber's council, number or
// state missing, the patient missing. The order's data are reported once per order.
std::vector<Finding> prescriptionFindings(const std::vector<forms::ControlledSale>& sales);

// The store's controlled sales of the report's period, read and checked into the report.
// Database errors propagate.
void checkPrescriptions(data::TDM& dm, CheckReport& report);

} // namespace livros::check
