#pragma once
#include "report/report_interaction.h"

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace livros::report {

// The output set-up dialog ("Opções de saída"): printer, preview or a PDF file, the destinations
// the engine's setups allow; the number of copies for the printer when allowed.
class OutputSetupDialog : public QDialog {
    Q_OBJECT
public:
    OutputSetupDialog(const QString& title, const OutputChoice& proposed, TSystemSetups setups, QWidget* parent = nullptr);

    OutputChoice choice() const;

    QRadioButton* printerOption() const { return m_printer; }
    QRadioButton* previewOption() const { return m_preview; }
    QRadioButton* fileOption() const { return m_file; }
    QLineEdit* fileNameEdit() const { return m_fileName; }
    QSpinBox* copiesBox() const { return m_copies; }
    QPushButton* okButton() const;

private:
    void chooseFile();
    void updateState();

    TSystemSetups m_setups;
    QRadioButton* m_printer;
    QRadioButton* m_preview;
    QRadioButton* m_file;
    QLineEdit* m_fileName;
    QPushButton* m_browse;
    QSpinBox* m_copies;
    QDialogButtonBox* m_buttons;
};

// The PDF file name as the dialog returns it: ".pdf" added when the name has no extension.
QString pdfFileName(const QString& text);

} // namespace livros::report
