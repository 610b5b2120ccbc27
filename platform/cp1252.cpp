#include "platform/cp1252.h"

#include <QStringDecoder>

namespace livros {
namespace {

// 0x80..0x9F; 0 marks the five positions the code page leaves undefined (kept as C1 controls).
constexpr char16_t kHigh[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

int encode(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u)
            return 0x80 + i;
        if (kHigh[i] == 0 && u == 0x80 + i)
            return u;
    }
    return -1;
}

} // namespace

bool representableInCp1252(QChar c) { return encode(c.unicode()) >= 0; }

QByteArray toCp1252(QStringView text)
{
    QByteArray out;
    out.resize(text.size());
    char* p = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = encode(text[i].unicode());
        p[i] = static_cast<char>(b >= 0 ? b : '?');
    }
    return out;
}

QString fromCp1252(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* q = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        char16_t u = b;
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
            u = kHigh[b - 0x80];
        q[i] = QChar(u);
    }
    return out;
}

QString fromUtf8OrCp1252(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return fromCp1252(bytes);
}

} // namespace livros
