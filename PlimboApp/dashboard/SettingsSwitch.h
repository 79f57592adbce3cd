#pragma once

#include <QAbstractButton>

namespace plimbo {

// An on/off switch drawn as a capsule with a sliding knob, in the accent (highlight) colour
// while on. It never moves by itself: a click asks for the other position through
// `switchRequested` and the switch stays where it is until its owner sets the value it
// follows (setOn), so it always shows the state of record, not a wish.
class SettingsSwitch : public QAbstractButton {
    Q_OBJECT

public:
    explicit SettingsSwitch(QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    // Shows `on`; emits nothing.
    void setOn(bool on);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr QSize trackSize{38, 22};

signals:
    // The user asked for this position.
    void switchRequested(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;
    void checkStateSet() override;
};

} // namespace plimbo
