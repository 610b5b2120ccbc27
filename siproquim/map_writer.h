#pragma once
#include "siproquim/map_content.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace livros::siproquim {

// The map's file name: "M" + year + month (JAN...) + CNPJ + ".txt".
QString mapFileName(const MapContent& content);

struct ComposedMap {
    QByteArray bytes;     // plain ASCII, one record a line, CRLF; empty when there are problems
    QStringList problems; // every value that does not fit its field, with what it belongs to
};

// Writes the records EM, DG with its PR lines (only when some product is declared), one MVN per
// invoice with its MM lines, and the UC lines. A value that does not fit its field is never cut
// or padded wrong: it is listed and no text is produced. The result also passes checkMap.
ComposedMap composeMap(const MapContent& content);

} // namespace livros::siproquim
