#include "report/output_setup_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace livros::report {

QString pdfFileName(const QString& text)
{
    const QString name = text.trimmed();
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + QStringLiteral(".pdf");
}

OutputSetupDialog::OutputSetupDialog(const QString& title, const OutputChoice& proposed, TSystemSetups setups, QWidget* parent)
    : QDialog(parent), m_setups(setups)
{
    setWindowTitle(title);
    setModal(true);

    auto* destination = new QGroupBox(QStringLiteral("Destino do relatório"), this);
    m_printer = new QRadioButton(QStringLiteral("&Impressora"), destination);
    m_preview = new QRadioButton(QStringLiteral("&Visualizar na tela"), destination);
    m_file = new QRadioButton(QStringLiteral("&Arquivo PDF"), destination);
    m_printer->setObjectName(QStringLiteral("printerOption"));
    m_preview->setObjectName(QStringLiteral("previewOption"));
    m_file->setObjectName(QStringLiteral("fileOption"));
    m_printer->setEnabled(setups.testFlag(ssAllowDestPrinter));
    m_preview->setEnabled(setups.testFlag(ssAllowDestPreview));
    m_file->setEnabled(setups.testFlag(ssAllowDestFile));

    m_fileName = new QLineEdit(pdfFileName(proposed.fileName), destination);
    m_fileName->setObjectName(QStringLiteral("fileName"));
    m_fileName->setPlaceholderText(QStringLiteral("Nome do arquivo PDF"));
    m_browse = new QPushButton(QStringLiteral("..."), destination);
    m_browse->setToolTip(QStringLiteral("Escolher o arquivo"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_browse);
    auto* destinationLayout = new QVBoxLayout(destination);
    destinationLayout->addWidget(m_printer);
    destinationLayout->addWidget(m_preview);
    destinationLayout->addWidget(m_file);
    destinationLayout->addLayout(fileRow);

    auto* copiesLabel = new QLabel(QStringLiteral("&Cópias:"), this);
    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("copies"));
    m_copies->setRange(1, 999);
    m_copies->setValue(std::max(1, proposed.copies));
    copiesLabel->setBuddy(m_copies);
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(copiesLabel);
    copiesRow->addWidget(m_copies);
    copiesRow->addStretch(1);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(destination);
    layout->addLayout(copiesRow);
    layout->addWidget(m_buttons);

    // The proposed destination when it is allowed, else the first one that is.
    QRadioButton* initial = proposed.destination == ReportDestination::Printer ? m_printer
                            : proposed.destination == ReportDestination::File  ? m_file
                                                                               : m_preview;
    if (!initial->isEnabled()) {
        for (QRadioButton* b : {m_preview, m_printer, m_file}) {
            if (b->isEnabled()) {
                initial = b;
                break;
            }
        }
    }
    initial->setChecked(initial->isEnabled());

    connect(m_printer, &QRadioButton::toggled, this, &OutputSetupDialog::updateState);
    connect(m_preview, &QRadioButton::toggled, this, &OutputSetupDialog::updateState);
    connect(m_file, &QRadioButton::toggled, this, &OutputSetupDialog::updateState);
    connect(m_fileName, &QLineEdit::textChanged, this, &OutputSetupDialog::updateState);
    connect(m_browse, &QPushButton::clicked, this, &OutputSetupDialog::chooseFile);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateState();
}

QPushButton* OutputSetupDialog::okButton() const { return m_buttons->button(QDialogButtonBox::Ok); }

void OutputSetupDialog::chooseFile()
{
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar o relatório como"), m_fileName->text(),
                                                      QStringLiteral("Adobe Acrobat (PDF) (*.pdf)"));
    if (!file.isEmpty())
        m_fileName->setText(pdfFileName(file));
}

void OutputSetupDialog::updateState()
{
    const bool toFile = m_file->isChecked();
    m_fileName->setEnabled(toFile);
    m_browse->setEnabled(toFile);
    m_copies->setEnabled(m_printer->isChecked() && m_setups.testFlag(ssAllowCopies));
    const bool chosen = m_printer->isChecked() || m_preview->isChecked() || toFile;
    okButton()->setEnabled(chosen && (!toFile || !m_fileName->text().trimmed().isEmpty()));
}

OutputChoice OutputSetupDialog::choice() const
{
    OutputChoice c;
    c.destination = m_printer->isChecked() ? ReportDestination::Printer
                    : m_file->isChecked()  ? ReportDestination::File
                                           : ReportDestination::Preview;
    c.fileName = pdfFileName(m_fileName->text());
    c.copies = m_copies->value();
    return c;
}

} // namespace livros::report
