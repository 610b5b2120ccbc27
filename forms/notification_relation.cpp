#include "forms/notification_relation.h"

#include <map>
#include <tuple>

namespace livros::forms {

NotificationRelation relationFromSales(PeriodicForm form, const std::vector<ControlledSale>& sales)
{
    NotificationRelation relation;
    relation.form = form;
    std::map<std::tuple<QString, QString, QString>, std::size_t> lineOf;
    for (const ControlledSale& sale : sales) {
        if (!formTakesList(form, sale.lista) || sale.notification.isEmpty())
            continue;
        const auto key = std::make_tuple(sale.notification, sale.orderText(), sale.codigo);
        const auto found = lineOf.find(key);
        if (found != lineOf.end()) {
            relation.lines[found->second].quantity += sale.quantity;
            continue;
        }
        lineOf.emplace(key, relation.lines.size());
        relation.lines.push_back(sale);
    }
    return relation;
}

NotificationRelation buildRelation(data::TDM& dm, PeriodicForm form, const QString& cnpj, const FormPeriod& month)
{
    NotificationRelation relation = relationFromSales(form, readControlledSales(dm, cnpj, month.first, month.last));
    relation.cnpj = cnpj;
    relation.period = month;
    return relation;
}

} // namespace livros::forms
