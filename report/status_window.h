#pragma once
#include <QDialog>

class QLabel;

namespace livros::report {

// The engine's status window ("Estatus do relatório"): not modal, one line that tells which
// page is being generated or printed. It repaints at once, since the run blocks the window's
// message loop.
class ReportStatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReportStatusWindow(QWidget* parent = nullptr);
    void setStatus(const QString& title, const QString& text);
    QString statusText() const;

private:
    QLabel* m_text;
};

} // namespace livros::report
