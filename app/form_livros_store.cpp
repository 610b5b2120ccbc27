// Store selection: the store of the company data when the database knows one store, else the
// user's pick in the list of stores.
#include "app/click_label.h"
#include "app/form_livros.h"
#include "app/handler_guard.h"
#include "app/store_texts.h"
#include "data/data_module.h"

#include <QComboBox>
#include <QFrame>
#include <QSignalBlocker>

namespace livros::app {

void TFormLivros::selectStore()
{
    if (m_storeCount == 1) {
        m_dm.DadosGer.open();
        m_storeCnpj = storeCnpjOf(m_dm.DadosGerCNPJ().asString());
        m_dm.DadosGer.close();
        setWindowTitle(QString::fromUtf16(kMakerCaption) + FormatCnpj(m_storeCnpj));
        if (!isRevisedMode(m_mode)) {
            setTermButtons(true); // book choice: the terms of each book
            return;
        }
        Titulo->setText(QString::fromUtf16(kSiproquimTitle));
        Titulo->adjustSize();
        setWindowTitle(QString::fromUtf16(kSiproquimCaption) + FormatCnpj(m_storeCnpj));
        HideBookButtons();
        OpenPeriodPanel(true);
        return;
    }

    data::Query& query = m_dm.SQLQuery1;
    query.close();
    query.setSql(QStringLiteral("Select DISTINCT LOJA from TABLAB order by LOJA"));
    query.open();
    {
        // Filling the list is not a change of the user's.
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->clear();
        for (; !query.eof(); query.next())
            ComboBox1->addItem(FormatCnpj(storeCnpjOf(query.asString(QStringLiteral("LOJA")))).left(kStoreEntryLength));
        query.close();
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEditText(QString());
    }
    HideBookButtons();
    // Store choice keeps its way out: "Sair" (and Esc) close the window.
    showExitButton();
    PainelCNPJ->setGeometry(270, 77, 417, 209);
    PainelCNPJ->setVisible(true);
}

void TFormLivros::ComboBox1Change(const QString& text)
{
    // Only a store of the list is chosen: a text being typed, or one naming no store, selects none.
    QStringList entries;
    for (int i = 0; i < ComboBox1->count(); ++i)
        entries << ComboBox1->itemText(i);
    const int entry = matchingStoreEntry(entries, text);
    if (entry < 0)
        return;
    runHandler([&] {
        const QString chosen = entries[entry];
        setWindowTitle(QString::fromUtf16(kMakerCaption) + chosen);
        m_storeCnpj = cnpjFromStoreEntry(chosen);
        ShowBookButtons();
        if (!isRevisedMode(m_mode)) {
            PainelCNPJ->hide();
            return;
        }
        setWindowTitle(QString::fromUtf16(kSiproquimCaption) + FormatCnpj(m_storeCnpj));
        HideBookButtons();
        OpenPeriodPanel(true);
        PainelCNPJ->hide();
    });
}

} // namespace livros::app
