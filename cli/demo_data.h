#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace livros::cli {

// The first day of the current month one year back: the default start of the demo data.
QDate defaultDemoFirstDay(const QDate& today = QDate::currentDate());

struct DemoOptions {
    int scale = 1;              // multiplies the products and the movements
    quint32 seed = 1;           // the same seed gives the same statements
    bool singleStore = false;   // one TABLAB row instead of three
    QDate firstDay = defaultDemoFirstDay();  // the data covers twelve months from here
};

// The statements that fill a fresh suite installation with demo data, and what they describe.
struct DemoData {
    QStringList mainStatements;       // INSERTs into the main database
    QStringList interfaceStatements;  // the PERIODO record of the interface database
    QStringList storeCnpjs;           // 14 digits each; the first one is the company's (DADOSGER)
    QDate periodStart;                // the PERIODO record: the last of the twelve months
    QDate periodEnd;
};

// A pharmacy with a compounding laboratory and a drugstore counter in two or three stores:
// catalogue with controlled inputs of every list, drugstore medicines and chemicals reported
// to the federal police, suppliers, monthly stock counts, purchases, formulas, drugstore sales
// and losses over twelve months. The stock counts agree with the movements between them.
// No database access: values are written as SQL literals, dates as 'yyyy-mm-dd'.
// Throws std::invalid_argument for a scale below 1 or an invalid first day.
DemoData generateDemoData(const DemoOptions& options);

// QUILMARA.INI as the suite's migration tool writes it: the 48-character server key, one blank
// and the server address (empty: the embedded default), CRLF line end, code page 1252.
// Throws std::invalid_argument for an address that the program could not read back whole
// (longer than 60 characters, blanks around it, or a line break in it).
QByteArray quilmaraIniContent(const QString& serverAddress = QString());

} // namespace livros::cli
