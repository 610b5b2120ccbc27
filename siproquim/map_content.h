#pragma once
#include <QDate>
#include <QList>
#include <QString>

namespace livros::siproquim {

// What one store's monthly map declares, quantities already in kilograms or litres.
struct MapProduct {
    QString code;       // Polícia Federal code, "TPN" and 8 digits
    QString name;       // trade name as the catalogue records it
    int concentration = 100;
    double density = 0;
    QChar unit;         // 'K' or 'L'
};

struct MapItem {
    QString code;
    double quantity = 0;
};

// A purchase invoice: an entry of operation EC, the supplier delivering.
struct MapInvoice {
    QString supplierCnpj;
    QString supplierName;
    QString number;
    QDate date;
    QList<MapItem> items; // one per product
};

// Consumption codes of the layout.
inline constexpr int kConsumptionOther = 3;
inline constexpr int kConsumptionProduction = 4;

struct MapConsumption {
    QString code;
    double quantity = 0;
    int consumptionCode = kConsumptionProduction;
    QString observation;
    QDate date;
};

struct MapContent {
    QString cnpj; // the store's, 14 characters without mask
    int year = 0;
    int month = 0;
    QList<MapProduct> products;
    QList<MapInvoice> invoices;
    QList<MapConsumption> consumptions;
};

} // namespace livros::siproquim
