#pragma once
#include "report/laid_out_report.h"
#include "report/report_interaction.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace livros::report {

// The engine's preview ("Visualizar relatório"): one page at a time at the chosen zoom (100%:
// the page's real size on the screen), page navigation, and a print button when the engine
// allows printing from the preview.
class ReportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ReportPreviewDialog(const LaidOutReport& report, const PreviewSettings& settings, std::function<void()> print,
                        QWidget* parent = nullptr);

    int currentPage() const { return m_page; } // from 0
    int zoom() const { return m_zoom; }
    void showPage(int page);
    void setZoom(int percent);
    QString pageLabelText() const;
    QPushButton* printButton() const { return m_print; }
    QPushButton* actionButton() const { return m_action; }
    // The picture of the current page as shown.
    QImage pageImage() const;

private:
    void render();

    const LaidOutReport& m_report;
    std::function<void()> m_printAction;
    int m_page = 0;
    int m_zoom = 100;
    QPushButton* m_print;
    QPushButton* m_action;
    QPushButton* m_first;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_last;
    QComboBox* m_zoomBox;
    QLabel* m_pageLabel;
    QLabel* m_pageView;
    QScrollArea* m_scroll;
};

} // namespace livros::report
