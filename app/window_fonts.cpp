#include "app/window_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace livros::app {

QFont pixelFont(const QString& family, int pixelSize, bool bold)
{
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont listingFont()
{
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Consolas")))
        font.setFamily(QStringLiteral("Consolas"));
    else
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    return font;
}

} // namespace livros::app
