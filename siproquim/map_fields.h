#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace livros::siproquim {

// The records of the monthly map that a pharmacy writes, at the positions of the Polícia
// Federal's import layout (columns counted from 1; text padded with blanks on the right).
enum class FieldKind {
    RecordType,    // the record's own type letters
    Cnpj,          // 14 characters without mask, valid check digits
    Month,         // JAN, FEV, ... DEZ
    Year,          // four digits, 2010 on
    Flag,          // 0 or 1
    ProductCode,   // "TPN" and 8 digits
    Text,          // capitals without accents, plain ASCII; not blank
    OptionalText,  // the same, may be blank
    Concentration, // 001 to 100 (blank for a compound product in a movement)
    Density,       // "99,99" from 00,01
    Quantity,      // "999.999.999,999" right-aligned in 15
    Unit,          // K or L
    ProductRef,    // the product as declared: "PR" + code, or "PC" + NCM with mask
    Date,          // dd/mm/yyyy
    Choice,        // one of the field's choices
    Ncm,           // the NCM of a compound product with its mask: "2915.90.90"
    NameText,      // a name the layout writes with a capital first letter: plain ASCII, any case; not blank
    Percent99,     // the share of a substance in a compound: 01 to 99
    Cep,           // "99.999-999"
    State,         // two capitals (UF)
    CityCode,      // the IBGE code of the town: 7 digits
};

struct FieldSpec {
    const char* name; // as the user reads it in a message
    int column;       // first column, from 1
    int width;
    FieldKind kind;
    const char* choices = nullptr; // Choice: the allowed values separated by '|'
};

struct RecordSpec {
    const char* type;
    QList<FieldSpec> fields;
    int length() const { return fields.last().column + fields.last().width - 1; }
    const FieldSpec* field(const char* name) const;
};

// The layout of a record type ("EM", "DG", "PR", "PC", "SC", "RC", "RS", "RB", "MVN", "MM", "MT",
// "MA", "UC"), or null.
const RecordSpec* recordSpec(const QString& type);
// Every other type the import layout defines (records of producers, importers, carriers...).
bool isOtherLayoutType(const QString& type);
// The type at the start of a line: three letters for MVN and the other three-letter records.
QString recordTypeOf(const QString& line);

// The map's value forms. An empty optional: the value does not fit its field.
QString monthAbbreviation(int month);            // 1 -> "JAN"; 0 when out of range gives ""
int monthFromAbbreviation(const QString& text);  // 0 when it is none
std::optional<QString> quantityText(double value);      // 1234.5 -> "      1.234,500"
std::optional<QString> densityText(double value);       // 0.79 -> "00,79"
std::optional<QString> concentrationText(int percent);  // 37 -> "037"
QString dateText(const QDate& date);                    // "dd/mm/yyyy"

// A text in the form both versions of the import layout accept: capitals, accents removed,
// plain ASCII, blanks collapsed and trimmed. Characters without such a form are listed in
// `unconvertible` (each once) and left out of the result.
QString mapText(const QString& text, QStringList* unconvertible = nullptr);

// Reads a quantity field back (blanks or zeros on the left); empty when it is no quantity.
std::optional<double> readQuantity(const QString& field);
std::optional<double> readDensity(const QString& field);

} // namespace livros::siproquim
