#pragma once
#include "forms/balance_form.h"
#include "forms/notification_relation.h"

#include <QByteArray>

namespace livros::forms {

// The forms as CSV for the authority's systems and spreadsheets: semicolon-separated, decimal
// comma without digit grouping, UTF-8, a header row, one line per row of the form.
//   balance:  DCB;DISCRIMINACAO;REGISTRO_MS;UNIDADE;ESTOQUE_INICIAL;ENTRADAS;SAIDAS;PERDAS;ESTOQUE_FINAL
//   relation: NOTIFICACAO;DATA_NOTIFICACAO;DATA_DISPENSACAO;PEDIDO;DCB;DISCRIMINACAO;PRESCRITOR;CONSELHO;
//             NUMERO_CONSELHO;UF_CONSELHO;PACIENTE;QUANTIDADE_PRESCRITA;QUANTIDADE_DISPENSADA;UNIDADE
// (the notification's date and the quantity prescribed stay empty: the suite does not keep them).
QByteArray balanceCsv(const BalanceForm& balance);
QByteArray relationCsv(const NotificationRelation& relation);

// A quantity as the CSV writes it: four decimals, decimal comma ("1234,5000", "-2,0000").
QString csvQuantity(double value);

} // namespace livros::forms
