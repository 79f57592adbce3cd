#pragma once

#include <QString>
#include <QWidget>

namespace plimbo {

class SurfaceText;
class SymbolView;

// What a list shows when it has nothing: a large symbol, a title and a line of advice,
// centred in the space it is given.
class EmptyStateView : public QWidget {
    Q_OBJECT

public:
    EmptyStateView(const QString& symbol, const QString& title, const QString& description,
                   QWidget* parent = nullptr);

    QString title() const;
    QString description() const;
    void setTexts(const QString& title, const QString& description);

private:
    SymbolView* m_symbol;
    SurfaceText* m_title;
    SurfaceText* m_description;
};

} // namespace plimbo
