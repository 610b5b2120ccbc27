#pragma once
#include "firebird_fixture.h"

#include <QString>

// Rows of the suite's tables for the classic book tests, written with the fixture's own
// connection. Dates are ISO texts ("2024-05-02").
namespace livros::classic::testing {

inline const QString kStore = QStringLiteral("12345678000199");
inline const QString kOtherStore = QStringLiteral("99888777000166");

struct TestData {
    livros::testing::EmbeddedSuite& suite;

    void component(const QString& codigo, const QString& componente, const QString& unid, const QString& lista,
                   const QString& dcb, const QString& grupo = QStringLiteral("MAN"),
                   const QString& controlada = QStringLiteral("Sim"));
    void inventory(const QString& date, const QString& codigo, double qde, const QString& unid,
                   const QString& loja = kStore);
    // One invoice with one item.
    void entry(const QString& date, const QString& codigo, double quantity, const QString& unidade,
               const QString& lote = QStringLiteral("L1"), const QString& fornecedor = QStringLiteral("ABC"),
               const QString& loja = kStore, const QString& validade = QStringLiteral("2025-12-31"));
    // A TABLAB row: a store and its laboratory.
    void store(const QString& loja, const QString& laboratorio);
    // One order with one formula component; the formula gets a PEDIFORM row of `exitLaboratory`
    // when one is set.
    void exit(const QString& date, const QString& codigo, double quantity, const QString& unid,
              const QString& lote = QStringLiteral("L1"), const QString& fornecedor = QStringLiteral("ABC"),
              const QString& tipo = QStringLiteral("Pedido"), const QString& validade = QStringLiteral("2025-12-31"));
    void loss(const QString& date, const QString& dcb, double quantity, const QString& unidade,
              const QString& motivo, const QString& lote = QStringLiteral("L1"),
              const QString& fornecedor = QStringLiteral("ABC"), const QString& loja = kStore);

    QString exitLaboratory;
    QString lossComponente = QStringLiteral("X"); // PERDAS.COMPONENTE of the next losses
    int m_nextKey = 1;
};

} // namespace livros::classic::testing
