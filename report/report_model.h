#pragma once
#include <QColor>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace livros::report {

// A report project as read from its file: positions and sizes in centimetres, font sizes in
// points. Every element keeps its place in the file ("reports[0].detail.items[3]") so that an
// error found while running can name it.

// A field of a named data connection. Fields of the report's own connection are read in the
// current row; fields of any other connection in its first row (the company record...).
struct FieldRef {
    QString connection;
    QString field;
    QString place;
};

// Prints an item only when a field's value (trimmed text) is, or is not, one of the values.
struct Condition {
    FieldRef field;
    QStringList values;
    bool negate = false;
};

struct FontSpec {
    QString family = QStringLiteral("DejaVu Sans");
    double size = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// What an item or band changes in the report's font.
struct FontOverride {
    std::optional<QString> family;
    std::optional<double> size;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    FontSpec applyTo(FontSpec base) const;
};

// How a field's value becomes text. Without any of these the connection's display text is used
// (which carries the dataset's display format).
struct ValueFormat {
    QString number;      // number picture: "###,###,##0.00000"; '#' after the point: optional digit
    QString date;        // date pattern: "dd/MM/yyyy"
    QString mask;        // '#' takes the next character of the value: "##.###.###/####-##"
    QHash<QString, QString> words; // code -> word ("E" -> "Entrada"); other codes print as they are
    QString prefix;
    QString suffix;
    bool blankWhenZero = false;
};

// A piece of a text item: fixed text, a field's display text, the page number, the page count,
// the report's page label or the date of the run. Written in the file as "Página {page} de {pages}",
// "{pagelabel}",
// "{RvDSDadosGer.CIDADE} - {RvDSDadosGer.ESTADO}". A field written as
// "{ - CEP <RvDSDadosGer.CEP>}" prints its text around the value only when the value is not empty.
struct TextPart {
    enum class Kind { Literal, Field, Page, Pages, PageLabel, Date };
    Kind kind = Kind::Literal;
    QString text;
    FieldRef field;
    QString prefix; // Field only: printed before and after a value that is not empty
    QString suffix;
};

enum class ItemKind { Text, Field, Line, Box };

struct ReportItem {
    ItemKind kind = ItemKind::Text;
    QString place;
    // Position in the band and size; a line goes from (x, y) to (x2, y2).
    double x = 0, y = 0, width = 0, height = 0;
    double x2 = 0, y2 = 0;
    FontOverride font;
    Qt::Alignment align = Qt::AlignLeft;
    Qt::Alignment valign = Qt::AlignVCenter;
    bool wrap = false;     // break into lines within the width; the band grows to hold them
    std::optional<Condition> printWhen;
    // Text
    std::vector<TextPart> parts;
    // Field
    FieldRef field;
    ValueFormat format;
    // Line and box
    double pen = 0.5;      // line width in points
    QColor fill;           // box fill; invalid: none
    bool stretch = false;  // a box or a vertical line reaches the bottom of the grown band
};

struct Band {
    bool present = false;
    QString place;
    double height = 0;
    FontOverride font;
    std::vector<ReportItem> items;
};

struct GroupDef {
    QString place;
    QString name;
    QStringList breakOn;       // fields of the report's connection; a change starts a new group
    bool newPage = false;      // each group starts on a new page
    bool repeatHeader = false; // the header is printed again at the top of a continued page
    Band header;
    Band footer;
};

struct SortKey {
    QString place;
    QString field;
    bool descending = false;
    QStringList order;                      // codes in this order first, then the rest
    std::optional<Condition> descendingWhen; // descending for rows that meet the condition
};

struct PageSetup {
    QPageSize size = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::optional<QMarginsF> margins; // centimetres; none: the engine's printer margins
};

struct ReportDefinition {
    QString place;
    QString name;
    QString title;
    PageSetup page;
    FontSpec font;
    QString connection;          // the connection whose rows the detail band prints
    std::vector<SortKey> sort;   // stable: rows equal in every key keep the connection's order
    std::vector<GroupDef> groups; // outermost first
    Band pageHeader;
    Band detail;
    Band pageFooter;
    Band summary;
    Band noData;                 // printed instead of the details when the connection has no rows
    // What "{pagelabel}" prints on each page ("{page}" and "{pages}" inside it are filled in), and
    // the number the first page gets ("{pages}" prints the last page's): a run may give others
    // (the sheets of a bound book).
    QString pageLabel = QStringLiteral("Página {page} de {pages}");
    int firstPage = 1;
};

struct ReportProject {
    QString filePath;
    std::vector<ReportDefinition> reports;
    // By short name, regardless of letter case; null when there is none.
    const ReportDefinition* find(const QString& name) const;
};

} // namespace livros::report
