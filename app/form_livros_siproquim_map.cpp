// "Gerar mapa SIPROQUIM": the monthly map of the period's month for the Polícia Federal, written
// into a folder the user picks.
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/handler_guard.h"
#include "platform/date_text.h"
#include "platform/user_messages.h"
#include "siproquim/map_fields.h"
#include "siproquim/month_map_file.h"

#include <QDir>
#include <QFileDialog>

namespace livros::app {

void TFormLivros::BotMapaSiproquimClick()
{
    runHandler([this] {
        // The map is monthly: the month of the period's initial date.
        const std::optional<QDate> start = parseDateText(MaskEdit1->maskText());
        if (!start) {
            userMessages().inform(QStringLiteral("Data Inicial incorreta. Corrija e tente novamente."));
            MaskEdit1->setFocus(Qt::OtherFocusReason);
            return;
        }
        const QString folder = chooseMapFolder
                                   ? chooseMapFolder()
                                   : QFileDialog::getExistingDirectory(this, QStringLiteral("Pasta do mapa SIPROQUIM"), QDir::homePath());
        if (folder.isEmpty())
            return;
        const siproquim::MapMonth month{start->year(), start->month()};
        const siproquim::MapFileResult result = siproquim::writeMonthMap(m_dm, m_storeCnpj, month, folder);
        if (!result.refusal.isEmpty())
            userMessages().inform(result.refusal);
        else if (!result.problems.isEmpty())
            userMessages().inform(siproquim::refusalText(result.problems));
        else if (!result.fileError.isEmpty())
            showStandardError(result.fileError);
        else
            userMessages().inform(QStringLiteral("Mapa SIPROQUIM de %1/%2 gravado em\n%3")
                                      .arg(siproquim::monthAbbreviation(month.month))
                                      .arg(month.year)
                                      .arg(QDir::toNativeSeparators(result.path)));
    });
}

} // namespace livros::app
