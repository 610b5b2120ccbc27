#pragma once
#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

namespace livros::report {

// A report after the first pass: every page with every text already broken into lines and
// every position fixed, in dots of 1/300 inch from the page's top left corner. Only the page
// number and page count are filled in when a page is painted (the second pass), once the count
// is known. The same document is painted into a PDF file, onto a printer and into the preview,
// so that all three show the same page breaks.
constexpr double kLayoutDpi = 300.0;

inline double cmToDots(double cm) { return cm / 2.54 * kLayoutDpi; }
inline double pointsToDots(double pt) { return pt / 72.0 * kLayoutDpi; }

struct PageElement {
    enum class Kind { Text, PageText, Line, Box };
    Kind kind = Kind::Text;
    QRectF rect;
    QLineF line;
    // Text: the lines, each drawn in `lineHeight`; alignment within the rectangle.
    QStringList lines;
    // PageText: one line with "{page}" and "{pages}" markers still to be filled in.
    QString pageTemplate;
    QFont font;
    double lineHeight = 0;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    double pen = 0;  // dots
    QColor fill;
};

struct LaidOutPage {
    std::vector<PageElement> elements;
};

struct LaidOutReport {
    QString reportName;
    QString title;
    QPageLayout pageLayout; // page size and orientation; margins are already in the positions
    std::vector<LaidOutPage> pages;
    int firstPageNumber = 1; // the number "{page}" prints on the first page

    // The number printed on the page of that index (from 0).
    int pageNumber(int pageIndex) const { return firstPageNumber + pageIndex; }

    int pageCount() const { return int(pages.size()); }
    // The page's size in dots.
    QSizeF pageSizeDots() const;
};

// Markers of a PageText template: replaced at paint time.
inline QString pageMarker() { return QStringLiteral("\x01P\x01"); }
inline QString pagesMarker() { return QStringLiteral("\x01N\x01"); }

} // namespace livros::report
