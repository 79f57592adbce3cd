#pragma once

#include <QWidget>

#include <functional>

namespace plimbo {

// Stands in for a surface's view until that view exists: the brand mark and the surface's
// name on a rounded surface. Escape runs `onEscape` when one is given, as the panels' views do.
class PlaceholderView : public QWidget {
    Q_OBJECT

public:
    explicit PlaceholderView(const QString& name, std::function<void()> onEscape = {},
                             QWidget* parent = nullptr);

    QString name() const { return m_name; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_name;
    std::function<void()> m_onEscape;
};

} // namespace plimbo
