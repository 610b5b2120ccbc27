#include "report/band_layout.h"

#include "report/value_format.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace livros::report {

QFont reportFont(const FontSpec& fontSpec)
{
    QFont font(fontSpec.family);
    font.setPixelSize(std::max(1, int(std::lround(pointsToDots(fontSpec.size)))));
    font.setBold(fontSpec.bold);
    font.setItalic(fontSpec.italic);
    font.setUnderline(fontSpec.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    // No kerning, so that widths measured here are the widths painted on any device, and no
    // ligatures: "fi" must stay two letters for whoever searches or copies the PDF's text.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QStringList wrapText(const QString& text, const QFont& font, double width)
{
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            lines.append(QString());
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(width);
            lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
    }
    if (lines.isEmpty())
        lines.append(QString());
    return lines;
}

namespace {

// The smallest a one-line text is shrunk to, relative to its font, before it wraps instead.
constexpr double kSmallestShrink = 0.6;

// A one-line text wider than its column: the font shrunk until the text fits, or, when even
// the smallest size would not hold it, the text wrapped within the column at that size. Nothing
// is ever painted over the neighbouring column.
QStringList fitToWidth(const QString& text, double width, QFont& font, double& lineHeight)
{
    if (QFontMetricsF(font).horizontalAdvance(text) <= width)
        return QStringList{text};
    const int fullSize = font.pixelSize();
    const int smallest = std::max(1, int(std::ceil(fullSize * kSmallestShrink)));
    for (int size = fullSize - 1; size >= smallest; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            break;
    }
    lineHeight = QFontMetricsF(font).lineSpacing();
    if (QFontMetricsF(font).horizontalAdvance(text) <= width)
        return QStringList{text};
    return wrapText(text, font, width);
}

} // namespace

namespace {

double topOf(const PageElement& e)
{
    return e.kind == PageElement::Kind::Line ? std::min(e.line.y1(), e.line.y2()) : e.rect.top();
}

// Texts that came out taller than their items (wrapped onto more lines) push down whatever lies
// below them in the band, so that a wrapped text never covers the row under it; a box around
// such texts grows with them.
void flowBelowGrownTexts(std::vector<PageElement>& elements, const std::vector<double>& growth)
{
    const size_t count = elements.size();
    if (std::none_of(growth.begin(), growth.end(), [](double g) { return g > 0.5; }))
        return;
    const auto nominalBottom = [&](size_t i) {
        const PageElement& e = elements[i];
        return e.kind == PageElement::Kind::Line ? std::max(e.line.y1(), e.line.y2()) : e.rect.bottom() - growth[i];
    };
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return topOf(elements[a]) < topOf(elements[b]); });
    std::vector<double> shift(count, 0);
    for (size_t a = 0; a < count; ++a) {
        const size_t i = order[a];
        for (size_t b = 0; b < a; ++b) {
            const size_t j = order[b];
            if (shift[j] + growth[j] > 0.5 && nominalBottom(j) <= topOf(elements[i]) + 0.5)
                shift[i] = std::max(shift[i], shift[j] + growth[j]);
        }
    }
    for (size_t i = 0; i < count; ++i) {
        PageElement& e = elements[i];
        if (e.kind != PageElement::Kind::Box)
            continue;
        double extra = 0;
        for (size_t k = 0; k < count; ++k) {
            const double top = topOf(elements[k]);
            if (k != i && growth[k] + shift[k] > 0.5 && top >= e.rect.top() && top < e.rect.bottom())
                extra = std::max(extra, shift[k] + growth[k] - shift[i]);
        }
        e.rect.setBottom(e.rect.bottom() + extra);
    }
    for (size_t i = 0; i < count; ++i) {
        elements[i].rect.translate(0, shift[i]);
        elements[i].line.translate(0, shift[i]);
    }
}

} // namespace

