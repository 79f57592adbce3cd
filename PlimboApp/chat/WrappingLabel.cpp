#include "WrappingLabel.h"

#include <QFontMetrics>

#include <cmath>

namespace plimbo {

WrappingLabel::WrappingLabel(QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize WrappingLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    const QMargins margins = contentsMargins();
    const int line =
        metrics.boundingRect(QRect(0, 0, 100000, 1000), Qt::TextExpandTabs, text()).width();
    const int width = line + margins.left() + margins.right() + 2 * margin();
    return {width, heightForWidth(width)};
}

QSize WrappingLabel::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    const int width = std::min(sizeHint().width(), metrics.averageCharWidth() * 12);
    return {width, heightForWidth(width)};
}

} // namespace plimbo
