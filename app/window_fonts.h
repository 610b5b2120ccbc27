#pragma once
#include <QFont>

namespace livros::app {

// A font of the given family and pixel size.
QFont pixelFont(const QString& family, int pixelSize, bool bold = false);

// The listing's fixed-pitch font: "Consolas" where the system has it, else the system's
// fixed-pitch font, at 11 pixels.
QFont listingFont();

} // namespace livros::app
