#pragma once
#include "report/laid_out_report.h"

#include <QString>
#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace livros::report {

// Called with the number of each page as it is generated or printed (from 1).
using PageCallback = std::function<void(int page)>;

// Paints one page (index from 0) with the painter's origin at the page's top left corner;
// `deviceDpi` is the resolution of the painter's device and `scale` the engine's scale (1 = 100%).
void paintPage(QPainter& painter, const LaidOutReport& report, int pageIndex, double deviceDpi, double scale = 1.0);

// Paints every page onto a paged device (a PDF writer, a printer): page size and orientation are
// set from the report, the device's own margins to zero (the layout carries its margins).
// Pages `firstPage` to `lastPage` (from 1; 0: to the end). Returns false when the device cannot
// be painted on (a printer that is not ready...).
bool paintDocument(const LaidOutReport& report, QPagedPaintDevice& device, const PageCallback& onPage = {},
                   double scale = 1.0, int firstPage = 1, int lastPage = 0);

} // namespace livros::report
