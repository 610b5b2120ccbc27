#include "classic_test_data.h"

#include "platform/sql_literal.h"

namespace livros::classic::testing {

namespace {
QString q(const QString& text) { return livros::sqlLiteral(text); }
QString n(double value) { return QString::number(value, 'f', 8); }
} // namespace

void TestData::component(const QString& codigo, const QString& componente, const QString& unid, const QString& lista,
                         const QString& dcb, const QString& grupo, const QString& controlada)
{
    suite.execMain(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, UNID, LISTA, DCB, GRUPO, CONTROLADA) "
                                  "values (%1, %2, %3, %4, %5, %6, %7)")
                       .arg(q(codigo), q(componente), q(unid), q(lista), q(dcb), q(grupo), q(controlada)));
}

void TestData::inventory(const QString& date, const QString& codigo, double qde, const QString& unid,
                         const QString& loja)
{
    suite.execMain(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values (%1, %2, %3, %4, %5)")
                       .arg(q(date), q(codigo), n(qde), q(unid), q(loja)));
}

void TestData::entry(const QString& date, const QString& codigo, double quantity, const QString& unidade,
                     const QString& lote, const QString& fornecedor, const QString& loja, const QString& validade)
{
    const QString nota = QStringLiteral("NF%1").arg(m_nextKey++);
    suite.execMain(QStringLiteral("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values (%1, %2, %3, %4)")
                       .arg(q(nota), q(fornecedor), q(date), q(loja)));
    suite.execMain(QStringLiteral("insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, "
                                  "UNIDADE) values (%1, %2, %3, %4, %5, %6, %7)")
                       .arg(q(nota), q(codigo), q(fornecedor), q(lote), q(validade), n(quantity), q(unidade)));
}

void TestData::store(const QString& loja, const QString& laboratorio)
{
    suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values (%1, %2)").arg(q(loja), q(laboratorio)));
}

void TestData::exit(const QString& date, const QString& codigo, double quantity, const QString& unid,
                    const QString& lote, const QString& fornecedor, const QString& tipo, const QString& validade)
{
    const int order = m_nextKey++;
    suite.execMain(QStringLiteral("insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('01', %1, %2, %3)")
                       .arg(order)
                       .arg(q(date), q(tipo)));
    if (!exitLaboratory.isEmpty())
        suite.execMain(QStringLiteral("insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, LABORATORIO) values ('01', %1, 1, %2)")
                           .arg(order)
                           .arg(q(exitLaboratory)));
    suite.execMain(QStringLiteral("insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, "
                                  "QDEESTOQUE, UNID, LOTE, FORNECEDOR, VALIDADELOTE) values ('01', %1, 1, 'X', %2, "
                                  "%3, %4, %5, %6, %7)")
                       .arg(order)
                       .arg(q(codigo), n(quantity), q(unid), q(lote), q(fornecedor), q(validade)));
}

void TestData::loss(const QString& date, const QString& dcb, double quantity, const QString& unidade,
                    const QString& motivo, const QString& lote, const QString& fornecedor, const QString& loja)
{
    suite.execMain(QStringLiteral("insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, "
                                  "UNIDADE, MOTIVO) values (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                       .arg(q(loja), q(date), q(dcb), q(lossComponente), q(fornecedor), q(lote), n(quantity),
                            q(unidade), q(motivo)));
}

} // namespace livros::classic::testing
