#pragma once

#include <QLineEdit>

namespace plimbo {

// The borderless search field of the palette and the quick-access panels. Return runs the
// panel's primary action; Up and Down step the panel's selection and are always consumed, so
// the caret never moves; Escape is left to the panel, which dismisses itself.
class QuickAccessSearchField : public QLineEdit {
    Q_OBJECT

public:
    explicit QuickAccessSearchField(const QString& placeholder, QWidget* parent = nullptr);

signals:
    void submitted();
    // +1 for Down, -1 for Up.
    void selectionStepRequested(int delta);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
};

} // namespace plimbo
