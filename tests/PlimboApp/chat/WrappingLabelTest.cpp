#include "WrappingLabel.h"

#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QToolButton>

using namespace plimbo;

namespace {

TEST(WrappingLabel, WrapsOnlyWhenItsLineDoesNotFit) {
    // As in a turn's state row: the label, a button, then the rest of the width.
    QWidget row;
    auto* layout = new QHBoxLayout(&row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new WrappingLabel;
    label->setText(QStringLiteral("The model is not available right now. Try again later."));
    layout->addWidget(label);
    layout->addWidget(new QToolButton);
    layout->addStretch(1);
    const int line = label->fontMetrics().height();

    row.resize(900, 40);
    row.show();
    layout->activate();
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_LT(label->heightForWidth(label->width()), 2 * line);

    // Narrow: it wraps onto more lines instead of being cut.
    row.resize(160, row.heightForWidth(160));
    layout->activate();
    EXPECT_LT(label->width(), 160);
    EXPECT_GE(label->heightForWidth(label->width()), 2 * line);
}

} // namespace
