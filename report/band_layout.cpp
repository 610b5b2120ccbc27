#include "report/band_layout.h"

#include "report/value_format.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <cmath>

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
    out.height = cmToDots(band.height);
    const FontSpec bandFont = band.font.applyTo(m_report.font);
    std::vector<size_t> stretched;

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
                    e.lines = QStringList{text};
                }
            }
            const int lineCount = pageDependent ? 1 : int(e.lines.size());
            const double height = std::max(item.height > 0 ? cmToDots(item.height) : e.lineHeight, lineCount * e.lineHeight);
            e.rect = QRectF(x, y, width, height);
            if (lineCount > 1)
                e.align = item.align | Qt::AlignTop;
            out.height = std::max(out.height, y + height);
            break;
        }
        case ItemKind::Line:
            e.kind = PageElement::Kind::Line;
            e.line = QLineF(x, y, m_left + cmToDots(item.x2), cmToDots(item.y2));
            e.pen = pointsToDots(item.pen);
            if (item.stretch)
                stretched.push_back(out.elements.size());
            else
                out.height = std::max(out.height, std::max(e.line.y1(), e.line.y2()));
            break;
        case ItemKind::Box:
            e.kind = PageElement::Kind::Box;
            e.rect = QRectF(x, y, cmToDots(item.width), cmToDots(item.height));
            e.pen = pointsToDots(item.pen);
            e.fill = item.fill;
            if (item.stretch)
                stretched.push_back(out.elements.size());
            else
                out.height = std::max(out.height, e.rect.bottom());
            break;
        }
        out.elements.push_back(std::move(e));
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
