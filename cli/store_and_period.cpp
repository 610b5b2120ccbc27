#include "cli/store_and_period.h"

#include "data/data_module.h"
#include "platform/cnpj.h"

namespace livros::cli {

QString singleStoreCnpj(data::TDM& dm)
{
    data::Query& query = dm.SQLQuery1;
    query.close();
    query.setSql(QStringLiteral("Select count(*) QDELAB from TABLAB"));
    query.open();
    const int stores = query.asInteger(QStringLiteral("QDELAB"));
    query.close();
    if (stores != 1)
        return {};
    dm.DadosGer.open();
    const QString cnpj = dm.DadosGer.isEmpty() ? QString() : dm.DadosGerCNPJ().asString().left(18);
    dm.DadosGer.close();
    return cnpj;
}

int countRows(data::TDM& dm, const QString& sql)
{
    data::Query& query = dm.SQLQuery1;
    query.close();
    query.setSql(sql);
    query.open();
    const int count = query.asInteger(QStringLiteral("N"));
    query.close();
    return count;
}

namespace {

// Every store CNPJ the database records: the rows of TABLAB and the company of DADOSGER.
QStringList recordedStores(data::TDM& dm)
{
    QStringList stores;
    data::Query& query = dm.SQLQuery1;
    query.close();
    query.setSql(QStringLiteral("Select DISTINCT LOJA from TABLAB order by LOJA"));
    query.open();
    for (; !query.eof(); query.next())
        stores << query.asString(QStringLiteral("LOJA")).left(18);
    query.close();
    dm.DadosGer.open();
    if (!dm.DadosGer.isEmpty())
        stores << dm.DadosGerCNPJ().asString().left(18);
    dm.DadosGer.close();
    return stores;
}

QString unknownStoreMessage(const QString& typed)
{
    const QString cnpj = normalizedCnpj(typed);
    QString text = QStringLiteral("Nenhuma loja com o CNPJ %1 (TABLAB e DADOSGER).").arg(typed);
    switch (checkCnpj(cnpj)) {
    case CnpjCheck::Valid:
        break;
    case CnpjCheck::WrongCheckDigits:
        text += QStringLiteral(" Os dígitos verificadores não conferem: para %1 seriam %2.")
                    .arg(formatCnpj(cnpj.left(12)).left(15), *cnpjCheckDigits(cnpj.left(12)));
        break;
    case CnpjCheck::Malformed:
        text += QStringLiteral(" Um CNPJ tem 14 caracteres: 12 dígitos ou letras de A a Z e 2 dígitos verificadores.");
        break;
    }
    return text;
}

} // namespace

StoreChoice chooseStore(data::TDM& dm, const QString& cnpjOption)
{
    if (cnpjOption.isEmpty()) {
        const QString single = singleStoreCnpj(dm);
        if (single.isEmpty())
            return {QString(), QStringLiteral("Informe a loja com --cnpj: TABLAB não tem exatamente uma loja.")};
        return {single, QString()};
    }
    const QString wanted = normalizedCnpj(cnpjOption);
    for (const QString& store : recordedStores(dm)) {
        if (!wanted.isEmpty() && normalizedCnpj(store) == wanted)
            return {store, QString()};
    }
    return {QString(), unknownStoreMessage(cnpjOption)};
}

void periodRecordDates(data::TDM& dm, QDate& from, QDate& to)
{
    dm.Periodo.open();
    from = to = QDate();
    if (!dm.Periodo.isEmpty()) {
        from = dm.PeriodoDATAINICIAL().asDate();
        to = dm.PeriodoDATAFINAL().asDate();
    }
    dm.Periodo.close();
}

} // namespace livros::cli
