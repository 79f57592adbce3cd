#pragma once

#include "RoundedBox.h"

#include <QWidget>

namespace plimbo {

// A one-pixel rule, horizontal or vertical, in a colour worked out at paint time.
class ChatDivider : public QWidget {
    Q_OBJECT

public:
    ChatDivider(Qt::Orientation orientation, RoundedBox::Color color, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RoundedBox::Color m_color;
};

} // namespace plimbo
