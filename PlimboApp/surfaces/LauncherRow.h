#pragma once

#include "ApplicationRecord.h"
#include "SelectableRow.h"

namespace plimbo {

class SurfaceText;

// One application of the launcher: its icon, name and folder, and the "↩" mark while it is
// the selected row.
class LauncherRow : public SelectableRow {
    Q_OBJECT

public:
    explicit LauncherRow(const ApplicationRecord& record, QWidget* parent = nullptr);

    // The folder that holds the record's file, as shown under its name.
    static QString folderPath(const ApplicationRecord& record);

    SurfaceText* name() const { return m_name; }
    SurfaceText* folder() const { return m_folder; }
    SurfaceText* returnMark() const { return m_returnMark; }

protected:
    void selectionChanged(bool selected) override;

private:
    SurfaceText* m_name;
    SurfaceText* m_folder;
    SurfaceText* m_returnMark;
};

} // namespace plimbo
