#pragma once

#include "NotchButton.h"

namespace plimbo {

// A plain text button of the shelf's footer ("Settings", "Exit"); it lights up only while
// it holds keyboard focus.
class NotchTextButton : public NotchButton {
    Q_OBJECT

public:
    explicit NotchTextButton(const QString& title, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plimbo
