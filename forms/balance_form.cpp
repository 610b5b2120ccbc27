#include "forms/balance_form.h"

#include "data/data_module.h"
#include "data/query.h"
#include "platform/date_text.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <tuple>

namespace livros::forms {

bool BalanceForm::withoutMovement() const
{
    return std::all_of(rows.begin(), rows.end(), [](const BalanceRow& row) {
        return row.entries == 0 && row.exits == 0 && row.losses == 0;
    });
}

namespace {

// BSPO declares substances: the products of one DCB in one unit make one line. BMPO declares
// each medicine.
QString rowKey(PeriodicForm form, const FormProduct& product)
{
    if (form == PeriodicForm::Bmpo || product.dcb.isEmpty())
        return product.codigo + QLatin1Char('\n') + product.unit;
    return product.dcb + QLatin1Char('\n') + product.unit;
}

void addMovement(BalanceRow& row, const FormMovement& movement)
{
    switch (movement.kind) {
    case FormMovementKind::Entry:
        row.entries += movement.quantity;
        return;
    case FormMovementKind::Exit:
        row.exits += movement.quantity;
        return;
    case FormMovementKind::Loss:
        row.losses += movement.quantity;
        return;
    }
}

// The supplier's CNPJ as the revised book shows it: the smallest of its FORNECED rows.
void fillSupplierCnpjs(data::Query& query, std::vector<Acquisition>& acquisitions)
{
    QHash<QString, QString> cnpjOf;
    for (Acquisition& acquisition : acquisitions) {
        const auto known = cnpjOf.constFind(acquisition.supplier);
        if (known == cnpjOf.constEnd()) {
            query.setSql(QStringLiteral("Select min(CNPJ) as CNPJ from FORNECED where NOMEFANTASIA = "
                                        "cast(? as varchar(255))"),
                         {acquisition.supplier});
            query.open();
            const QString cnpj = query.eof() ? QString() : query.asString(QStringLiteral("CNPJ")).trimmed();
            query.close();
            acquisition.supplierCnpj = cnpjOf.insert(acquisition.supplier, cnpj).value();
        } else {
            acquisition.supplierCnpj = *known;
        }
    }
}

} // namespace

BalanceForm balanceFromProducts(PeriodicForm form, const std::vector<FormProduct>& products)
{
    BalanceForm balance;
    balance.form = form;
    std::map<QString, std::size_t> rowOf;
    for (const FormProduct& product : products) {
        if (!formTakesList(form, product.lista))
            continue;
        if (!product.hasOpening) {
            // Nothing to declare for a product the store neither counted nor moved.
            if (!product.movements.empty())
                balance.withoutOpening << QStringLiteral("%1 (%2)").arg(product.name, product.codigo);
            continue;
        }
        const QString key = rowKey(form, product);
        auto found = rowOf.find(key);
        if (found == rowOf.end()) {
            BalanceRow row;
            row.dcb = product.dcb;
            row.name = product.name;
            row.registration = product.registration;
            row.unit = product.unit;
            found = rowOf.emplace(key, balance.rows.size()).first;
            balance.rows.push_back(row);
        }
        BalanceRow& row = balance.rows[found->second];
        row.opening += product.opening;
        for (const FormMovement& movement : product.movements) {
            addMovement(row, movement);
            if (movement.kind == FormMovementKind::Entry)
                balance.acquisitions.push_back({movement.date, product.dcb, product.name, movement.supplier, QString(),
                                                movement.invoice, movement.quantity, product.unit});
        }
    }
    std::stable_sort(balance.rows.begin(), balance.rows.end(), [](const BalanceRow& a, const BalanceRow& b) {
        return std::tie(a.dcb, a.name) < std::tie(b.dcb, b.name);
    });
    std::stable_sort(balance.acquisitions.begin(), balance.acquisitions.end(),
                     [](const Acquisition& a, const Acquisition& b) {
                         return std::tie(a.date, a.dcb, a.name) < std::tie(b.date, b.dcb, b.name);
                     });
    return balance;
}

BalanceForm buildBalance(data::TDM& dm, PeriodicForm form, const QString& cnpj, const FormPeriod& period)
{
    const ProductKinds kinds = form == PeriodicForm::Bmpo ? ProductKinds::Medicines : ProductKinds::Substances;
    BalanceForm balance = balanceFromProducts(form, readFormMovements(dm, cnpj, period.first, period.last, kinds));
    balance.cnpj = cnpj;
    balance.period = period;
    data::Query query(dm.sqlcon1, QStringLiteral("SupplierCnpjQuery"));
    fillSupplierCnpjs(query, balance.acquisitions);
    return balance;
}

QString withoutOpeningMessage(const BalanceForm& balance)
{
    return QStringLiteral("Antes de prosseguir, favor incluir um inventário em %1 destes produtos, que o livro abriria "
                          "com saldo zero:\n%2")
        .arg(fullDateText(balance.period.first), balance.withoutOpening.join(QLatin1Char('\n')));
}

} // namespace livros::forms
