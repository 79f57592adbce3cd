#pragma once

#include "NotchButton.h"

#include <QColor>

#include <functional>

namespace plimbo {

// One of the four buttons under the file shelf's tiles; each acts on the whole shelf.
class FileActionButton : public NotchButton {
    Q_OBJECT

public:
    static constexpr int height = 30;

    FileActionButton(const QString& title, const QString& symbol, const QColor& tint,
                     std::function<void()> action, QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    QColor tint() const { return m_tint; }
    QSize sizeHint() const override { return {100, height}; }
    QSize minimumSizeHint() const override { return {40, height}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_tint;
};

} // namespace plimbo
