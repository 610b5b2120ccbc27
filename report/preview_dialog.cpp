#include "report/preview_dialog.h"

#include "report/report_painter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace livros::report {

ReportPreviewDialog::ReportPreviewDialog(const LaidOutReport& report, const PreviewSettings& settings,
                                         std::function<void()> print, QWidget* parent)
    : QDialog(parent), m_report(report), m_printAction(std::move(print))
{
    setWindowTitle(settings.title);
    setModal(settings.modal);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(settings.formWidth, std::max(600, settings.formWidth * 3 / 4));

    m_print = new QPushButton(QStringLiteral("&Imprimir"), this);
    m_print->setObjectName(QStringLiteral("printButton"));
    m_print->setEnabled(settings.allowPrint && m_printAction);
    m_first = new QPushButton(QStringLiteral("|<"), this);
    m_previous = new QPushButton(QStringLiteral("<"), this);
    m_next = new QPushButton(QStringLiteral(">"), this);
    m_last = new QPushButton(QStringLiteral(">|"), this);
    m_first->setToolTip(QStringLiteral("Primeira página"));
    m_previous->setToolTip(QStringLiteral("Página anterior"));
    m_next->setToolTip(QStringLiteral("Próxima página"));
    m_last->setToolTip(QStringLiteral("Última página"));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("zoom"));
    for (int z : {50, 75, 100, 125, 150, 200})
        m_zoomBox->addItem(QStringLiteral("%1%").arg(z), z);
    auto* close = new QPushButton(QStringLiteral("&Fechar"), this);
    m_action = new QPushButton(settings.actionText, this);
    m_action->setObjectName(QStringLiteral("actionButton"));
    m_action->setVisible(bool(settings.action));

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_print);
    bar->addWidget(m_action);
    bar->addSpacing(12);
    bar->addWidget(m_first);
    bar->addWidget(m_previous);
    bar->addWidget(m_pageLabel);
    bar->addWidget(m_next);
    bar->addWidget(m_last);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
    bar->addWidget(m_zoomBox);
    bar->addStretch(1);
    bar->addWidget(close);

    m_pageView = new QLabel;
    m_pageView->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_pageView);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_print, &QPushButton::clicked, this, [this] { m_printAction(); });
    connect(m_action, &QPushButton::clicked, this, settings.action ? settings.action : std::function<void()>([] {}));
    connect(m_first, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(m_previous, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_last, &QPushButton::clicked, this, [this] { showPage(m_report.pageCount() - 1); });
    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) { setZoom(m_zoomBox->itemData(index).toInt()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    m_zoom = settings.zoom > 0 ? settings.zoom : 100;
    const int index = m_zoomBox->findData(m_zoom);
    if (index >= 0)
        m_zoomBox->setCurrentIndex(index);
    if (settings.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    render();
}

void ReportPreviewDialog::showPage(int page)
{
    m_page = std::clamp(page, 0, std::max(0, m_report.pageCount() - 1));
    render();
}

void ReportPreviewDialog::setZoom(int percent)
{
    m_zoom = std::clamp(percent, 10, 800);
    render();
}

QString ReportPreviewDialog::pageLabelText() const { return m_pageLabel->text(); }

QImage ReportPreviewDialog::pageImage() const { return m_pageView->pixmap().toImage(); }

void ReportPreviewDialog::render()
{
    const int count = m_report.pageCount();
    m_pageLabel->setText(QStringLiteral("Página %1 de %2").arg(count ? m_page + 1 : 0).arg(count));
    m_first->setEnabled(m_page > 0);
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < count);
    m_last->setEnabled(m_page + 1 < count);

    const double dpi = logicalDpiX() * m_zoom / 100.0;
    const QSizeF size = m_report.pageSizeDots() * (dpi / kLayoutDpi);
    QImage image(size.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintPage(painter, m_report, m_page, dpi);
    }
    m_pageView->setPixmap(QPixmap::fromImage(image));
}

} // namespace livros::report
