#include "report/report_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace livros::report {

QSizeF LaidOutReport::pageSizeDots() const
{
    const QSizeF mm = pageLayout.fullRect(QPageLayout::Millimeter).size();
    return mm / 25.4 * kLayoutDpi;
}

namespace {

void drawLines(QPainter& painter, const PageElement& e, const QStringList& lines)
{
    painter.setFont(e.font);
    painter.setPen(QPen(Qt::black));
    const Qt::Alignment horizontal = e.align & Qt::AlignHorizontal_Mask;
    const int flags = Qt::TextDontClip | Qt::TextSingleLine;
    if (lines.size() == 1) {
        painter.drawText(e.rect, flags | int(e.align), lines.first());
        return;
    }
    for (int i = 0; i < lines.size(); ++i) {
        const QRectF lineRect(e.rect.left(), e.rect.top() + i * e.lineHeight, e.rect.width(), e.lineHeight);
        painter.drawText(lineRect, flags | int(horizontal) | Qt::AlignVCenter, lines.at(i));
    }
}

QPen strokePen(double width)
{
    if (width <= 0)
        return QPen(Qt::NoPen);
    QPen pen(Qt::black);
    pen.setWidthF(width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

} // namespace

void paintPage(QPainter& painter, const LaidOutReport& report, int pageIndex, double deviceDpi, double scale)
{
    if (pageIndex < 0 || pageIndex >= report.pageCount())
        return;
    painter.save();
    const double factor = deviceDpi / kLayoutDpi * scale;
    painter.scale(factor, factor);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QString pageText = QString::number(report.pageNumber(pageIndex));
    // "{pages}" is the number of the last page: the count when numbering starts at 1.
    const QString pagesText = QString::number(report.pageNumber(report.pageCount() - 1));
    for (const PageElement& e : report.pages[size_t(pageIndex)].elements) {
        switch (e.kind) {
        case PageElement::Kind::Text:
            drawLines(painter, e, e.lines);
            break;
        case PageElement::Kind::PageText: {
            QString text = e.pageTemplate;
            text.replace(pageMarker(), pageText);
            text.replace(pagesMarker(), pagesText);
            drawLines(painter, e, {text});
            break;
        }
        case PageElement::Kind::Line:
            painter.setPen(strokePen(e.pen));
            painter.drawLine(e.line);
            break;
        case PageElement::Kind::Box:
            painter.setPen(strokePen(e.pen));
            painter.setBrush(e.fill.isValid() ? QBrush(e.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(e.rect);
            painter.setBrush(Qt::NoBrush);
            break;
        }
    }
    painter.restore();
}

bool paintDocument(const LaidOutReport& report, QPagedPaintDevice& device, const PageCallback& onPage, double scale,
                   int firstPage, int lastPage)
{
    const int first = std::max(1, firstPage);
    const int last = lastPage <= 0 ? report.pageCount() : std::min(lastPage, report.pageCount());
    QPageLayout layout = report.pageLayout;
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF());
    device.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double dpi = device.logicalDpiX();
    for (int i = first - 1; i < last; ++i) {
        if (i > first - 1)
            device.newPage();
        paintPage(painter, report, i, dpi, scale);
        if (onPage)
            onPage(i + 1);
    }
    return painter.end();
}

} // namespace livros::report
