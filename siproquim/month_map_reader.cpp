#include "siproquim/month_map_reader.h"

#include "book/ledger/store_scope.h"

#include "book/revised/revised_book_builder.h"
#include "data/data_module.h"
#include "platform/sql_literal.h"
#include "siproquim/map_fields.h"
#include "siproquim/map_units.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <map>
#include <tuple>

namespace livros::siproquim {

namespace {

QString dateLiteral(const QDate& date)
{
    return sqlLiteral(date.toString(QStringLiteral("yyyy-MM-dd")));
}

// A chemical of the catalogue as the map declares it.
struct Chemical {
    QString codigo, name, pfCode, unitText;
    double density = 0;
    std::optional<UnitScale> unit;
};

class MonthReader {
public:
    MonthReader(data::TDM& dm, const QString& cnpj, int year, int month)
        : m_query(dm.SQLQuery1), m_cnpj(cnpj), m_start(year, month, 1)
    {
        m_end = m_start.addMonths(1).addDays(-1);
        m_map.content.cnpj = cnpj;
        m_map.content.year = year;
        m_map.content.month = month;
    }

    MonthMap read()
    {
        if (!m_start.isValid())
            return m_map;
        readCatalogue();
        readOpeningStock();
        readEntries();
        readFormulas();
        readLosses();
        declareProducts();
        return std::move(m_map);
    }

private:
    void open(const QString& sql)
    {
        m_query.close();
        m_query.setSql(sql);
        m_query.open();
    }
    QString text(const char* field) const { return m_query.asString(QLatin1String(field)).trimmed(); }
    double number(const char* field) const { return m_query.asFloat(QLatin1String(field)); }
    QDate date(const char* field) const { return m_query.asDateTime(QLatin1String(field)).date(); }
    QString period() const { return dateLiteral(m_start) + QStringLiteral(" and ") + dateLiteral(m_end); }

    void readCatalogue()
    {
        open(QStringLiteral("select CODIGO, COMPONENTE, UNID, FORNECEDOR, DENSIDADE from COMPONEN where ")
             + revised::siproquimComponentCondition() + QStringLiteral(" order by COMPONENTE, CODIGO"));
        for (; !m_query.eof(); m_query.next()) {
            Chemical c{text("CODIGO"), text("COMPONENTE"), text("FORNECEDOR").toUpper(), text("UNID"),
                       number("DENSIDADE"), std::nullopt};
            c.unit = unitScale(c.unitText);
            m_order << c.codigo;
            m_byName[c.name] << c.codigo;
            m_chemicals.insert(c.codigo, c);
        }
        m_laboratories.clear();
        for (const QString& laboratory : ledger::readStoreScope(m_query, m_cnpj).laboratories)
            m_laboratories << sqlLiteral(laboratory);
    }

    void readOpeningStock()
    {
        open(QStringLiteral("select CODIGO, QDE from BALANCOS where LOJA = %1 and DATABALANCO = %2")
                 .arg(sqlLiteral(m_cnpj), dateLiteral(m_start)));
        for (; !m_query.eof(); m_query.next()) {
            if (number("QDE") > 0 && m_chemicals.contains(text("CODIGO")))
                m_used.insert(text("CODIGO"));
        }
        m_query.close();
    }

