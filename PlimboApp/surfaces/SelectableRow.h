#pragma once

#include <QAbstractButton>
#include <QString>

namespace plimbo {

// One clickable row of a result list, tagged with the identifier of what it shows. It never
// takes keyboard focus (typing stays in the search field); the selected row draws the list's
// selection highlight behind its content.
class SelectableRow : public QAbstractButton {
    Q_OBJECT

public:
    explicit SelectableRow(const QString& id, QWidget* parent = nullptr);

    QString id() const { return m_id; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    static constexpr qreal highlightRadius = 6;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Rows that show something only while selected update it here.
    virtual void selectionChanged(bool selected);

private:
    QString m_id;
    bool m_selected = false;
};

} // namespace plimbo
