#include "report/report_generator.h"

#include "report/band_layout.h"
#include "report/project_loader.h"
#include "report/report_binding.h"
#include "report/report_error.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <numeric>

namespace livros::report {
namespace {

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

int compareValues(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return int(b.isNull()) - int(a.isNull()); // nulls first
    if (isNumber(a) && isNumber(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    // Dates compare as dates: a detour through QDateTime would consult the time zone per call.
    if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate) {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime) {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return a.toString().trimmed().compare(b.toString().trimmed());
}

// The rows of the report's connection in the order of the report's sort keys; rows equal in
// every key keep the connection's order. The keys are read once per row before sorting.
std::vector<int> sortedRows(const ReportDefinition& report, const ReportBinding& binding)
{
    const int count = binding.master().rowCount();
    std::vector<int> rows(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    if (report.sort.empty())
        return rows;

    struct Key {
        QVariant value;
        qsizetype rank = 0; // position in the key's code order
        bool descending = false;
    };
    const size_t keyCount = report.sort.size();
    std::vector<Key> keys(size_t(count) * keyCount);
    for (size_t k = 0; k < keyCount; ++k) {
        const SortKey& key = report.sort[k];
        const FieldRef field = binding.masterField(key.field, key.place);
        for (int row = 0; row < count; ++row) {
            Key& cell = keys[size_t(row) * keyCount + k];
            cell.value = binding.value(field, row);
            if (!key.order.isEmpty()) {
                const qsizetype i = key.order.indexOf(cell.value.toString().trimmed());
                cell.rank = i < 0 ? key.order.size() : i;
            }
            cell.descending = key.descendingWhen ? binding.test(*key.descendingWhen, row) : key.descending;
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        for (size_t k = 0; k < keyCount; ++k) {
            const Key& ka = keys[size_t(a) * keyCount + k];
            const Key& kb = keys[size_t(b) * keyCount + k];
            int c = ka.rank < kb.rank ? -1 : (ka.rank > kb.rank ? 1 : 0);
            if (c == 0)
                c = compareValues(ka.value, kb.value);
            if (ka.descending)
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    return rows;
}

// The least of a tall band kept on a page with its group header (1 cm).
const double kKeepWithHeader = cmToDots(1.0);

class Paginator {
public:
    Paginator(const QString& file, const ReportDefinition& report, const ReportBinding& binding,
              const GenerateOptions& options, LaidOutReport& out)
        : m_file(file), m_report(report), m_binding(binding), m_options(options), m_out(out),
          m_bands(report, binding, options.today, cmToDots(report.page.margins.value_or(options.defaultMargins).left()))
    {
        const QSizeF page = out.pageSizeDots();
        const QMarginsF margins = report.page.margins.value_or(options.defaultMargins);
        m_top = cmToDots(margins.top());
        m_bottom = page.height() - cmToDots(margins.bottom());
        m_footerTop = m_bottom - (report.pageFooter.present ? cmToDots(report.pageFooter.height) : 0);
        for (const GroupDef& group : report.groups) {
            std::vector<FieldRef> fields;
            for (const QString& f : group.breakOn)
                fields.push_back(binding.masterField(f, group.place));
            m_breakFields.push_back(fields);
        }
        m_open.assign(report.groups.size(), false);
    }

    void run(const std::vector<int>& rows)
    {
        if (rows.empty()) {
            startPage(-1);
            placeBody(m_report.noData, -1);
            placeBody(m_report.summary, -1);
            finishPage();
            return;
        }
        const int groups = int(m_report.groups.size());
        startPage(rows.front());
        for (size_t i = 0; i < rows.size(); ++i) {
            const int row = rows[i];
            const int level = i == 0 ? 0 : firstBreak(rows[i - 1], row);
            if (i > 0) {
                for (int l = groups - 1; l >= level; --l)
                    closeGroup(l, rows[i - 1]);
            }
            const LaidOutBand detail = m_bands.layout(m_report.detail, row);
            for (int l = level; l < groups; ++l)
                openGroup(l, row, detail.height);
            placeFlowing(detail, row, m_report.detail.place);
            m_lastLine = m_lastPiece;
            m_lastLine.row = row;
            m_lastRow = row;
        }
        for (int l = groups - 1; l >= 0; --l)
            closeGroup(l, m_lastRow);
        placeKeptWithLastLine(m_report.summary, m_lastRow);
        finishPage();
    }

private:
    int firstBreak(int previous, int row) const
    {
        for (size_t l = 0; l < m_breakFields.size(); ++l) {
            for (const FieldRef& f : m_breakFields[l]) {
                if (m_binding.keyText(f, previous) != m_binding.keyText(f, row))
                    return int(l);
            }
        }
        return int(m_breakFields.size());
    }

    void openGroup(int level, int row, double detailHeight)
    {
        const GroupDef& group = m_report.groups[size_t(level)];
        if (group.newPage && m_hasBody) {
            finishPage();
            startPage(row);
        }
        if (group.header.present) {
            const LaidOutBand header = m_bands.layout(group.header, row);
            // A header stays with the first line of its group (with the start of a group's first
            // band when that band is taller than a page and continues on the next ones).
            needRoom(header.height + std::min(detailHeight, kKeepWithHeader), row);
            if (header.height > m_footerTop - m_y + 0.5)
                placeFlowing(header, row, group.header.place);
            else
                place(header);
        }
        m_open[size_t(level)] = true;
    }

    void closeGroup(int level, int row)
    {
        if (!m_open[size_t(level)])
            return;
        placeKeptWithLastLine(m_report.groups[size_t(level)].footer, row);
        m_open[size_t(level)] = false;
    }

    // A band that closes what the lines said (a group footer, the summary) and does not fit below
    // them takes the last line with it to the next page, so that no page (a numbered sheet of a
    // book) carries headers and totals without any line; unless that line is the first of its
    // page, or the two would not fit on a page together.
    void placeKeptWithLastLine(const Band& band, int row)
    {
        if (!band.present)
            return;
        const LaidOutBand laid = m_bands.layout(band, row);
        auto& elements = m_out.pages.back().elements;
        const bool lastLineHere = m_lastLine.page == m_out.pageCount() - 1 && m_lastLine.top > m_bodyTop + 0.5
                                  && m_lastLine.elementStart <= elements.size();
        if (m_y + laid.height > m_footerTop + 0.5 && lastLineHere
            && m_lastLine.band.height + laid.height <= m_footerTop - m_bodyTop + 0.5) {
            elements.erase(elements.begin() + qsizetype(m_lastLine.elementStart), elements.end());
            m_y = m_lastLine.top;
            finishPage();
            startPage(m_lastLine.row);
            const LaidOutBand line = m_lastLine.band;
            const int lineRow = m_lastLine.row;
            placeFlowing(line, lineRow, m_report.detail.place);
            m_lastLine = m_lastPiece;
            m_lastLine.row = lineRow;
        }
        placeFlowing(laid, row, band.place);
    }

    void placeBody(const Band& band, int row)
    {
        if (!band.present)
            return;
        placeFlowing(m_bands.layout(band, row), row, band.place);
    }

    // Places a band of the body: on a new page when it does not fit below what the page holds;
    // a band taller than a whole page body is cut, filling this page and going on on the next
    // ones, so that nothing is printed over the page footer. A band with a part that no page
    // could hold (a line taller than the room between headers and footer) is refused rather
    // than printed off the paper.
    void placeFlowing(LaidOutBand band, int row, const QString& bandPlace)
    {
        if (band.height <= m_footerTop - m_bodyTop + 0.5) {
            needRoom(band.height, row);
        } else if (m_hasBody && m_footerTop - m_y < kKeepWithHeader) {
            finishPage();
            startPage(row);
        }
        while (m_y + band.height > m_footerTop + 0.5) {
            auto [head, tail] = splitBand(band, m_footerTop - m_y);
            if (head.elements.empty() && !m_hasBody && tail.height >= band.height - 0.5)
                fail(bandPlace, QStringLiteral("a faixa não cabe na página: uma parte dela é mais alta que o espaço entre "
                                           "o cabeçalho e o rodapé (%1 cm)")
                                .arg(QString::number(std::max(0.0, m_footerTop - m_y) / cmToDots(1), 'f', 1)
                                         .replace(QLatin1Char('.'), QLatin1Char(','))));
            place(head);
            m_hasBody = true;
            finishPage();
            startPage(row);
            band = std::move(tail);
        }
        m_lastPiece = {m_out.pageCount() - 1, m_out.pages.back().elements.size(), m_y, band, row};
        place(band);
        m_hasBody = true;
    }

    [[noreturn]] void fail(const QString& place, const QString& problem) const
    {
        throw ReportError(projectErrorMessage(m_file, place, problem));
    }

    // Goes on on a new page when the band does not fit below what the page holds; a page with
    // nothing but its headers takes the band anyway (it would fit no better on the next one).
    void needRoom(double height, int row)
    {
        if (m_y + height <= m_footerTop + 0.5 || !m_hasBody)
            return;
        finishPage();
        startPage(row);
    }

    void startPage(int row)
    {
        m_out.pages.emplace_back();
        m_y = m_top;
        m_pageRow = row;
        if (m_report.pageHeader.present)
            place(m_bands.layout(m_report.pageHeader, row));
        for (size_t l = 0; l < m_open.size(); ++l) {
            const GroupDef& group = m_report.groups[l];
            if (m_open[l] && group.repeatHeader && group.header.present)
                place(m_bands.layout(group.header, row));
        }
        m_bodyTop = m_y;
        m_hasBody = false;
        if (m_bodyTop > m_footerTop - 0.5)
            fail(m_report.pageHeader.present ? m_report.pageHeader.place : m_report.place,
                 QStringLiteral("as margens, os cabeçalhos e o rodapé não deixam espaço para as linhas na página"));
    }

    void finishPage()
    {
        if (m_report.pageFooter.present) {
            const int row = m_hasBody && m_lastRow >= 0 ? m_lastRow : m_pageRow;
            LaidOutBand footer = m_bands.layout(m_report.pageFooter, row);
            placeAt(footer, std::min(m_footerTop, m_bottom - footer.height));
        }
        if (m_options.onPage)
            m_options.onPage(m_out.pageCount());
    }

    void place(const LaidOutBand& band)
    {
        placeAt(band, m_y);
        m_y += band.height;
    }

    void placeAt(const LaidOutBand& band, double top)
    {
        auto& elements = m_out.pages.back().elements;
        for (PageElement e : band.elements) {
            e.rect.translate(0, top);
            e.line.translate(0, top);
            elements.push_back(std::move(e));
        }
    }

    const QString& m_file;
    const ReportDefinition& m_report;
    const ReportBinding& m_binding;
    const GenerateOptions& m_options;
    LaidOutReport& m_out;
    BandLayouter m_bands;
    std::vector<std::vector<FieldRef>> m_breakFields;
    std::vector<bool> m_open;
    double m_top = 0, m_bottom = 0, m_footerTop = 0, m_y = 0;
    double m_bodyTop = 0; // where the body of the current page starts, below its headers
    bool m_hasBody = false;
    // The last piece a flowing band placed, and the last detail line: where it starts, to take
    // it to the next page with a footer that does not fit.
    struct PlacedPiece {
        int page = -1;
        size_t elementStart = 0;
        double top = 0;
        LaidOutBand band;
        int row = -1;
    };
    PlacedPiece m_lastPiece;
    PlacedPiece m_lastLine;
    int m_lastRow = -1;
    int m_pageRow = -1;
};

} // namespace

LaidOutReport generateReport(const ReportProject& project, const ReportDefinition& report,
                             const ConnectionSet& connections, const GenerateOptions& options)
{
    // The run's page label and first page number take the place of the report's.
    ReportDefinition numbered = report;
    numbered.pageLabel = options.pageLabel.value_or(report.pageLabel);
    numbered.firstPage = options.firstPage.value_or(report.firstPage);
    const ReportDefinition& definition = numbered;

    ReportBinding binding(project, definition, connections);
    ConnectionSession session(binding.sources());
    binding.checkFields();

    LaidOutReport out;
    out.reportName = definition.name;
    out.title = definition.title;
    out.firstPageNumber = definition.firstPage;
    out.pageLayout = QPageLayout(definition.page.size, definition.page.orientation, QMarginsF());
    Paginator paginator(project.filePath, definition, binding, options, out);
    paginator.run(sortedRows(definition, binding));
    return out;
}

} // namespace livros::report
