#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace plimbo {

// The system monitor's state in the menu-bar panel's header: a dot and a status word in the
// status colour, on a capsule of that colour at 12 % opacity.
class MonitorStatusPill : public QWidget {
    Q_OBJECT

public:
    explicit MonitorStatusPill(QWidget* parent = nullptr);

    // `word` is shown verbatim ("Live", "Dormant") and read as "System monitor <word>".
    void setStatus(const QString& word, const QColor& color);
    QString word() const { return m_word; }
    QColor color() const { return m_color; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_word;
    QColor m_color;
};

} // namespace plimbo
