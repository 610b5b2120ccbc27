#include "app/masked_date_text.h"

namespace livros::app::masked_date {

namespace {
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isSlashPosition(int i) { return i == 2 || i == 5; }
} // namespace

QString emptyText() { return QStringLiteral("  /  /  "); }

QString fromDisplay(const QString& display)
{
    QString text = emptyText();
    for (int i = 0; i < kLength && i < display.size(); ++i) {
        if (!isSlashPosition(i) && isDigit(display.at(i)))
            text[i] = display.at(i);
    }
    return text;
}

bool yearTyped(const QString& text)
{
    return text.size() >= kLength && isDigit(text.at(6)) && isDigit(text.at(7));
}

bool isEmpty(const QString& text) { return fromDisplay(text) == emptyText(); }

} // namespace livros::app::masked_date
