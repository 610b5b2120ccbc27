#pragma once
#include <QDate>
#include <QString>

#include <vector>

namespace livros::data {
class TDM;
}

namespace livros::forms {

// One controlled product of one sale: a formula's component or a drugstore item of a "Pedido"
// order, with the order's prescription data.
struct ControlledSale {
    QDate date;
    QString station;
    QString order;         // NPEDIDO
    QString patient;
    QString prescriber;
    QString council;       // CONSELHOPROFISSIONAL
    QString councilNumber; // CRM
    QString councilState;  // UFCONSELHO
    QString notification;  // NUMERONOTIFICACAO of the formula or the item, blanks removed
    QString codigo;
    QString name;
    QString dcb;
    QString lista;
    double quantity = 0;   // dispensed: the component's stock quantity, or the items sold
    QString unit;
    bool drugstore = false;  // a ready-made item (ITENS), else a formula (PEDIFORM)

    // "01-123" as the suite shows an order.
    QString orderText() const { return station + QLatin1Char('-') + order; }
};

// The controlled sales of the store from `first` to `last`: the orders of type "Pedido" whose
// formula or item is of the store's laboratories (all orders when TABLAB holds one store or
// none), products matched by code. By date, order, then product. Database errors propagate.
std::vector<ControlledSale> readControlledSales(data::TDM& dm, const QString& cnpj, const QDate& first,
                                                const QDate& last);

} // namespace livros::forms
