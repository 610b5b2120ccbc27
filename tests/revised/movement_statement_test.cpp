#include "reference_statement.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace livros::revised;
using namespace livros::revised::testing;

namespace {

// One product of the store 12345678000195 over May 2024, with a quote in every text.
MovementValues quotedProduct()
{
    MovementValues v;
    v.cnpj = QStringLiteral("12345678000195");
    v.codigo = QStringLiteral("COD'0123456789ABCDEF");
    v.lab = QStringLiteral("Lab d'Oeste");
    v.fornecedor = QStringLiteral("TPN Química D'Ávila");
    v.unid = QStringLiteral("Kg'Ç");
    v.lista = QStringLiteral("C1'");
    v.start = QDate(2024, 5, 1);
    v.end = QDate(2024, 5, 31);
    return v;
}

class MovementStatementTest : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(MovementStatementTest, UnitLowerCasesOnlyAsciiCapitals)
{
    EXPECT_EQ(unitLiteral(QStringLiteral("KG")), QStringLiteral("' - (kg)'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("ÇX")), QStringLiteral("' - (Çx)'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("ÁMPola")), QStringLiteral("' - (Ámpola)'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("")), QStringLiteral("' - ()'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("ABCDEFGHIJKL")), QStringLiteral("' - (abcdefghij)'"));
}

TEST_F(MovementStatementTest, ListOfBlanksIsEmptyOtherBlanksKeptWithinTheColumn)
{
    EXPECT_EQ(listLiteral(QStringLiteral("     ")), QStringLiteral("''"));
    EXPECT_EQ(listLiteral(QString()), QStringLiteral("''"));
    EXPECT_EQ(listLiteral(QStringLiteral(" B1 ")), QStringLiteral("' B1 '"));
    EXPECT_EQ(listLiteral(QString(35, u'X')), QStringLiteral("'XXXXX'")); // the book's column holds 5
    MovementValues v = quotedProduct();
    v.lista = QStringLiteral("  ");
    EXPECT_TRUE(composeMovementStatement(RevisedMode::Drogaria, v).contains(u",'' LISTA "));
}

TEST_F(MovementStatementTest, CodeOfTwentyCharactersIsKeptWhole)
{
    MovementValues v = quotedProduct();
    v.codigo = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    const QString sql = composeMovementStatement(RevisedMode::InsumosCompleto, v);
    EXPECT_EQ(sql.count(u"co.codigo = 'ABCDEFGHIJKLMNOPQRST' "), 4);
}

TEST_F(MovementStatementTest, PeriodIsBrazilianWhateverTheLocale)
{
    EXPECT_EQ(periodLiteral(QDate(2024, 1, 2), QDate(2025, 12, 31)),
              QStringLiteral("'02/01/2024 a 31/12/2025'"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(periodLiteral(QDate(2024, 1, 2), QDate(2025, 12, 31)),
              QStringLiteral("'02/01/2024 a 31/12/2025'"));
}

TEST_F(MovementStatementTest, DatesOfTheFiltersAreIso)
{
    MovementValues v = quotedProduct();
    v.start = QDate(2030, 2, 3);
    v.end = QDate(1999, 11, 9);
    const QString sql = composeMovementStatement(RevisedMode::Drogaria, v);
    EXPECT_TRUE(sql.contains(u"on ba.databalanco = '2030-02-03' "));
    EXPECT_EQ(sql.count(u"between '2030-02-03' AND '1999-11-09' "), 3);
    EXPECT_TRUE(sql.contains(u"'03/02/2030 a 09/11/1999' Periodo"));
}

TEST(RevisedModeKeywords, ExactKeywordsOnly)
{
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("DROGARIA")), RevisedMode::Drogaria);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("INSUMOSCOMPLETO")), RevisedMode::InsumosCompleto);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("SIPROQUIM")), RevisedMode::Siproquim);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("drogaria")), std::nullopt);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("DROGARIAVIEW")), std::nullopt);
    EXPECT_EQ(revisedModeFromKeyword(QString()), std::nullopt);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("SIPROQUIMVIEW")), RevisedMode::Siproquim);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("INSUMOSCOMPLETOVIEW")), RevisedMode::InsumosCompleto);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("DROGARIA")), std::nullopt);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("VIEW")), std::nullopt);
    EXPECT_EQ(keyword(RevisedMode::InsumosCompleto), QStringLiteral("INSUMOSCOMPLETO"));
}

} // namespace
