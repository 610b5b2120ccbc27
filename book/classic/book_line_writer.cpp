#include "book/classic/book_line_writer.h"

#include "platform/number_format.h"

namespace livros::classic {

BookLineWriter::BookLineWriter(data::Transaction& transaction)
    : m_insert(transaction,
               QStringLiteral("Insert into LIVROCONTR (ID, CNPJ, DCB, ESTOQUEINICIAL, LIVRO, DATA, HISTORICO, MOVIMENTO, "
                              "SALDO, OBSERVACOES, CODIGO, COMPONENTE, PERIODO, UNID) values "
                              "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))
{
}

void BookLineWriter::write(const BookLine& whole)
{
    const BookLine line = fittedToColumns(whole);
    m_insert.setInteger(0, line.id);
    m_insert.setText(1, line.cnpj);
    m_insert.setText(2, line.dcb);
    m_insert.setDecimal(3, sqlNumber4(line.openingBalance));
    m_insert.setText(4, line.bookName);
    m_insert.setDate(5, line.date);
    m_insert.setText(6, line.history);
    m_insert.setText(7, line.movement);
    m_insert.setDecimal(8, sqlNumber4(line.balance));
    m_insert.setText(9, line.observation);
    m_insert.setText(10, line.codigo);
    m_insert.setText(11, line.componente);
    m_insert.setText(12, line.period);
    m_insert.setText(13, line.unit);
    m_insert.execute();
}

} // namespace livros::classic
