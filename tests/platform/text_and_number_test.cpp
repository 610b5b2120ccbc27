// Code page 1252 conversion, SQL literals and the number pictures used by the books.
#include "platform/cnpj.h"
#include "platform/cp1252.h"
#include "platform/native_file_name.h"
#include "platform/number_format.h"
#include "platform/sql_literal.h"
#include "platform/system_error_text.h"

#include <QFile>
#include <cerrno>

#include <gtest/gtest.h>

using namespace livros;

// File names keep every byte: UTF-8 reads as text (also beyond U+FFFF), anything else (Latin-1,
// overlong forms, encoded surrogates, a cut sequence) comes back byte for byte.
TEST(NativeFileName, EveryByteComesBack)
{
    EXPECT_EQ(decodeNativeName(QByteArray("Relat\xc3\xb3rio \xf0\x9f\x93\x84")), QString::fromUtf8("Relatório 📄"));
    EXPECT_FALSE(hasRawBytes(QString::fromUtf8("Relatório 📄")));
    for (const QByteArray bytes : {QByteArray("relat\xf3rio"), QByteArray("\xc0\xaf\xed\xa0\x80"), QByteArray("a\xe2\x82\xff")}) {
        EXPECT_TRUE(hasRawBytes(decodeNativeName(bytes))) << bytes.toHex().constData();
        EXPECT_EQ(encodeNativeName(decodeNativeName(bytes)), bytes);
    }
}

// A machine without the Brazilian locale gives the C library's English: the reasons still read
// in Portuguese, the ones Qt passes on included.
TEST(SystemErrorText, ReasonsReadInPortugueseWhateverTheLocale)
{
    EXPECT_EQ(systemErrorText(ENOSPC), QStringLiteral("não há espaço livre no dispositivo"));
    QFile missing(QStringLiteral("/nonexistent-folder/file.txt"));
    ASSERT_FALSE(missing.open(QIODevice::ReadOnly));
    EXPECT_EQ(portugueseSystemText(missing.errorString()), QStringLiteral("arquivo ou pasta inexistente"));
    EXPECT_EQ(portugueseSystemText(QStringLiteral("outro motivo")), QStringLiteral("outro motivo"));
}

TEST(Cp1252, RoundTripsEveryByteAndMapsTheWindowsCharacters)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    EXPECT_EQ(toCp1252(QString::fromUtf8("€ Ç º Saída")), QByteArray("\x80 \xC7 \xBA Sa\xED" "da"));
    EXPECT_EQ(fromCp1252(QByteArray("\x93\x94\x96")), QString::fromUtf8("“”–"));
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(toCp1252(QString::fromUtf8("a→b")), QByteArray("a?b"));
    EXPECT_FALSE(representableInCp1252(QChar(0x2192)));
    EXPECT_TRUE(representableInCp1252(QChar(0x20AC)));
}

// A system message in UTF-8 ("diretório") reads as written; a server text quoting code page 1252
// data still reads as code page 1252.
TEST(Cp1252, MessagesReadAsUtf8WhenTheyAreUtf8)
{
    EXPECT_EQ(fromUtf8OrCp1252(QByteArray("Arquivo ou diret\xc3\xb3rio inexistente")),
              QString::fromUtf8("Arquivo ou diretório inexistente"));
    EXPECT_EQ(fromUtf8OrCp1252(QByteArray("A\xe7\xfa" "car")), QString::fromUtf8("Açúcar"));
}

TEST(SqlLiteral, DoublesEveryQuote)
{
    EXPECT_EQ(sqlLiteral("O'Brien"), QString("'O''Brien'"));
    EXPECT_EQ(sqlLiteral("''"), QString("''''''"));
    EXPECT_EQ(sqlLiteral(""), QString("''"));
}

TEST(NumberFormat, PicturesWithTheWorkstationSeparators)
{
    const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    EXPECT_EQ(formatNumber(1234.5, "###,###,##0.00000", br), QString("1.234,50000"));
    EXPECT_EQ(formatNumber(0, "###,###,##0.00000", br), QString("0,00000"));
    EXPECT_EQ(formatNumber(-2.5, "###,##0.00000", br), QString("-2,50000"));
    EXPECT_EQ(formatNumber(1234567.25, "#,###,##0.000000", br), QString("1.234.567,250000"));
    EXPECT_EQ(formatNumber(1234.5, "###,###,##0.00000", QLocale::c()), QString("1,234.50000"));
}

TEST(NumberFormat, SqlNumbersUseAPointAndFourDecimals)
{
    EXPECT_EQ(sqlNumber4(1.23456), QString("1.2346"));
    EXPECT_EQ(sqlNumber4(-2.5), QString("-2.5000"));
    EXPECT_EQ(sqlNumber4(1234567.5), QString("1234567.5000")); // no grouping
    EXPECT_EQ(sqlNumber4(-0.00001), QString("0.0000"));      // no minus sign on a zero
}

TEST(Cnpj, ChecksNumericAndAlphanumericCheckDigits)
{
    EXPECT_EQ(checkCnpj("11222333000181"), CnpjCheck::Valid);
    EXPECT_EQ(checkCnpj("12ABC34501DE35"), CnpjCheck::Valid);
    EXPECT_EQ(checkCnpj("00000000000191"), CnpjCheck::Valid);
    EXPECT_EQ(checkCnpj("11222333000182"), CnpjCheck::WrongCheckDigits);
    EXPECT_EQ(checkCnpj("12ABC34501DE53"), CnpjCheck::WrongCheckDigits);
    EXPECT_EQ(checkCnpj("12abc34501de35"), CnpjCheck::Malformed); // capitals only
    EXPECT_EQ(checkCnpj("12ABC34501DE3X"), CnpjCheck::Malformed); // check digits are digits
    EXPECT_EQ(checkCnpj("1122233300018"), CnpjCheck::Malformed);
    EXPECT_EQ(checkCnpj(QString::fromUtf8("12ÁBC34501DE35")), CnpjCheck::Malformed);
    EXPECT_EQ(cnpjCheckDigits("12ABC34501DE"), QString("35"));
    EXPECT_FALSE(cnpjCheckDigits("12ABC34501D").has_value());
}

TEST(Cnpj, FormatsByPositionAndReadsTypedForms)
{
    EXPECT_EQ(formatCnpj("12ABC34501DE35"), QString("12.ABC.345/01DE-35"));
    EXPECT_EQ(formatCnpj("11222333000181"), QString("11.222.333/0001-81"));
    EXPECT_EQ(normalizedCnpj(" 12.abc.345/01de-35 "), QString("12ABC34501DE35"));
    EXPECT_EQ(normalizedCnpj("11.222.333/0001-81"), QString("11222333000181"));
}
