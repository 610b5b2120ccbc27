#include "book_sources.h"

#include <QRandomGenerator>
#include <algorithm>

namespace livros::report::testing {
namespace {

const QStringList kDadosGerFields = {
    "CODIGOLIVRO", "CODIGOLIVROSC", "NUMEROINICIAL", "NUMEROINICIALSC", "QDEFOLHAS", "QDEFOLHASSC", "REGISTRO",
    "REGISTROSC", "FIRMA", "FARMACIA", "FARMACEUTICO", "ENDERECO", "NUMERO", "CIDADE", "ESTADO", "NUMEROJUNTA",
    "ESTADOEXT", "INSCRICAOEST", "CGC", "DIADESPACHO", "MESDESPACHO", "ANODESPACHO", "CID", "DIA", "MES", "ANO",
    "NAUTORIZACAO", "TELEFONE", "FAX", "EXERCICIO", "ANUALTRIMESTRAL", "TRIMESTRE", "PORTARIABSPO", "QDEFOLHASBSPO",
    "PREENCHIDOPORBSPO", "CRF_Q", "REGIAO", "DATABSPO", "CNPJ", "NLICENCA_FUNC", "SECRETARIA_SAUDE",
    "AUTORIDADE_SANITARIA", "CEP", "BAIRRO", "COMPLEMENTO"};

QVariantList dadosGerRow()
{
    QVariantList row;
    for (const QString& f : kDadosGerFields) {
        if (f == "FIRMA") row << QStringLiteral("Farmácia Boa Saúde Ltda");
        else if (f == "FARMACIA") row << QStringLiteral("Drogaria e Manipulação Boa Saúde");
        else if (f == "FARMACEUTICO") row << QStringLiteral("Ana Luísa Gonçalves");
        else if (f == "ENDERECO") row << QStringLiteral("Rua São Benedito");
        else if (f == "NUMERO") row << QStringLiteral("1234");
        else if (f == "BAIRRO") row << QStringLiteral("Santa Efigênia");
        else if (f == "CIDADE") row << QStringLiteral("Belo Horizonte");
        else if (f == "ESTADO") row << QStringLiteral("MG");
        else if (f == "CEP") row << QStringLiteral("30150-000");
        else if (f == "CNPJ") row << QStringLiteral("12345678000195");
        else if (f == "NAUTORIZACAO") row << QStringLiteral("7.12345-6");
        else if (f == "NLICENCA_FUNC") row << QStringLiteral("LF-2024/0042");
        else if (f == "CRF_Q") row << QStringLiteral("MG-15.432");
        else if (f.startsWith("NUMEROINICIAL") || f.startsWith("QDEFOLHAS") || f == "DIADESPACHO" || f == "ANODESPACHO"
                 || f == "DIA" || f == "ANO") row << QVariant();
        else row << QString();
    }
    return row;
}

QString periodText(QDate from, QDate to, const QString& format)
{
    return from.toString(format) + QStringLiteral(" a ") + to.toString(format);
}

} // namespace

BookSources::BookSources()
    : livroContr({"ID", "CNPJ", "DCB", "ESTOQUEINICIAL", "LIVRO", "LINHA", "DATA", "HISTORICO", "MOVIMENTO", "SALDO",
                  "OBSERVACOES", "CODIGO", "COMPONENTE", "PERIODO", "UNID", "LABORATORIO", "UNIDCADASTRO"}),
      periodo({"DATAINICIAL", "DATAFINAL", "HORAINICIAL", "HORAFINAL", "CHAVE", "ESTACAO", "NPEDIDO", "NFORMULA",
               "VALORTOTAL", "VALORTOTAL2"}),
      componentes({"CODIGO", "COMPONENTE", "UNID", "LISTA", "DCB"}),
      dadosGer(kDadosGerFields),
      livroRevContr({"ID", "DATA", "HISTORICO", "LOTE", "OPERACAO", "QUANTIDADE", "ESTOQUE", "OBSERVACAO", "REGMSMEDICAM",
                     "DCB", "COMPONENTE", "PERIODO", "CONTEXTO", "CODIGO", "LISTA", "CNPJ", "LABORATORIO", "ORDEM"})
{
    livroContr.setDisplayFormat("ESTOQUEINICIAL", "###,###,##0.00000");
    livroContr.setDisplayFormat("SALDO", "###,###,##0.00000");
    dadosGer.addRow(dadosGerRow());
    periodo.addRow({QDate(2024, 1, 1), QDate(2024, 6, 30)});
    connections.add("RvDSLivContr", &livroContr);
    connections.add("RvDSPeriodo", &periodo);
    connections.add("RvDSCompon", &componentes);
    connections.add("RvDSDadosGer", &dadosGer);
    connections.add("RvDSConRelLivrosRev", &livroRevContr);
}

std::vector<ExpectedLine> fillClassicBook(BookSources& s, const std::vector<int>& linesPerProduct, int otherCatalogueUnit)
{
    QRandomGenerator random(20240101);
    const QDate from(2024, 1, 1), to(2024, 6, 30);
    std::vector<ExpectedLine> lines;
    int id = 0;
    for (size_t p = 0; p < linesPerProduct.size(); ++p) {
        const QString product = QStringLiteral("Clonazepam %1 mg comprimido").arg(p + 1);
        const QString dcb = QStringLiteral("0%1.01-1").arg(2310 + p);
        const double opening = 100.5 * double(p + 1);
        double stock = opening;
        QDate day = from;
        for (int i = 0; i < linesPerProduct[p]; ++i) {
            day = day.addDays(int(random.bounded(3)));
            const bool entry = random.bounded(3) == 0;
            const double qty = double(random.bounded(1, 50)) + (entry ? 0.25 : 0);
            stock += entry ? qty : -qty;
            ExpectedLine line;
            line.product = product;
            line.date = day;
            line.op = entry ? QStringLiteral("Entrada") : QStringLiteral("Saída");
            line.quantity = qty;
            line.stock = stock;
            line.history = QStringLiteral("Forn: Ágil%1 Lote: L%2").arg(p).arg(i);
            line.observation = entry ? QStringLiteral("Compra") : QStringLiteral("Venda");
            lines.push_back(line);
            ++id;
            s.livroContr.addRow({id, kBranchCnpj, dcb, opening, QStringLiteral("Medicamentos psicotrópicos - Listas A3, B1 E B2"),
                                 QVariant(), day, line.history, line.op, stock, line.observation, QStringLiteral("C%1").arg(p),
                                 product, periodText(from, to, "dd/MM/yy"), QStringLiteral("CP"), kBranchLaboratory,
                                 int(p) == otherCatalogueUnit ? QVariant(QStringLiteral("KG")) : QVariant()});
        }
    }
    return lines;
}

std::vector<ExpectedLine> fillRevisedBook(BookSources& s, const std::vector<int>& linesPerProduct, bool drugstore)
{
    QRandomGenerator random(777);
    const QDate from(2024, 1, 1), to(2024, 3, 31);
    std::vector<ExpectedLine> lines;
    std::vector<QVariantList> rows;
    for (size_t p = 0; p < linesPerProduct.size(); ++p) {
        const QString product = QStringLiteral("Morfina %1 - (%2)").arg(p + 1).arg(drugstore ? "cx" : "g");
        const QString identifier = drugstore ? QStringLiteral("1.0043.0%1").arg(p) : QStringLiteral("0621%1").arg(p);
        const QString list = p % 2 ? QStringLiteral("A1") : QStringLiteral("B1");
        double stock = drugstore ? 40 : 12.5;
        // The opening line, then movements sorted as the statement sorts them: date, then I, E, P, S.
        struct Move { QDate date; int rank; QString op; double qty; };
        std::vector<Move> moves;
        for (int i = 0; i < linesPerProduct[p]; ++i) {
            const int kind = int(random.bounded(3));
            const QString op = kind == 0 ? "E" : (kind == 1 ? "S" : "P");
            const double qty = drugstore ? double(random.bounded(1, 9)) : double(random.bounded(1, 4000)) / 1000.0;
            moves.push_back({from.addDays(int(random.bounded(60))), op == "E" ? 1 : (op == "P" ? 2 : 3), op, qty});
        }
        std::stable_sort(moves.begin(), moves.end(),
                         [](const Move& a, const Move& b) { return a.date != b.date ? a.date < b.date : a.rank < b.rank; });
        moves.insert(moves.begin(), Move{from, 0, "I", 0});
        for (size_t i = 0; i < moves.size(); ++i) {
            const Move& m = moves[i];
            if (m.op == "E")
                stock += m.qty;
            else if (m.op != "I")
                stock -= m.qty;
            ExpectedLine line;
            line.product = product;
            line.date = m.date;
            line.op = m.op;
            line.quantity = m.qty;
            line.stock = stock;
            line.history = m.op == "I" ? QStringLiteral("Estoque inicial ") : QStringLiteral("Movimento %1-%2 Ção").arg(p).arg(i);
            line.observation = m.op == "I" ? QStringLiteral("Inventario") : QStringLiteral("Obs %1").arg(i);
            line.lot = m.op == "I" ? QStringLiteral("-") : QStringLiteral("LT%1").arg(i);
            lines.push_back(line);
            rows.push_back({int(p + 1), m.date, line.history, line.lot, m.op, m.qty,
                            stock, line.observation, drugstore ? identifier : QString(), drugstore ? QString() : identifier,
                            product, periodText(from, to, "dd/MM/yyyy"), 1, QStringLiteral("P%1").arg(p), list,
                            kBranchCnpj, kBranchLaboratory, int(i)});
        }
    }
    std::shuffle(rows.begin(), rows.end(), random);
    for (const QVariantList& row : rows)
        s.livroRevContr.addRow(row);
    // The report prints products by list, then identifier: sort the expectation the same way.
    std::stable_sort(lines.begin(), lines.end(), [&](const ExpectedLine& a, const ExpectedLine& b) {
        auto key = [&](const ExpectedLine& l) {
            const int p = l.product.section(' ', 1, 1).toInt() - 1;
            return std::make_pair(p % 2 ? QStringLiteral("A1") : QStringLiteral("B1"), p);
        };
        return key(a) < key(b);
    });
    return lines;
}

} // namespace livros::report::testing
