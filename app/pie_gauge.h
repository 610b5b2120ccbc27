#pragma once
#include <QWidget>

namespace livros::app {

// A progress gauge drawn as a pie: the share of the progress between the minimum and the
// maximum is filled clockwise from twelve o'clock, with the percentage in the middle.
class PieGauge : public QWidget {
    Q_OBJECT
public:
    explicit PieGauge(QWidget* parent = nullptr);

    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }
    int progress() const { return m_progress; }
    void setMinValue(int value);
    void setMaxValue(int value);
    // Kept within the minimum and the maximum.
    void setProgress(int value);
    void addProgress(int amount) { setProgress(m_progress + amount); }
    // 0 to 100; 0 while the range is empty.
    int percentDone() const;

    QSize sizeHint() const override { return {100, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_min = 0;
    int m_max = 100;
    int m_progress = 0;
};

} // namespace livros::app
