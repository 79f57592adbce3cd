#pragma once

#include <QVariantAnimation>
#include <QWidget>

namespace plimbo {

// An indeterminate progress spinner in one colour; it turns only while shown.
class NotchSpinner : public QWidget {
    Q_OBJECT

public:
    NotchSpinner(int diameter, const QColor& color, QWidget* parent = nullptr);

    bool isSpinning() const { return m_rotation.state() == QAbstractAnimation::Running; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QColor m_color;
    QVariantAnimation m_rotation;
};

} // namespace plimbo
