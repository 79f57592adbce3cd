#pragma once

#include <QAbstractButton>

namespace plimbo {

// A plain button drawn as a symbol and a title on a faint capsule with a thin outline: the
// conversation's starter suggestions.
class CapsuleButton : public QAbstractButton {
    Q_OBJECT

public:
    CapsuleButton(const QString& title, const QString& symbol, QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
};

} // namespace plimbo
