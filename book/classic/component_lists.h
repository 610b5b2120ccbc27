#pragma once
#include <QString>

#include <array>
#include <vector>

namespace livros::data {
class Query;
class TDM;
}

namespace livros::classic {

// One controlled product of a list group, with its catalogue texts cut to their bounds.
struct ControlledComponent {
    QString dcb;         // 15 characters kept
    QString codigo;      // 20: whole
    QString componente;  // 80
    QString unid;        // 10
    QString lista;       // 30
};

inline constexpr int kDcbLength = 15;
// The code is kept whole (the catalogue's 20 characters): a cut code would match none of the
// product's exits and would be written cut into the book.
inline constexpr int kCodigoLength = 20;
inline constexpr int kComponenteLength = 80;
inline constexpr int kUnidLength = 10;
inline constexpr int kListaLength = 30;

// The products of one list group, in book order (list code, then product name), numbered from 1.
// The table grows with the catalogue: a group never loses or cuts an entry for lack of room.
class ListGroupTable {
public:
    int count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    // Entry number 1..count().
    const ControlledComponent& entry(int number) const { return m_entries.at(std::size_t(number - 1)); }
    void append(ControlledComponent component) { m_entries.push_back(std::move(component)); }
    void clear() { m_entries.clear(); }

    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

private:
    std::vector<ControlledComponent> m_entries;
};

inline constexpr int kListGroupCount = 4;

// The four list-group tables, rebuilt together by every load.
struct ComponentLists {
    std::array<ListGroupTable, kListGroupCount> tables;

    // The table of group 1..4; nullptr for any other number.
    const ListGroupTable* group(int groupNumber) const
    {
        if (groupNumber < 1 || groupNumber > kListGroupCount)
            return nullptr;
        return &tables[std::size_t(groupNumber - 1)];
    }
};

// The group (1..4) whose list codes include `lista`, compared exactly (case and length); 0 for none.
int listGroupOf(const QString& lista);

// The group's title line of the listing (with its leading blank), e.g.
// " Medicamentos entorpecentes - Listas A1 e A2"; empty for a number outside 1..4.
QString groupTitleLine(int groupNumber);

// The group's book name stored in LIVROCONTR.LIVRO; empty for a number outside 1..4.
QString groupBookName(int groupNumber);

// The catalogue select of the controlled products with a list code.
QString componentListsSelect();

// Reads the controlled products of the catalogue into the four tables, through SQLQuery1.
// A database error propagates; the caller's previous tables are then untouched.
ComponentLists loadComponentLists(data::TDM& dm);
// The same through a reader's own query.
ComponentLists loadComponentLists(data::Query& query);

} // namespace livros::classic
