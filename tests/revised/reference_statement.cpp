#include "reference_statement.h"

#include "data/query.h"
#include "platform/sql_literal.h"

#include <algorithm>

// The revised books as the suite computed them before the ledger: one INSERT ... SELECT per
// product, the running stock kept by the server in a transaction context variable. Kept here,
// apart from the program, as the reference the ledger's books are compared with.
namespace livros::revised::testing {

namespace {

QString padded(int number, int width)
{
    return QString::number(number).rightJustified(width, QLatin1Char('0'));
}

// dd/mm/yyyy, the Brazilian form, whatever the machine's regional settings.
QString fullDate(const QDate& date)
{
    return padded(date.day(), 2) + u'/' + padded(date.month(), 2) + u'/' + padded(date.year(), 4);
}

QString isoDate(const QDate& date)
{
    return padded(date.year(), 4) + u'-' + padded(date.month(), 2) + u'-' + padded(date.day(), 2);
}

// The values as they appear in the text, each an SQL text literal.
struct Marks {
    QString cnpj, codigo, lab, fornecedor, unidade, lista, periodo, inicio, fim;
};

Marks marksOf(const MovementValues& v)
{
    return Marks{sqlLiteral(v.cnpj),
                 sqlLiteral(v.codigo.left(kCodigoWidth)),
                 sqlLiteral(v.lab),
                 sqlLiteral(v.fornecedor.left(kSupplierAsDcbWidth)),
                 unitLiteral(v.unid),
                 listLiteral(v.lista),
                 periodLiteral(v.start, v.end),
                 sqlLiteral(isoDate(v.start)),
                 sqlLiteral(isoDate(v.end))};
}

// Widths of LIVROREVCONTR's text columns.
constexpr int kHistoricoWidth = 100;
constexpr int kLoteWidth = 60;
constexpr int kObservacaoWidth = 100;
constexpr int kIdentifierWidth = 15; // REGMSMEDICAM and DCB
constexpr int kComponenteWidth = 100;
constexpr int kCodigoColumnWidth = 20;

// An SQL text expression cut to a column's width.
QString cut(const QString& expression, int width)
{
    return QStringLiteral("substring(") + expression + QStringLiteral(" from 1 for ") + QString::number(width)
        + QLatin1Char(')');
}

// A text in capitals with its accents. The main database has no character set, so its UPPER
// folds only a to z; read as Latin-1 the text keeps its bytes and UPPER folds the accented letters
// too. The four small letters that code page 1252 adds to Latin-1 are replaced one by one.
// The text is taken to its first 100 characters, the widest column it goes to.
QString capitals(const QString& expression)
{
    QString folded = QStringLiteral("cast(upper(cast(substring(") + expression
        + QStringLiteral(" from 1 for 100) as varchar(100) character set iso8859_1)) as varchar(100) character set none)");
    static const QString kSmall = QStringLiteral("šœžÿ");
    static const QString kCapital = QStringLiteral("ŠŒŽŸ");
    for (qsizetype i = 0; i < kSmall.size(); ++i)
        folded = QStringLiteral("replace(%1, '%2', '%3')").arg(folded, kSmall[i], kCapital[i]);
    return folded;
}

// A text that may be NULL, as the empty text: one missing part leaves the rest of a history or
// observation in place.
QString orEmpty(const QString& expression)
{
    return QStringLiteral("coalesce(") + expression + QStringLiteral(", '')");
}

// "<supplier> (CNPJ<separator><CNPJ>)": the supplier's CNPJ is the smallest of the FORNECED rows of
// its trade name (a head office and its branch share one), looked up apart from the movement's
// joins so that every movement counts once; empty when the supplier has no row.
QString supplierHistory(const QString& supplierColumn, const QString& separator)
{
    return orEmpty(supplierColumn) + QStringLiteral(" || ' (CNPJ") + separator + QStringLiteral("' || ")
        + orEmpty(QStringLiteral("(select min(FC.cnpj) from FORNECED FC where FC.nomefantasia = ") + supplierColumn
                  + QLatin1Char(')'))
        + QStringLiteral(" || ')'  Historico");
}

// The prescription part of a sale's observation: notification, prescriber in capitals, council,
// registration and state.
QString prescriptionObservation(const QString& notificationColumn)
{
    return QStringLiteral("'Notificacao: ' || coalesce(") + notificationColumn
        + QStringLiteral(", '- N/A') || ' - ' || ")
        + orEmpty(capitals(QStringLiteral("PD.medico"))) + QStringLiteral(" || ' ' || ")
        + orEmpty(QStringLiteral("PD.conselhoprofissional")) + QStringLiteral(" || ': ' || ")
        + orEmpty(QStringLiteral("PD.crm")) + QStringLiteral(" || '/' || ") + orEmpty(QStringLiteral("PD.ufconselho"))
        + QStringLiteral(" observacao, ");
}

// Insert head and the final select list over the derived rows. Every text is cut to its
// column's width: one text too long would fail the statement and lose all the product's lines.
void appendInsertHead(QString& s, RevisedMode mode, const Marks& m)
{
    const bool drogaria = mode == RevisedMode::Drogaria;
    const QString texts = cut(QStringLiteral("HISTORICO"), kHistoricoWidth) + QStringLiteral(", ")
        + cut(QStringLiteral("LOTE"), kLoteWidth) + QStringLiteral(", OPERACAO, QUANTIDADE, CONTEXTO, ");
    if (drogaria) {
        s += u"INSERT INTO LIVROREVCONTR (ID, CNPJ, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE,CONTEXTO, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, CODIGO, PERIODO, LISTA ) select (select coalesce(MAX(ID),0) + 1 FROM livrorevcontr) ID, ";
        s += m.cnpj;
        s += QStringLiteral(", DATA, ") + texts;
    } else {
        s += u"INSERT INTO LIVROREVCONTR (ID, DATA, CNPJ,HISTORICO, LOTE, OPERACAO, QUANTIDADE,CONTEXTO, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, CODIGO, PERIODO, LISTA ) select (select coalesce(MAX(ID),0) + 1 FROM livrorevcontr) ID, DATA, ";
        s += m.cnpj;
        s += QStringLiteral(", ") + texts;
    }
    s += u"ESTOQUE, ";
    s += cut(QStringLiteral("OBSERVACAO"), kObservacaoWidth) + QLatin1Char(' ');
    switch (mode) {
    case RevisedMode::Drogaria:
        s += QStringLiteral(", ") + cut(QStringLiteral("REGMSMEDICAM"), kIdentifierWidth) + QLatin1Char(' ');
        s += u", '' DCB ";
        break;
    case RevisedMode::InsumosCompleto:
        s += u", '' REGMSMEDICAM ";
        s += QStringLiteral(", ") + cut(QStringLiteral("DCB"), kIdentifierWidth) + QLatin1Char(' ');
        break;
    case RevisedMode::Siproquim:
        s += u", '' REGMSMEDICAM ";
        s += u", ";
        s += m.fornecedor;
        s += u" DCB ";
        break;
    }
    // A product without a name is listed under its code.
    s += QStringLiteral(", ") + cut(QStringLiteral("coalesce(COMPONENTE, CODIGO) || ") + m.unidade, kComponenteWidth)
        + QLatin1Char(' ');
    s += QStringLiteral(", ") + cut(QStringLiteral("CODIGO"), kCodigoColumnWidth) + QLatin1Char(' ');
    s += u", PERIODO ";
    s += u",";
    s += m.lista;
    s += u" LISTA ";
    s += u" ";
    s += u"from ";
    s += u"( ";
}

// The running-stock query: every row writes the product's context variable with the stock after
// it and reads it back. The variable is named after the product's code, its key: the name may be
// NULL (a variable without a name holds nothing) or shared by two products.
void appendRunningStock(QString& s, RevisedMode mode, const Marks& m)
{
    const bool drogaria = mode == RevisedMode::Drogaria;
    s += u"SELECT CODIGO, data, Historico, lote, Operacao, ";
    s += drogaria ? u"case when(operacao = 'I') then 0 else cast(quantidade as integer) end "
                  : u"case when(operacao = 'I') then 0 else cast(quantidade as decimal(15,6)) end ";
    s += u"quantidade, ";
    s += u"observacao, ";
    s += drogaria ? u"ordem, regmsmedicam, componente, " : u"ordem, dcb, componente, ";
    s += m.periodo;
    s += u" Periodo, ";
    s += u"rdb$set_context('USER_TRANSACTION', codigo, ";
    s += drogaria ? u"coalesce(cast(rdb$get_context('USER_TRANSACTION', codigo) as integer), "
                  : u"coalesce(cast(rdb$get_context('USER_TRANSACTION', codigo) as decimal(15,6)), ";
    s += u"estoq_atual ";
    s += u" ";
    s += u") + ";
    // A movement without quantity counts as 0, as in the classic book: taken as NULL, it would
    // make the running stock NULL and the next line start again from 0.
    s += drogaria ? u"case when(Operacao IN('S','P')) then coalesce(cast(quantidade as integer), 0) * - 1 ELSE coalesce(cast(quantidade as integer), 0) END "
                  : u"case when(Operacao IN('S','P')) then coalesce(cast(quantidade  as decimal(15,6)), 0) * - 1 ELSE coalesce(cast(quantidade as decimal(15,6)), 0) END ";
    s += u") ";
    s += u"CONTEXTO, ";
    s += drogaria ? u"cast(rdb$get_context('USER_TRANSACTION', codigo) as integer)  estoque "
                  : u"cast(rdb$get_context('USER_TRANSACTION', codigo) as decimal(15,6))  estoque ";
    s += u" ";
    s += u" ";
    s += u"FROM ";
    s += u"( ";
}

// The opening row: the inventory of the start date, or a zero stock dated 2001-01-01.
void appendOpening(QString& s, RevisedMode mode, const Marks& m)
{
    s += u"SELECT ";
    s += mode == RevisedMode::Drogaria
             ? u"0 ordem, CO.codigo,  CO.regmsmedicam, co.componente, coalesce(ba.databalanco, CAST('2001-01-01' AS DATE)) data, 'Estoque inicial ' Historico, '-' lote, 'I' Operacao, "
             : u"0 ordem, CO.codigo,  CO.dcb, co.componente, coalesce(ba.databalanco,CAST('2001-01-01' AS DATE)) data, 'Estoque inicial ' Historico, '-' lote, 'I' Operacao, ";
    s += u"0 quantidade, 'Inventario' observacao, coalesce(ba.qde,0) estoq_atual ";
    s += u"FROM COMPONEN co ";
    s += u"left join balancos ba ";
    s += u"       on ba.databalanco = ";
    s += m.inicio;
    s += u" ";
    s += u"      and ba.codigo = co.codigo ";
    s += u"      and ba.loja = ";
    s += m.cnpj;
    s += u" ";
    s += u"WHERE  co.codigo = ";
    s += m.codigo;
    s += u" ";
}

// Entries: the purchase items of the store's invoices received in the period. Grouping by the
// item's own row key keeps two equal items of one invoice apart while a row repeated by the joins
// counts once.
void appendEntries(QString& s, RevisedMode mode, const Marks& m)
{
    const QString history = supplierHistory(QStringLiteral("ITENF.fornecedor"), QStringLiteral(": "));
    const QString thousandfold = QStringLiteral(
        "ITENF.quantidade * (case when(UPPER(ITENF.unidade) = 'KG' or UPPER(ITENF.unidade) = 'L') then 1000 else 1 end) quantidade, ");
    s += u"  union all ";
    s += u"SELECT ";
    switch (mode) {
    case RevisedMode::Drogaria:
        s += QStringLiteral("1 ordem, CO.codigo,   CO.regmsmedicam, co.componente,  nf.datarecebim data, ") + history
            + QStringLiteral(", itenf.lote, 'E' Operacao, ITENF.quantidade, 'Nota Fiscal '||itenf.notafiscal  observacao, 0 estoq_atual ");
        break;
    case RevisedMode::InsumosCompleto:
        s += QStringLiteral("1 ordem, CO.codigo,   CO.dcb, co.componente,  nf.datarecebim data, ") + history
            + QStringLiteral(", itenf.lote, 'E' Operacao, ");
        s += thousandfold + QStringLiteral("'Nota Fiscal '||itenf.notafiscal  observacao, 0 estoq_atual ");
        break;
    case RevisedMode::Siproquim:
        s += QStringLiteral("1 ordem, CO.codigo,   CO.dcb, co.componente,  nf.datarecebim data, ") + history
            + QStringLiteral(", itenf.lote, 'E' Operacao, ");
        s += thousandfold;
        s += u"'Nota Fiscal '||itenf.notafiscal|| ' - Densidade: '||cast(coalesce(itenf.densidade,0) as numeric(15,2)) || ' - Fat. Corr.: '||cast(coalesce(itenf.fatorcorrecao,0) as numeric(15,2))  observacao, 0 estoq_atual ";
        break;
    }
    s += u"FROM COMPONEN co ";
    s += u"INNER JOIN COMPRAS ITENF ";
    s += u"       ON ITENF.codigo = CO.codigo ";
    s += u"INNER JOIN nfiscal NF ";
    s += u"        ON NF.NOTAFISCAL = ITENF.NOTAFISCAL ";
    s += u"       AND NF.DATARECEBIM between ";
    s += m.inicio;
    s += u" AND ";
    s += m.fim;
    s += u" ";
    s += u"       AND NF.fornecedor = ITENF.fornecedor ";
    s += u"       AND NF.loja = ";
    s += m.cnpj;
    s += u" ";
    s += u"WHERE co.codigo = ";
    s += m.codigo;
    s += u" ";
    s += mode == RevisedMode::Drogaria ? u"group by CO.codigo, CO.regmsmedicam, co.componente, nf.datarecebim, "
                                       : u"group by CO.codigo, CO.dcb, co.componente, nf.datarecebim, ";
    s += u"ITENF.RDB$DB_KEY, ITENF.fornecedor, itenf.lote, itenf.quantidade, itenf.notafiscal";
    switch (mode) {
    case RevisedMode::Drogaria: break;
    case RevisedMode::InsumosCompleto: s += u", ITENF.unidade"; break;
    case RevisedMode::Siproquim: s += u", itenf.fatorcorrecao, itenf.densidade, ITENF.unidade"; break;
    }
    s += u" ";
}

// Exits of the drugstore book: items sold under the component's name by the store's laboratory.
void appendItemExits(QString& s, const Marks& m)
{
    s += u"  union all ";
    s += u" ";
    s += u"SELECT ";
    s += QStringLiteral("2 ordem, CO.codigo,   CO.regmsmedicam, co.componente,  pd.datapedido data, ")
        + capitals(QStringLiteral("pd.paciente")) + QStringLiteral(" Historico, ite.numlotemedicam lote, 'S' Operacao, ITE.qde, ");
    s += prescriptionObservation(QStringLiteral("ite.numeronotificacao")) + QStringLiteral("0 estoq_atual ");
    s += u"FROM COMPONEN co ";
    s += u"left join itens ite ";
    s += u"       on ite.descricao = co.componente ";
    s += u"      and ite.laboratorio = ";
    s += m.lab;
    s += u" ";
    s += u"left join pedidos pd ";
    s += u"        on pd.estacao = ite.estacao ";
    s += u"       and pd.npedido = ite.npedido ";
    s += u"       and pd.tipopedido = 'Pedido' ";
    s += u"       and pd.datapedido  between ";
    s += m.inicio;
    s += u" AND ";
    s += m.fim;
    s += u" ";
    s += u"WHERE co.codigo = ";
    s += m.codigo;
    s += u" ";
}

// Exits of the compounding books: the component used in formulas of the store's laboratory.
void appendFormulaExits(QString& s, RevisedMode mode, const Marks& m)
{
    s += u"  union all ";
    s += u" ";
    s += u"SELECT ";
    s += QStringLiteral("2 ordem, CO.codigo, CO.dcb, co.componente,  pd.datapedido data, ")
        + capitals(QStringLiteral("pd.paciente")) + QStringLiteral(" Historico, cp.lote, 'S' Operacao, cp.qdeestoque qde, ");
    if (mode == RevisedMode::Siproquim)
        s += u"'Pedido: '||pd.estacao||pd.npedido||' - Fórmula '||pf.nformula||' - Densidade: '||cast(coalesce(cp.densidade,0) as numeric(15,2)) observacao, ";
    else
        s += prescriptionObservation(QStringLiteral("pf.numeronotificacao"));
    s += u"0 estoq_atual ";
    s += u"FROM COMPONEN co ";
    s += u"left join compedid cp ";
    s += u"       on cp.codigocomp = co.codigo ";
    s += u"left join pedidos pd ";
    s += u"        on pd.estacao = cp.estacao ";
    s += u"       and pd.npedido = cp.npedido ";
    s += u"       and pd.tipopedido = 'Pedido' ";
    s += u"       and pd.datapedido  between ";
    s += m.inicio;
    s += u" AND ";
    s += m.fim;
    s += u" ";
    s += u"left join pediform pf ";
    s += u"       on pf.estacao = cp.estacao ";
    s += u"      and  pf.npedido = cp.npedido ";
    s += u"      and  pf.nformula = cp.nformula ";
    s += u"WHERE co.codigo = ";
    s += m.codigo;
    s += u" ";
    s += u"       AND pf.laboratorio = ";
    s += m.lab;
    s += u" ";
}

// Losses of the store, found by the component's name.
void appendLosses(QString& s, RevisedMode mode, const Marks& m)
{
    s += u"union all ";
    s += u"SELECT ";
    s += mode == RevisedMode::Drogaria ? u"2 ordem, CO.codigo,  CO.regmsmedicam, co.componente, cast(pe.data as date) data, "
                                       : u"2 ordem, CO.codigo,  CO.dcb, co.componente, cast(pe.data as date) data, ";
    s += supplierHistory(QStringLiteral("pe.fornecedor"), QStringLiteral(" : "));
    s += u", pe.lote, 'P' Operacao, pe.quantidade, 'Motivo: '||coalesce(pe.motivo,'-') observacao, 0 estoq_atual ";
    s += u"FROM COMPONEN co ";
    s += u"inner join perdas pe ";
    s += u"       on pe.componente = co.componente ";
    s += u"      and pe.loja = ";
    s += m.cnpj;
    s += u" ";
    s += u"      and pe.data  between ";
    s += m.inicio;
    s += u" AND ";
    s += m.fim;
    s += u" ";
    s += u"WHERE co.codigo = ";
    s += m.codigo;
    s += u" ";
}

// The order that the running stock follows (I, E, P, S within a date) and the final filter.
void appendTail(QString& s, RevisedMode mode)
{
    s += u"  ) ";
    s += u" ";
    s += u"  ORDER BY componente, data, ordem, OPERACAO ";
    s += u") LIVRO ";
    s += mode == RevisedMode::Drogaria ? u"WHERE DATA IS NOT NULL AND REGMSMEDICAM IS NOT NULL"
                                       : u"WHERE DATA IS NOT NULL AND DCB IS NOT NULL";
}

} // namespace

QString unitLiteral(const QString& unid)
{
    QString unit = unid.left(kUnidWidth);
    for (QChar& c : unit) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return sqlLiteral(QStringLiteral(" - (") + unit + QStringLiteral(")"));
}

QString listLiteral(const QString& lista)
{
    const QString list = lista.left(kListaWidth);
    const bool onlyBlanks = std::all_of(list.begin(), list.end(), [](QChar c) { return c == u' '; });
    return sqlLiteral(onlyBlanks ? QString() : list.left(kListaColumnWidth));
}

QString periodLiteral(const QDate& start, const QDate& end)
{
    return sqlLiteral(fullDate(start) + QStringLiteral(" a ") + fullDate(end));
}

QString composeMovementStatement(RevisedMode mode, const MovementValues& values)
{
    const Marks m = marksOf(values);
    QString s;
    s.reserve(6000);
    appendInsertHead(s, mode, m);
    appendRunningStock(s, mode, m);
    appendOpening(s, mode, m);
    appendEntries(s, mode, m);
    if (mode == RevisedMode::Drogaria)
        appendItemExits(s, m);
    else
        appendFormulaExits(s, mode, m);
    appendLosses(s, mode, m);
    appendTail(s, mode);
    return s;
}

MovementValues forComponent(MovementValues values, const ComponentRow& row)
{
    values.codigo = row.codigo;
    values.fornecedor = row.fornecedor;
    values.unid = row.unid;
    values.lista = row.lista;
    return values;
}

void resetRunningStock(data::Query& query, const QString& codigo)
{
    query.close();
    query.setSql(QStringLiteral("select rdb$set_context('USER_TRANSACTION', ") + sqlLiteral(codigo.left(kCodigoWidth))
                 + QStringLiteral(", NULL) CLEARED from RDB$DATABASE"));
    query.open();
    query.close();
}

} // namespace livros::revised::testing
