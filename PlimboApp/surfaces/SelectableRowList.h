#pragma once

#include <QList>
#include <QScrollArea>
#include <QString>

#include <optional>

class QVBoxLayout;

namespace plimbo {

class SelectableRow;

// An inset list of rows with one selection, by row identifier. It shows what it is given and
// keeps no data of its own; a click on a row reports that row's identifier at once.
class SelectableRowList : public QScrollArea {
    Q_OBJECT

public:
    explicit SelectableRowList(QWidget* parent = nullptr);

    // Replaces every row; the list takes ownership.
    void setRows(const QList<SelectableRow*>& rows);
    QList<SelectableRow*> rows() const { return m_rows; }
    SelectableRow* row(const QString& id) const;
    // Highlights the row with that identifier (none when absent) and scrolls it into view.
    void setSelectedID(const std::optional<QString>& id);

signals:
    void rowClicked(const QString& id);

private:
    QWidget* m_content;
    QVBoxLayout* m_layout;
    QList<SelectableRow*> m_rows;
};

} // namespace plimbo