    void readEntries()
    {
        // Suppliers are matched by trade name, as the report does.
        open(QStringLiteral("select NOMEFANTASIA, CNPJ from FORNECED"));
        QHash<QString, QString> supplierCnpj;
        for (; !m_query.eof(); m_query.next()) {
            if (supplierCnpj.value(text("NOMEFANTASIA")).isEmpty())
                supplierCnpj.insert(text("NOMEFANTASIA"), text("CNPJ"));
        }
        open(QStringLiteral("select NF.NOTAFISCAL, NF.FORNECEDOR, NF.DATARECEBIM, IT.CODIGO, IT.QUANTIDADE, IT.UNIDADE "
                            "from NFISCAL NF inner join COMPRAS IT on IT.NOTAFISCAL = NF.NOTAFISCAL and IT.FORNECEDOR = NF.FORNECEDOR "
                            "where NF.LOJA = %1 and NF.DATARECEBIM between %2 "
                            "order by NF.DATARECEBIM, NF.FORNECEDOR, NF.NOTAFISCAL")
                 .arg(sqlLiteral(m_cnpj), period()));
        // Invoice (date, supplier, number) -> product code -> quantity, in reading order.
        std::map<std::tuple<QDate, QString, QString>, QMap<QString, double>> invoices;
        for (; !m_query.eof(); m_query.next()) {
            const auto chemical = m_chemicals.constFind(text("CODIGO"));
            if (chemical == m_chemicals.constEnd())
                continue;
            const auto key = std::make_tuple(date("DATARECEBIM"), m_query.asString(QStringLiteral("FORNECEDOR")),
                                             m_query.asString(QStringLiteral("NOTAFISCAL")));
            const QString owner = QStringLiteral("Nota fiscal %1 de %2 (%3), produto %4 %5")
                                      .arg(std::get<2>(key).trimmed(), std::get<1>(key).trimmed(), dateText(std::get<0>(key)),
                                           chemical->codigo, chemical->name);
            const auto quantity = converted(*chemical, number("QUANTIDADE"), text("UNIDADE"), owner);
            m_used.insert(chemical->codigo);
            if (quantity)
                invoices[key][chemical->pfCode] += *quantity;
        }
        m_query.close();
        for (const auto& [key, items] : invoices) {
            MapInvoice invoice;
            invoice.date = std::get<0>(key);
            invoice.supplierName = std::get<1>(key).trimmed();
            invoice.number = std::get<2>(key).trimmed();
            invoice.supplierCnpj = supplierCnpj.value(std::get<1>(key).trimmed());
            for (auto it = items.cbegin(); it != items.cend(); ++it)
                invoice.items << MapItem{it.key(), it.value()};
            m_map.content.invoices << invoice;
        }
    }

    void readFormulas()
    {
        open(QStringLiteral("select PD.DATAPEDIDO, CP.CODIGOCOMP, CP.QDEESTOQUE, CP.UNID, CP.ESTACAO, CP.NPEDIDO, CP.NFORMULA "
                            "from COMPEDID CP "
                            "inner join PEDIDOS PD on PD.ESTACAO = CP.ESTACAO and PD.NPEDIDO = CP.NPEDIDO "
                            "and PD.TIPOPEDIDO = 'Pedido' and PD.DATAPEDIDO between %1 "
                            "inner join PEDIFORM PF on PF.ESTACAO = CP.ESTACAO and PF.NPEDIDO = CP.NPEDIDO and PF.NFORMULA = CP.NFORMULA "
                            "where PF.LABORATORIO in (%2) order by PD.DATAPEDIDO")
                 .arg(period(), m_laboratories.join(QStringLiteral(", "))));
        struct Day { double quantity = 0; QSet<QString> formulas; };
        std::map<std::pair<QDate, QString>, Day> days;
        for (; !m_query.eof(); m_query.next()) {
            const auto chemical = m_chemicals.constFind(text("CODIGOCOMP"));
            if (chemical == m_chemicals.constEnd())
                continue;
            const QDate day = date("DATAPEDIDO");
            const QString owner = QStringLiteral("Fórmula %1-%2-%3 de %4, produto %5 %6")
                                      .arg(text("ESTACAO"), text("NPEDIDO"), text("NFORMULA"), dateText(day), chemical->codigo, chemical->name);
            const auto quantity = converted(*chemical, number("QDEESTOQUE"), text("UNID"), owner);
            m_used.insert(chemical->codigo);
            if (!quantity)
                continue;
            Day& d = days[{day, chemical->pfCode}];
            d.quantity += *quantity;
            d.formulas.insert(text("ESTACAO") + u'/' + text("NPEDIDO") + u'/' + text("NFORMULA"));
        }
        m_query.close();
        for (const auto& [key, d] : days) {
            const qsizetype n = d.formulas.size();
            m_map.content.consumptions << MapConsumption{
                key.second, d.quantity, kConsumptionProduction,
                QStringLiteral("PROCESSO PRODUTIVO: %1 %2").arg(n).arg(n == 1 ? QStringLiteral("FORMULA MANIPULADA") : QStringLiteral("FORMULAS MANIPULADAS")),
                key.first};
        }
    }

