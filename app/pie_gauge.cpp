#include "app/pie_gauge.h"

#include <QPainter>

#include <algorithm>

namespace livros::app {

PieGauge::PieGauge(QWidget* parent) : QWidget(parent) {}

void PieGauge::setMinValue(int value)
{
    m_min = value;
    m_max = std::max(m_max, m_min);
    setProgress(m_progress);
}

void PieGauge::setMaxValue(int value)
{
    m_max = value;
    m_min = std::min(m_min, m_max);
    setProgress(m_progress);
}

void PieGauge::setProgress(int value)
{
    const int clamped = std::clamp(value, m_min, m_max);
    if (clamped == m_progress)
        return;
    m_progress = clamped;
    update();
}

int PieGauge::percentDone() const
{
    if (m_max <= m_min)
        return 0;
    return int((qint64(m_progress - m_min) * 100) / (m_max - m_min));
}

void PieGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(circle);
    const int done = percentDone();
    if (done > 0) {
        painter.setBrush(QColor(0, 0, 128));
        // Qt measures angles in sixteenths of a degree, counter-clockwise from three o'clock.
        painter.drawPie(circle, 90 * 16, -done * 360 * 16 / 100);
    }
    // The percentage on a white centre, readable whatever share is filled.
    const qreal hole = side * 0.5;
    const QRectF centre(circle.center().x() - hole / 2, circle.center().y() - hole / 2, hole, hole);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre);
    painter.drawText(centre, Qt::AlignCenter, QStringLiteral("%1%").arg(done));
}

} // namespace livros::app