std::pair<LaidOutBand, LaidOutBand> splitBand(const LaidOutBand& band, double at)
{
    LaidOutBand first;
    LaidOutBand rest;
    first.height = at;
    rest.height = std::max(0.0, band.height - at);
    const auto toRest = [&](PageElement e, double top) {
        const double dy = std::max(0.0, top) - e.rect.top();
        e.rect.translate(0, dy);
        rest.height = std::max(rest.height, e.rect.bottom());
        rest.elements.push_back(std::move(e));
    };
    for (const PageElement& e : band.elements) {
        switch (e.kind) {
        case PageElement::Kind::Text:
        case PageElement::Kind::PageText: {
            if (e.rect.bottom() <= at) {
                first.elements.push_back(e);
                break;
            }
            const int fit = e.lineHeight > 0 ? int(std::floor((at - e.rect.top()) / e.lineHeight + 1e-6)) : 0;
            if (e.kind == PageElement::Kind::Text && e.lines.size() > 1 && fit >= 1) {
                PageElement head = e;
                head.lines = e.lines.mid(0, fit);
                head.rect.setHeight(fit * e.lineHeight);
                first.elements.push_back(std::move(head));
                PageElement tail = e;
                tail.lines = e.lines.mid(fit);
                tail.rect.setHeight(tail.lines.size() * e.lineHeight);
                toRest(std::move(tail), 0);
            } else {
                toRest(e, e.rect.top() - at);
            }
            break;
        }
        case PageElement::Kind::Line: {
            const double top = std::min(e.line.y1(), e.line.y2());
            const double bottom = std::max(e.line.y1(), e.line.y2());
            if (bottom <= at) {
                first.elements.push_back(e);
            } else if (top >= at) {
                PageElement moved = e;
                moved.line.translate(0, -at);
                rest.height = std::max(rest.height, bottom - at);
                rest.elements.push_back(std::move(moved));
            } else { // a vertical rule crossing the cut
                PageElement head = e;
                head.line = QLineF(e.line.x1(), top, e.line.x2(), at);
                first.elements.push_back(std::move(head));
                PageElement tail = e;
                tail.line = QLineF(e.line.x1(), 0, e.line.x2(), bottom - at);
                rest.elements.push_back(std::move(tail));
            }
            break;
        }
        case PageElement::Kind::Box:
            if (e.rect.bottom() <= at) {
                first.elements.push_back(e);
            } else if (e.rect.top() >= at) {
                toRest(e, e.rect.top() - at);
            } else {
                PageElement head = e;
                head.rect.setBottom(at);
                first.elements.push_back(std::move(head));
                PageElement tail = e;
                tail.rect = QRectF(e.rect.left(), 0, e.rect.width(), e.rect.bottom() - at);
                rest.elements.push_back(std::move(tail));
            }
            break;
        }
    }
    return {std::move(first), std::move(rest)};
}

BandLayouter::BandLayouter(const ReportDefinition& report, const ReportBinding& binding, QDate today, double leftDots)
    : m_report(report), m_binding(binding), m_today(today), m_left(leftDots)
{
}

const BandLayouter::FontInfo& BandLayouter::fontFor(const FontSpec& fontSpec) const
{
    const QString key = QStringLiteral("%1|%2|%3%4%5").arg(fontSpec.family).arg(fontSpec.size).arg(int(fontSpec.bold)).arg(int(fontSpec.italic)).arg(int(fontSpec.underline));
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        FontInfo info;
        info.font = reportFont(fontSpec);
        info.lineHeight = QFontMetricsF(info.font).lineSpacing();
        it = m_fonts.insert(key, info);
    }
    return *it;
}

QString BandLayouter::itemText(const ReportItem& item, int masterRow, bool* pageDependent) const
{
    *pageDependent = false;
    if (item.kind == ItemKind::Field)
        return formatFieldValue(m_binding.value(item.field, masterRow), m_binding.displayText(item.field, masterRow), item.format);
    QString text;
    for (const TextPart& part : item.parts) {
        switch (part.kind) {
        case TextPart::Kind::Literal: text += part.text; break;
        case TextPart::Kind::Field: {
            const QString value = formatFieldValue(m_binding.value(part.field, masterRow),
                                                   m_binding.displayText(part.field, masterRow), ValueFormat());
            if (!value.isEmpty())
                text += part.prefix + value + part.suffix;
            break;
        }
        case TextPart::Kind::Page: text += pageMarker(); *pageDependent = true; break;
        case TextPart::Kind::Pages: text += pagesMarker(); *pageDependent = true; break;
        case TextPart::Kind::PageLabel: {
            QString label = m_report.pageLabel;
            text += label.replace(QLatin1String("{pages}"), pagesMarker()).replace(QLatin1String("{page}"), pageMarker());
            *pageDependent = true;
            break;
        }
        case TextPart::Kind::Date: text += m_today.toString(QStringLiteral("dd/MM/yyyy")); break;
        }
    }
    return text;
}

