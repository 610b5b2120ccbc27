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
    // The listing's columns line up only in a fixed-pitch face. The generic "monospace" may resolve
    // to a face Qt does not report as fixed (Noto Sans Mono, once installed), so name the faces.
    QFont font;
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("Consolas")))
        font.setFamily(QStringLiteral("Consolas"));
    else if (families.contains(QStringLiteral("DejaVu Sans Mono")))
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
    else
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    return font;
}

} // namespace livros::app
