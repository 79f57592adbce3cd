#pragma once

#include "ScreenLayout.h"

class QScreen;

namespace plimbo {

// The displays Qt knows. Linux displays have no camera housing: no safe-area inset and no
// auxiliary areas are ever reported. Needs a running QGuiApplication.
class QtScreenLayout final : public ScreenLayout {
    Q_OBJECT

public:
    explicit QtScreenLayout(QObject* parent = nullptr);

    QList<DisplayScreen> screens() const override;
    std::optional<qsizetype> mainScreenIndex() const override;
    QPoint cursorPosition() const override;

    // The name a person would recognise: the model, else the connector's name.
    static QString nameOf(const QScreen& screen);

private:
    void watch(QScreen* screen);
};

} // namespace plimbo
