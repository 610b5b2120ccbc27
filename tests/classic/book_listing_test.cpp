#include "book/classic/book_listing.h"
#include "book/classic/component_lists.h"
#include "book/classic/movement_texts.h"

#include <gtest/gtest.h>

#include <ostream>

#include "qt_test_print.h"

using namespace livros::classic;

namespace {


QString repeat(char c, int n) { return QString(n, QLatin1Char(c)); }

// Positions (counting from 1) of every "|" in a line.
std::vector<int> barPositions(const QString& line)
{
    std::vector<int> out;
    for (int i = 0; i < line.size(); ++i)
        if (line.at(i) == QLatin1Char('|'))
            out.push_back(i + 1);
    return out;
}

const std::vector<int> kBars{11, 99, 111, 128};

class BookListing : public ::testing::Test {};

} // namespace

TEST_F(BookListing, SmallBookLineByLine)
{
    // One component with an inventory of 5 G and, on 02/05/24, an entry of 10, an exit of 3 and
    // a loss of 1, assembled in the order of the build.
    QStringList listing;
    listing += componentHeading(groupTitleLine(1), QDate(2024, 5, 1), QDate(2024, 5, 3));
    listing += balanceLineWithInventory(QStringLiteral("Morfina cloridrato"), QStringLiteral("03456"), 5,
                                        QStringLiteral("G"));
    listing += columnHeading();
    listing += movementLine(MovementKind::Entry, QDate(2024, 5, 2),
                            QStringLiteral("Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 10,000000 G"), 15,
                            QStringLiteral("Compra"));
    listing += movementLine(MovementKind::Exit, QDate(2024, 5, 2),
                            QStringLiteral("Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 3,000000 G"), 12,
                            QStringLiteral("Venda"));
    listing += movementLine(MovementKind::Loss, QDate(2024, 5, 2),
                            QStringLiteral("Perda - Forn: ABC Lote: L1  Qde: 1,000000 G"), 11,
                            QStringLiteral("Frasco quebrado"));
    listing += componentClosing();
    listing += groupClosing();
    listing += listingClosing();

    const QStringList expected = {
        " ",
        " ",
        " ",
        repeat('=', 153),
        " Medicamentos entorpecentes - Listas A1 e A2",
        " Período: 01/05/24 a 03/05/24",
        " ",
        " MORFINA CLORIDRATO    DCB: 03456    SALDO INICIAL: 5,0000 G",
        " ",
        repeat('-', 153),
        " DATA     | HISTÓRICO                                                                             "
        "| MOVIMENTO | ESTOQUE        | OBSERVAÇÃO              ",
        "----------|---------------------------------------------------------------------------------------"
        "|-----------|----------------|-------------------------",
        " 02/05/24 | Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 10,000000 G                                  "
        "| Entrada   |       15,00000 | Compra",
        " 02/05/24 | Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 3,000000 G                                   "
        "| Saída     |       12,00000 | Venda",
        " 02/05/24 | Perda - Forn: ABC Lote: L1  Qde: 1,000000 G                                           "
        "| Saída     |       11,00000 | Frasco quebrado",
        repeat('=', 153),
        " ",
        " ",
        " ",
        " ",
        "------------------------------------------------------------  FIM  "
        "---------------------------------------------------------------------------",
    };
    ASSERT_EQ(listing.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(listing.at(i), expected.at(i)) << "line " << i + 1;
}

TEST_F(BookListing, EmptyGroupGivesOnlyTheClosing)
{
    const QStringList closing = listingClosing();
    ASSERT_EQ(closing.size(), 2);
    EXPECT_EQ(closing.at(0), " ");
    EXPECT_EQ(closing.at(1).size(), 142);
    EXPECT_EQ(closing.at(1), repeat('-', 60) + "  FIM  " + repeat('-', 75));
    EXPECT_EQ(groupClosing(), QStringList{" "});
    EXPECT_EQ(noMovementLine(), QStringLiteral("NÃO HOUVE MOVIMENTAÇÃO NESSE PERÍODO"));
}

TEST_F(BookListing, ColumnHeadingAndMovementLinesShareTheBarPositions)
{
    const QStringList heading = columnHeading();
    ASSERT_EQ(heading.size(), 4);
    EXPECT_EQ(heading.at(0), " ");
    EXPECT_EQ(heading.at(1), repeat('-', 153));
    EXPECT_EQ(heading.at(2).size(), 153);
    EXPECT_EQ(heading.at(3).size(), 153);
    EXPECT_EQ(barPositions(heading.at(2)), kBars);
    EXPECT_EQ(barPositions(heading.at(3)), kBars);

    for (MovementKind kind : {MovementKind::Entry, MovementKind::Exit, MovementKind::Loss}) {
        const QString line = movementLine(kind, QDate(2024, 5, 3), QString(40, QLatin1Char('h')), 1234.5,
                                          QStringLiteral("Obs"));
        EXPECT_EQ(barPositions(line), kBars);
        EXPECT_TRUE(line.endsWith(" | Obs"));
    }
}

TEST_F(BookListing, MovementLineOfAFortyCharacterHistory)
{
    const QString history = QStringLiteral("Forn: FORNECEDOR UM Lote: 7 Val:  Qde: 2");
    ASSERT_EQ(history.size(), 40);
    const QString line =
        movementLine(MovementKind::Entry, QDate(2024, 5, 3), history, 2, QStringLiteral("Compra"));
    EXPECT_EQ(line, " 03/05/24 | " + history + QString(45, QLatin1Char(' ')) + " | Entrada   | " + "       2,00000"
                        + " | Compra");
}

TEST_F(BookListing, LongHistoryPushesTheRestWithoutCutting)
{
    const QString history(95, QLatin1Char('x'));
    const QString line = movementLine(MovementKind::Exit, QDate(2024, 5, 3), history, 1, QStringLiteral("Venda"));
    EXPECT_TRUE(line.contains(history + " | Saída     | "));
    EXPECT_EQ(barPositions(line).at(1), 99 + 10);
    EXPECT_TRUE(line.endsWith(" | Venda"));
}

TEST_F(BookListing, NegativeBalanceKeepsItsSignInsideTheCell)
{
    const QString line = movementLine(MovementKind::Exit, QDate(2024, 5, 3), QStringLiteral("h"), -2.5,
                                      QStringLiteral("Venda"));
    EXPECT_TRUE(line.contains(QStringLiteral("| Saída     |       -2,50000 | Venda"))) << line.toStdString();
    EXPECT_EQ(barPositions(line), kBars);
    const QString big = movementLine(MovementKind::Exit, QDate(2024, 5, 3), QStringLiteral("h"), -1234567.125,
                                     QStringLiteral("Venda"));
    EXPECT_TRUE(big.contains("| -1.234.567,12500 |")) << big.toStdString();
}

TEST_F(BookListing, CapitalsRaiseOnlyAToZ)
{
    EXPECT_EQ(upperAsciiLetters(QStringLiteral("ácido bórico")), QStringLiteral("áCIDO BóRICO"));
    EXPECT_EQ(upperAsciiLetters(QStringLiteral("ação 2% çz")), QStringLiteral("AçãO 2% çZ"));
    EXPECT_EQ(balanceLineWithoutInventory(QStringLiteral("ácido bórico"), QStringLiteral("00123"),
                                          QStringLiteral("KG")),
              QStringLiteral(" áCIDO BóRICO    DCB: 00123    SALDO INICIAL: 0.000 KG"));
}

TEST_F(BookListing, NumberFormatsFollowTheWorkstation)
{
    EXPECT_EQ(balanceLineWithInventory(QStringLiteral("x"), QStringLiteral("d"), 1234.5, QStringLiteral("G")),
              " X    DCB: d    SALDO INICIAL: 1.234,5000 G");
    EXPECT_EQ(balanceLineWithInventory(QStringLiteral("x"), QStringLiteral("d"), 0, QStringLiteral("G")),
              " X    DCB: d    SALDO INICIAL: 0,0000 G");
    EXPECT_TRUE(movementLine(MovementKind::Entry, QDate(2024, 5, 3), QStringLiteral("h"), 1234.5,
                             QStringLiteral("Compra"))
                    .contains("|    1.234,50000 |"));
    const QStringList block = unitErrorBlock(QStringLiteral("KG"), QStringLiteral("G"), 1234567.5);
    const QStringList expected = {
        "* * * * * * * * * *",
        "ERRO: Inconsistência na Unidade do componente",
        "  Em COMPONEN: Unid = KG",
        "  Em BALANCOS: Unid = G",
        "  Em BALANCOS: QDE. = 1.234.567,5000",
        "* * * * * * * * * *",
    };
    EXPECT_EQ(block, expected);

    // An explicit locale wins over the default one.
    EXPECT_TRUE(movementLine(MovementKind::Entry, QDate(2024, 5, 3), QStringLiteral("h"), 1234.5,
                             QStringLiteral("Compra"), QLocale::c())
                    .contains("|    1,234.50000 |"));
}

TEST_F(BookListing, HistoryTexts)
{
    MovementRow row;
    row.supplier = QStringLiteral("DISTRIBUIDORA FARMACEUTICA SUL");  // 30 characters
    row.lot = QStringLiteral("L'01");
    row.expiry = QStringLiteral("31/05/2024");
    row.quantity = 1234.5;
    row.unit = QStringLiteral("G");
    row.reason = QStringLiteral("Vencimento do lote apos armazenagem ruim");  // 40 characters
    EXPECT_EQ(historyText(MovementKind::Entry, row),
              "Forn: DISTRIBUIDORA FARMAC Lote: L'01 Val: 31/05/2024  Qde: 1.234,500000 G");
    EXPECT_EQ(historyText(MovementKind::Exit, row),
              "Forn: DISTRIBUIDORA FARMAC Lote: L'01 Val: 31/05/2024  Qde: 1.234,500000 G");
    EXPECT_EQ(historyText(MovementKind::Loss, row),
              "Perda - Forn: DISTRIBUIDORA FARMAC Lote: L'01  Qde: 1.234,500000 G");
    EXPECT_EQ(observationText(MovementKind::Entry, row), "Compra");
    EXPECT_EQ(observationText(MovementKind::Exit, row), "Venda");
    EXPECT_EQ(observationText(MovementKind::Loss, row), "Vencimento do lote apos");
    EXPECT_EQ(movementName(MovementKind::Entry), "Entrada");
    EXPECT_EQ(movementName(MovementKind::Exit), QStringLiteral("Saída"));
    EXPECT_EQ(movementName(MovementKind::Loss), QStringLiteral("Saída"));

    MovementRow empty;
    EXPECT_EQ(historyText(MovementKind::Entry, empty), "Forn:  Lote:  Val:   Qde: 0,000000 ");
}

TEST(ListGroups, ListCodesAreComparedExactly)
{
    EXPECT_EQ(listGroupOf("A1"), 1);
    EXPECT_EQ(listGroupOf("A2"), 1);
    EXPECT_EQ(listGroupOf("A3"), 2);
    EXPECT_EQ(listGroupOf("B1"), 2);
    EXPECT_EQ(listGroupOf("B2"), 2);
    EXPECT_EQ(listGroupOf("C1"), 3);
    EXPECT_EQ(listGroupOf("C2"), 3);
    EXPECT_EQ(listGroupOf("C4"), 3);
    EXPECT_EQ(listGroupOf("C5"), 3);
    EXPECT_EQ(listGroupOf("C3"), 4);
    EXPECT_EQ(listGroupOf("a1"), 0);
    EXPECT_EQ(listGroupOf("D1"), 0);
    EXPECT_EQ(listGroupOf("A1 "), 0);
    EXPECT_EQ(listGroupOf(" A1"), 0);
    EXPECT_EQ(listGroupOf(""), 0);
}

TEST(ListGroups, TitleLinesAndBookNames)
{
    EXPECT_EQ(groupTitleLine(1), " Medicamentos entorpecentes - Listas A1 e A2");
    EXPECT_EQ(groupTitleLine(2), QStringLiteral(" Medicamentos psicotrópicos - Listas A3, B1 e B2"));
    EXPECT_EQ(groupTitleLine(3), " Medicamentos sujeitos a controle especial - Listas C1, C2, C4 E C5");
    EXPECT_EQ(groupTitleLine(4), " Medicamentos imunossupressores - Lista C3");
    EXPECT_EQ(groupBookName(1), "Medicamentos entorpecentes - Listas A1 E A2");
    EXPECT_EQ(groupBookName(2), QStringLiteral("Medicamentos psicotrópicos - Listas A3, B1 E B2"));
    EXPECT_EQ(groupBookName(3), "Medicamentos sujeitos a controle especial - Listas C1, C2, C4 e C5");
    EXPECT_EQ(groupBookName(4), "Medicamentos imunossupressores - Lista C3");
    EXPECT_TRUE(groupTitleLine(0).isEmpty());
    EXPECT_TRUE(groupBookName(5).isEmpty());
}

TEST(ListGroups, TableGrowsBeyondAHundredEntries)
{
    ListGroupTable table;
    for (int i = 1; i <= 250; ++i)
        table.append(ControlledComponent{"d", QString::number(i), "c", "G", "C3"});
    EXPECT_EQ(table.count(), 250);
    EXPECT_EQ(table.entry(1).codigo, "1");
    EXPECT_EQ(table.entry(101).codigo, "101");
    EXPECT_EQ(table.entry(250).codigo, "250");

    ComponentLists lists;
    EXPECT_EQ(lists.group(0), nullptr);
    EXPECT_EQ(lists.group(5), nullptr);
    ASSERT_NE(lists.group(4), nullptr);
    EXPECT_EQ(lists.group(4)->count(), 0);
}
