#include "report/status_window.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace livros::report {

ReportStatusWindow::ReportStatusWindow(QWidget* parent) : QDialog(parent)
{
    setModal(false);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("statusText"));
    m_text->setMinimumWidth(260);
    m_text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
}

void ReportStatusWindow::setStatus(const QString& title, const QString& text)
{
    setWindowTitle(title);
    m_text->setText(text);
    if (!isVisible())
        show();
    // Only painting: the user's input waits until the run is over.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString ReportStatusWindow::statusText() const { return m_text->text(); }

} // namespace livros::report
