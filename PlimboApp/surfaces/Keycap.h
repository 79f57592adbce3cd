#pragma once

#include <QString>
#include <QWidget>

namespace plimbo {

// A key name on a small rounded cap ("esc"), shown verbatim in monospaced caption type.
class Keycap : public QWidget {
    Q_OBJECT

public:
    explicit Keycap(const QString& text, QWidget* parent = nullptr);

    QString text() const { return m_text; }

    static constexpr int horizontalPadding = 7;
    static constexpr int verticalPadding = 4;
    static constexpr qreal cornerRadius = 6;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace plimbo