    void readLosses()
    {
        open(QStringLiteral("select DATA, COMPONENTE, QUANTIDADE, UNIDADE, MOTIVO from PERDAS where LOJA = %1 and DATA between %2 order by DATA")
                 .arg(sqlLiteral(m_cnpj), period()));
        for (; !m_query.eof(); m_query.next()) {
            // Losses name their product, as the report matches them.
            for (const QString& codigo : m_byName.value(text("COMPONENTE"))) {
                const Chemical& chemical = m_chemicals[codigo];
                const QDate day = date("DATA");
                const QString owner = QStringLiteral("Perda de %1, produto %2 %3").arg(dateText(day), chemical.codigo, chemical.name);
                const auto quantity = converted(chemical, number("QUANTIDADE"), text("UNIDADE"), owner);
                m_used.insert(codigo);
                if (!quantity)
                    continue;
                const QString reason = text("MOTIVO");
                m_map.content.consumptions << MapConsumption{chemical.pfCode, *quantity, kConsumptionOther,
                                                             reason.isEmpty() ? QStringLiteral("PERDA SEM MOTIVO INFORMADO") : reason, day};
            }
        }
        m_query.close();
        std::stable_sort(m_map.content.consumptions.begin(), m_map.content.consumptions.end(),
                         [](const MapConsumption& a, const MapConsumption& b) { return a.date < b.date; });
    }

    // The row's quantity in the product's map unit; a problem when it cannot be converted.
    std::optional<double> converted(const Chemical& chemical, double quantity, const QString& unitText, const QString& owner)
    {
        if (!chemical.unit)
            return std::nullopt; // the product's own problem, listed once
        const QString unit = unitText.isEmpty() ? chemical.unitText : unitText;
        const auto scale = unitScale(unit);
        if (!scale) {
            m_map.problems << owner + QStringLiteral(": unidade \"%1\" não é de massa nem de volume").arg(unit);
            return std::nullopt;
        }
        const auto value = convertQuantity(quantity, *scale, chemical.unit->dimension, chemical.density);
        if (!value)
            m_map.problems << owner + QStringLiteral(": quantidade em %1 e produto em %2, sem densidade no cadastro para converter")
                                          .arg(unit, chemical.unitText);
        return value;
    }

    // One PR per Polícia Federal code among the chemicals that moved or are in stock.
    void declareProducts()
    {
        QHash<QString, const Chemical*> declared;
        for (const QString& codigo : m_order) {
            if (!m_used.contains(codigo))
                continue;
            const Chemical& c = m_chemicals[codigo];
            const QString owner = QStringLiteral("Produto %1 %2").arg(c.codigo, c.name);
            if (!c.unit) {
                m_map.problems << owner + QStringLiteral(": unidade \"%1\" do cadastro não é de massa nem de volume").arg(c.unitText);
                continue;
            }
            if (const Chemical* first = declared.value(c.pfCode)) {
                if (first->unit->dimension != c.unit->dimension || densityText(first->density) != densityText(c.density))
                    m_map.problems << owner + QStringLiteral(": mesmo código %1 do produto %2 %3 com outra unidade ou densidade")
                                                  .arg(c.pfCode, first->codigo, first->name);
                continue;
            }
            declared.insert(c.pfCode, &c);
            m_map.content.products << MapProduct{c.pfCode, c.name, concentrationFromName(c.name), c.density,
                                                 mapUnitLetter(c.unit->dimension)};
        }
    }

    data::Query& m_query;
    QString m_cnpj;
    QDate m_start, m_end;
    QStringList m_laboratories; // the store's, as SQL literals
    QHash<QString, Chemical> m_chemicals; // by CODIGO
    QStringList m_order;                  // CODIGO by name
    QHash<QString, QStringList> m_byName;
    QSet<QString> m_used;
    MonthMap m_map;
};

} // namespace

MonthMap readMonthMap(data::TDM& dm, const QString& cnpj, int year, int month)
{
    return MonthReader(dm, cnpj, year, month).read();
}

} // namespace livros::siproquim
