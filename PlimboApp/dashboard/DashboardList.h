#pragma once

#include <QList>
#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace plimbo {

// A scrolling list of row widgets on a rounded card that fills the space it is given, rows
// separated by hairlines: the dashboard sections' lists.
class DashboardList : public QWidget {
    Q_OBJECT

public:
    explicit DashboardList(QWidget* parent = nullptr);

    // Replaces every row; the list takes ownership. The old rows are deleted later, so a row
    // may replace the list from its own click.
    void setRows(const QList<QWidget*>& rows);
    QList<QWidget*> rows() const { return m_rows; }
    int count() const { return static_cast<int>(m_rows.size()); }
    QScrollArea* scrollArea() const { return m_scroll; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QScrollArea* m_scroll;
    QWidget* m_content;
    QVBoxLayout* m_layout;
    QList<QWidget*> m_rows;
    QList<QWidget*> m_separators;
};

} // namespace plimbo
