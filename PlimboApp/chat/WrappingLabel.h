#pragma once

#include <QLabel>

namespace plimbo {

// Plain text that asks for its one-line width and wraps only when it gets less: a word-wrapped
// QLabel asks for a narrow column and wraps even where the line would fit.
class WrappingLabel : public QLabel {
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

} // namespace plimbo
