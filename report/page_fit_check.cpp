#include "report/page_fit_check.h"

#include "report/project_loader.h"
#include "report/report_error.h"

#include <QPageLayout>
#include <QRectF>
#include <algorithm>

namespace livros::report {

namespace {

// The least room, in centimetres, a page keeps for the lines between its margins, page header
// and page footer.
constexpr double kLeastBodyRoom = 1.0;

// The page's width and height in centimetres, in its orientation.
QSizeF pageSizeCm(const PageSetup& page)
{
    return QPageLayout(page.size, page.orientation, QMarginsF()).fullRect(QPageLayout::Millimeter).size() / 10.0;
}

QString cm(double value)
{
    return QString::number(value, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral(" cm");
}

// How far right an item reaches from the left margin, in centimetres.
double rightEdge(const ReportItem& item)
{
    if (item.kind == ItemKind::Line)
        return std::max(item.x, item.x2);
    return item.x + item.width;
}

// How tall a band is at least: its height or its lowest item.
double bandExtent(const Band& band)
{
    if (!band.present)
        return 0;
    double bottom = band.height;
    for (const ReportItem& item : band.items)
        bottom = std::max(bottom, item.kind == ItemKind::Line ? std::max(item.y, item.y2) : item.y + item.height);
    return bottom;
}

void checkItemsOnPaper(const Band& band, double room, const QString& path)
{
    for (const ReportItem& item : band.items) {
        if (rightEdge(item) > room + 0.005)
            throw ReportError(projectErrorMessage(path, item.place,
                QStringLiteral("passa da borda direita do papel: vai até %1 da margem esquerda, e o papel só tem %2 depois dela")
                    .arg(cm(rightEdge(item)), cm(room))));
    }
}

} // namespace

void checkReportFitsPage(const ReportDefinition& report, const QString& path)
{
    const QSizeF paper = pageSizeCm(report.page);
    const QMarginsF margins = report.page.margins.value_or(QMarginsF());
    const QString marginsPlace = report.place + QStringLiteral(".page.margins");
    if (margins.left() + margins.right() > paper.width() - kLeastBodyRoom)
        throw ReportError(projectErrorMessage(path, marginsPlace,
            QStringLiteral("as margens esquerda e direita (%1) não deixam espaço na largura da página (%2)")
                .arg(cm(margins.left() + margins.right()), cm(paper.width()))));
    const double bodyHeight = paper.height() - margins.top() - margins.bottom();
    if (bodyHeight < kLeastBodyRoom)
        throw ReportError(projectErrorMessage(path, marginsPlace,
            QStringLiteral("as margens de cima e de baixo (%1) não deixam espaço na altura da página (%2)")
                .arg(cm(margins.top() + margins.bottom()), cm(paper.height()))));

    const double room = paper.width() - margins.left();
    for (const Band* band : {&report.pageHeader, &report.detail, &report.pageFooter, &report.summary, &report.noData})
        checkItemsOnPaper(*band, room, path);
    for (const GroupDef& group : report.groups) {
        checkItemsOnPaper(group.header, room, path);
        checkItemsOnPaper(group.footer, room, path);
    }

    const double frame = bandExtent(report.pageHeader) + bandExtent(report.pageFooter);
    if (frame > bodyHeight - kLeastBodyRoom)
        throw ReportError(projectErrorMessage(path, report.place,
            QStringLiteral("o cabeçalho e o rodapé da página (pageHeader e pageFooter, %1) não deixam espaço para as linhas "
                           "entre as margens (%2)")
                .arg(cm(frame), cm(bodyHeight))));
}

} // namespace livros::report