LaidOutBand BandLayouter::layout(const Band& band, int masterRow) const
{
    LaidOutBand out;
    const FontSpec bandFont = band.font.applyTo(m_report.font);
    std::vector<size_t> stretched;
    std::vector<double> growth; // per element: how much taller a text came out than its item

    for (const ReportItem& item : band.items) {
        if (item.printWhen && !m_binding.test(*item.printWhen, masterRow))
            continue;
        PageElement e;
        const double x = m_left + cmToDots(item.x);
        const double y = cmToDots(item.y);
        switch (item.kind) {
        case ItemKind::Text:
        case ItemKind::Field: {
            const FontInfo& font = fontFor(item.font.applyTo(bandFont));
            e.font = font.font;
            e.lineHeight = font.lineHeight;
            e.align = item.align | item.valign;
            bool pageDependent = false;
            QString text = itemText(item, masterRow, &pageDependent);
            double width = cmToDots(item.width);
            if (item.wrap && !pageDependent) {
                e.lines = wrapText(text, e.font, width);
            } else {
                text.replace(QLatin1Char('\n'), QLatin1Char(' '));
                if (width <= 0)
                    width = QFontMetricsF(e.font).horizontalAdvance(text);
                if (pageDependent) {
                    e.kind = PageElement::Kind::PageText;
                    e.pageTemplate = text;
                } else {
                    e.lines = fitToWidth(text, width, e.font, e.lineHeight);
                }
            }
            const int lineCount = pageDependent ? 1 : int(e.lines.size());
            const double height = std::max(item.height > 0 ? cmToDots(item.height) : font.lineHeight, lineCount * e.lineHeight);
            e.rect = QRectF(x, y, width, height);
            if (lineCount > 1)
                e.align = item.align | Qt::AlignTop;
            growth.push_back(height - std::max(item.height > 0 ? cmToDots(item.height) : font.lineHeight, e.lineHeight));
            break;
        }
        case ItemKind::Line:
            e.kind = PageElement::Kind::Line;
            e.line = QLineF(x, y, m_left + cmToDots(item.x2), cmToDots(item.y2));
            e.pen = pointsToDots(item.pen);
            if (item.stretch)
                stretched.push_back(out.elements.size());
            growth.push_back(0);
            break;
        case ItemKind::Box:
            e.kind = PageElement::Kind::Box;
            e.rect = QRectF(x, y, cmToDots(item.width), cmToDots(item.height));
            e.pen = pointsToDots(item.pen);
            e.fill = item.fill;
            if (item.stretch)
                stretched.push_back(out.elements.size());
            growth.push_back(0);
            break;
        }
        out.elements.push_back(std::move(e));
    }
    flowBelowGrownTexts(out.elements, growth);
    out.height = cmToDots(band.height);
    for (size_t i = 0; i < out.elements.size(); ++i) {
        const PageElement& e = out.elements[i];
        if (std::find(stretched.begin(), stretched.end(), i) != stretched.end())
            continue;
        out.height = std::max(out.height, e.kind == PageElement::Kind::Line ? std::max(e.line.y1(), e.line.y2()) : e.rect.bottom());
    }
    // Boxes and vertical rules reach the bottom of the band as it finally is.
    for (size_t i : stretched) {
        PageElement& e = out.elements[i];
        if (e.kind == PageElement::Kind::Box)
            e.rect.setBottom(out.height);
        else
            e.line.setP2(QPointF(e.line.x2(), out.height));
    }
    return out;
}

} // namespace livros::report
