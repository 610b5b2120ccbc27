#include "app/form_choice_dialog.h"

#include "forms/form_lists.h"

#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace livros::app {

namespace {

// The period most often wanted: the quarter or the month that has just ended.
QString proposedPeriod(const QString& form)
{
    const QDate today = QDate::currentDate();
    if (form == QLatin1String("BSPO") || form == QLatin1String("BMPO")) {
        const QDate previous = today.addMonths(-3);
        return QStringLiteral("%1/%2").arg((previous.month() + 2) / 3).arg(previous.year());
    }
    return today.addMonths(-1).toString(QStringLiteral("MM/yyyy"));
}

} // namespace

std::optional<FormChoice> askFormChoice(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Balanços e relações"));
    auto* form = new QComboBox(&dialog);
    for (const auto kind : {forms::PeriodicForm::Bspo, forms::PeriodicForm::Bmpo, forms::PeriodicForm::Rmnra,
                            forms::PeriodicForm::Rmnrb2})
        form->addItem(forms::formKeyword(kind) + QStringLiteral(" - ") + forms::formTitle(kind), forms::formKeyword(kind));
    auto* period = new QLineEdit(&dialog);
    period->setPlaceholderText(QStringLiteral("T/AAAA ou AAAA; MM/AAAA nas relações"));
    period->setText(proposedPeriod(form->currentData().toString()));
    QObject::connect(form, &QComboBox::currentIndexChanged, &dialog,
                     [&] { period->setText(proposedPeriod(form->currentData().toString())); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(QStringLiteral("Formulário:"), form);
    layout->addRow(QStringLiteral("Período:"), period);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FormChoice{form->currentData().toString(), period->text().trimmed()};
}

} // namespace livros::app
