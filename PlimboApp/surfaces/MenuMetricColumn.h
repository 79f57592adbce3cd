#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace plimbo {

class SurfaceText;
class SymbolView;

// One reading of the menu-bar panel's pulse card: a small symbol and label over a large value,
// symbol and value in the reading's colour. Read out as "<label>, <value>".
class MenuMetricColumn : public QWidget {
    Q_OBJECT

public:
    MenuMetricColumn(const QString& symbol, const QString& label, QWidget* parent = nullptr);

    void setReading(const QString& symbol, const QString& value, const QColor& color);

    QString symbol() const;
    QString label() const;
    QString value() const;
    QColor color() const;

private:
    SymbolView* m_symbol;
    SurfaceText* m_label;
    SurfaceText* m_value;
};

} // namespace plimbo
