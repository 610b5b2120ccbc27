#include "book/classic/component_lists.h"

#include "book/ledger/ledger_sql.h"

#include "data/data_module.h"

namespace livros::classic {

namespace {

struct GroupTexts {
    const char16_t* titleLine;
    const char16_t* bookName;
};

// The title line and the stored book name differ in the case of the conjunction on purpose:
// both are the texts the suite has always printed.
constexpr GroupTexts kGroupTexts[kListGroupCount] = {
    {u" Medicamentos entorpecentes - Listas A1 e A2", u"Medicamentos entorpecentes - Listas A1 E A2"},
    {u" Medicamentos psicotrópicos - Listas A3, B1 e B2", u"Medicamentos psicotrópicos - Listas A3, B1 E B2"},
    {u" Medicamentos sujeitos a controle especial - Listas C1, C2, C4 E C5",
     u"Medicamentos sujeitos a controle especial - Listas C1, C2, C4 e C5"},
    {u" Medicamentos imunossupressores - Lista C3", u"Medicamentos imunossupressores - Lista C3"},
};

} // namespace

int listGroupOf(const QString& lista)
{
    static const QString group1[] = {QStringLiteral("A1"), QStringLiteral("A2")};
    static const QString group2[] = {QStringLiteral("A3"), QStringLiteral("B1"), QStringLiteral("B2")};
    static const QString group3[] = {QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C4"),
                                     QStringLiteral("C5")};
    static const QString group4[] = {QStringLiteral("C3")};
    for (const QString& code : group1)
        if (lista == code)
            return 1;
    for (const QString& code : group2)
        if (lista == code)
            return 2;
    for (const QString& code : group3)
        if (lista == code)
            return 3;
    for (const QString& code : group4)
        if (lista == code)
            return 4;
    return 0;
}

QString groupTitleLine(int groupNumber)
{
    if (groupNumber < 1 || groupNumber > kListGroupCount)
        return {};
    return QString::fromUtf16(kGroupTexts[groupNumber - 1].titleLine);
}

QString groupBookName(int groupNumber)
{
    if (groupNumber < 1 || groupNumber > kListGroupCount)
        return {};
    return QString::fromUtf16(kGroupTexts[groupNumber - 1].bookName);
}

QString componentListsSelect()
{
    return QStringLiteral("Select CODIGO, COMPONENTE, UNID, LISTA, CONTROLADA, DCB from COMPONEN WHERE ")
        + ledger::compoundingProductCondition()
        + QStringLiteral(" and controlada = 'Sim' and LISTA IS NOT NULL AND LISTA <> '' ORDER BY LISTA, COMPONENTE");
}

ComponentLists loadComponentLists(data::TDM& dm) { return loadComponentLists(dm.SQLQuery1); }

ComponentLists loadComponentLists(data::Query& query)
{
    static const QString kCodigo = QStringLiteral("CODIGO");
    static const QString kComponente = QStringLiteral("COMPONENTE");
    static const QString kUnid = QStringLiteral("UNID");
    static const QString kLista = QStringLiteral("LISTA");
    static const QString kDcb = QStringLiteral("DCB");

    query.setSql(componentListsSelect());
    query.open();

    ComponentLists lists;
    for (; !query.eof(); query.next()) {
        const QString lista = query.asString(kLista).left(kListaLength);
        const int group = listGroupOf(lista);
        if (group == 0)
            continue;
        lists.tables[std::size_t(group - 1)].append(ControlledComponent{
            query.asString(kDcb).left(kDcbLength),
            query.asString(kCodigo).left(kCodigoLength),
            query.asString(kComponente).left(kComponenteLength),
            query.asString(kUnid).left(kUnidLength),
            lista,
        });
    }
    query.close();
    return lists;
}

} // namespace livros::classic
