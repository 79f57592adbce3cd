#pragma once

#include <QWidget>

class QLineEdit;

namespace plimbo {

class LauncherService;
class DashboardList;

// The dashboard's launcher section: a search field over the indexed applications (at most
// 80 results, live as the index changes); clicking a row opens that application.
class LauncherView : public QWidget {
    Q_OBJECT

public:
    explicit LauncherView(LauncherService& launcher, QWidget* parent = nullptr);

    QLineEdit* searchField() const { return m_query; }
    DashboardList* list() const { return m_list; }
    // The applications listed now, in order (their ids).
    QStringList listedIds() const;

    static constexpr qsizetype resultLimit = 80;

private:
    void refresh();

    LauncherService& m_launcher;
    QLineEdit* m_query;
    DashboardList* m_list;
};

} // namespace plimbo
