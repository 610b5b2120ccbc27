#pragma once
#include <QList>
#include <QString>

namespace livros::siproquim {

// The sections of the import layout for the activities a pharmacy does not declare (international
// trade, production, transformation, manufacture, transport, storage), read by the map checker
// field by field as the layout defines them.

// How a field of such a record is checked.
enum class SectionCheck {
    Type,           // the record's own letters
    Text,           // free text, not blank
    OptionalText,   // free text, may be blank
    Digits,         // digits in every column
    Date,           // dd/mm/aaaa
    OptionalDate,   // dd/mm/aaaa, or blank when the operation has none
    Person,         // a CNPJ (14 characters) or a CPF (11 digits, blanks around), valid check digits
    Product,        // the product as DG declares it: PR or RC and the code, PC or RS and the NCM
    Concentration,  // 001 to 100; blank for a compound product
    Density,        // 00,01 to 99,99
    Quantity,       // 999.999.999,999 right-aligned
    Unit,           // K or L
    Cep,            // 99.999-999
    State,          // two capitals
    City,           // the town's IBGE code, 7 digits
    Choice,         // one of the field's choices
    OptionalChoice, // one of the field's choices, or blank
    Document,       // an import licence or declaration, 99/9999999-9, or blank
    Modes,          // the means of transport run together: RO, AQ, FE, AE
};

struct SectionField {
    const char* name; // as the user reads it in a message
    int column;       // first column, from 1
    int width;
    SectionCheck check;
    const char* choices = nullptr; // Choice, OptionalChoice: the allowed values separated by '|'
};

struct SectionLayout {
    const char* type;
    // The sections a subsection belongs to ("MVI", "TN|TI"); null for the head of a section.
    const char* sectionOf;
    QList<SectionField> fields;
    // The last field (the means of transport) takes from 2 to its width columns.
    bool variableEnd = false;
    int length() const { return fields.last().column + fields.last().width - 1; }
    // Dates that must lie in the map's month (the day the product was made, used or stored).
    const char* dateInMonth = nullptr;
};

// The layout of a record of those sections ("MVI", "NF", "UP", "TN", ...), or null.
const SectionLayout* sectionLayout(const QString& type);
// A product line of an invoice (NF) of an international movement: the product from column 1.
const SectionLayout& invoiceProductLayout();

// What is wrong with a field's value as its check reads it, or an empty text.
QString sectionFieldProblem(const SectionField& field, const QString& text);

} // namespace livros::siproquim
