#include "book/ledger/exact_quantity.h"
#include "book/ledger/units.h"
#include "book/revised/revised_texts.h"

#include <gtest/gtest.h>

using namespace livros::ledger;

TEST(UnitRule, MassAndVolumeConvertByTheirFactorWhateverThePair)
{
    EXPECT_EQ(unitFactor("KG", "MG"), 1e6);
    EXPECT_EQ(unitFactor("mg", " g "), 0.001);
    EXPECT_EQ(unitFactor("MCG", "MG"), 0.001);
    EXPECT_EQ(unitFactor("KG", "G"), 1000.0);
    EXPECT_EQ(unitFactor("l", "ML"), 1000.0);
    EXPECT_EQ(unitFactor("L", "L"), 1.0);  // 20 L into a book kept in L counts 20
    EXPECT_EQ(unitFactor("", "G"), 1.0);   // a movement without unit counts as recorded
    EXPECT_EQ(unitFactor("CX", "cx"), 1.0);
    EXPECT_EQ(unitFactor("COM", "COMP"), 1.0);  // COMPRAS keeps three characters
    EXPECT_FALSE(unitFactor("CO", "COMP"));
    EXPECT_FALSE(unitFactor("UI", "G"));
    EXPECT_FALSE(unitFactor("CX", "G"));
    EXPECT_FALSE(unitFactor("G", "ML"));   // mass into volume needs a density the book has not
    EXPECT_FALSE(unitFactor("KG", "CX"));
}

TEST(ExactQuantity, SixDecimalsRoundedHalfAwayFromZeroAndShifted)
{
    EXPECT_EQ(ExactQuantity::fromText("12.34567850").text(), "12.345679");
    EXPECT_EQ(ExactQuantity::fromText("-0.00000050").text(), "-0.000001");
    EXPECT_EQ(ExactQuantity::fromText("2.00000", 3).text(), "2000.000000");
    EXPECT_EQ(ExactQuantity::fromText("500", -3).text(), "0.500000");
    EXPECT_EQ(ExactQuantity::fromText("1.5e+03").text(), "1500.000000");
    EXPECT_EQ(ExactQuantity::fromText("").text(), "0.000000");
    const ExactQuantity sum = ExactQuantity::fromText("0.1") + ExactQuantity::fromText("0.2");
    EXPECT_EQ(sum, ExactQuantity::fromText("0.3"));  // no binary rounding
    EXPECT_EQ(powerOfTenOf(1e-6), -6);
}

TEST(RevisedTexts, BrazilianNumbersCapitalsAndSupplierCutBeforeItsCnpj)
{
    using namespace livros::revised;
    EXPECT_EQ(twoDecimals("1.48"), "1,48");
    EXPECT_EQ(twoDecimals(""), "0,00");
    EXPECT_EQ(twoDecimals("0.12500000"), "0,13");
    EXPECT_EQ(twoDecimals("-2.5"), "-2,50");
    EXPECT_EQ(capitals(QStringLiteral("joão ÿ straße")), QStringLiteral("JOÃO Ÿ STRAßE"));
    const QString history = supplierHistory(QString(120, u'F'), "12345678000199", ": ", 100);
    EXPECT_EQ(history.size(), 100);
    EXPECT_TRUE(history.endsWith(" (CNPJ: 12345678000199)"));
    EXPECT_EQ(supplierHistory("ABC", "", " : ", 100), "ABC (CNPJ : )");
}
