#pragma once

#include "RoundedBox.h"

#include <QAbstractButton>

namespace plimbo {

// A borderless button drawn as one symbol, optionally on a filled circle: the round icon
// buttons of the chat views. The label doubles as tooltip and accessible name.
class SymbolButton : public QAbstractButton {
    Q_OBJECT

public:
    SymbolButton(const QString& symbol, int side, qreal symbolPixels, QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    void setSymbol(const QString& symbol);
    void setSymbolPixels(qreal pixels);
    void setSymbolColor(RoundedBox::Color color);
    // No fill: no circle.
    void setCircleColor(RoundedBox::Color color);
    QColor circleColor() const;
    QColor symbolColor() const;
    // Help text and accessible name.
    void setLabel(const QString& label);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QString m_symbol;
    int m_side;
    qreal m_symbolPixels;
    RoundedBox::Color m_symbolColor;
    RoundedBox::Color m_circleColor;
    // The ring shows only when the keyboard brought the focus here.
    bool m_keyboardFocus = false;
};

} // namespace plimbo
