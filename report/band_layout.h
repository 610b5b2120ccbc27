#pragma once
#include "report/laid_out_report.h"
#include "report/report_binding.h"
#include "report/report_model.h"

#include <QDate>
#include <QFont>
#include <QHash>
#include <utility>
#include <vector>

namespace livros::report {

// The font of a report item at the layout resolution: its size in dots, so that measuring and
// painting agree on every device.
QFont reportFont(const FontSpec& fontSpec);

// Breaks a text into the lines that fit the width (dots) with the font, at word boundaries
// where possible; an empty text is one empty line.
QStringList wrapText(const QString& text, const QFont& font, double width);

// One band laid out for one row: elements relative to the band's top, x from the page's left
// edge; the height grows to hold wrapped texts.
struct LaidOutBand {
    double height = 0;
    std::vector<PageElement> elements;
};

// Cuts a laid-out band at `at` (dots from its top), for a band taller than the room left on a
// page: what lies above stays in the first part, a text crossing the cut keeps the lines that
// fit and its other lines go on in the second part, which starts at 0 with everything below
// the cut. Boxes and vertical rules crossing the cut are drawn in both parts.
std::pair<LaidOutBand, LaidOutBand> splitBand(const LaidOutBand& band, double at);

class BandLayouter {
public:
    BandLayouter(const ReportDefinition& report, const ReportBinding& binding, QDate today, double leftDots);
    LaidOutBand layout(const Band& band, int masterRow) const;

private:
    struct FontInfo {
        QFont font;
        double lineHeight = 0;
    };
    QString itemText(const ReportItem& item, int masterRow, bool* pageDependent) const;
    // Each distinct font of the report is made once.
    const FontInfo& fontFor(const FontSpec& fontSpec) const;

    const ReportDefinition& m_report;
    const ReportBinding& m_binding;
    QDate m_today;
    double m_left;
    mutable QHash<QString, FontInfo> m_fonts;
};

} // namespace livros::report
