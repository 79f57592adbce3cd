#pragma once

#include "ClipboardItem.h"
#include "SelectableRow.h"

#include <QLocale>

namespace plimbo {

class SurfaceText;
class SymbolView;

// One clipboard history entry: a pin or clipboard symbol, the entry's one-line preview on at
// most two lines, when it was captured, and the "↩" mark while it is the selected row.
class ClipboardRow : public SelectableRow {
    Q_OBJECT

public:
    explicit ClipboardRow(const ClipboardItem& item, QWidget* parent = nullptr);

    // The capture time in local time: abbreviated date and short time of the locale.
    static QString timestamp(const QDateTime& createdAt, const QLocale& locale = QLocale());

    SymbolView* symbol() const { return m_symbol; }
    SurfaceText* preview() const { return m_preview; }
    SurfaceText* time() const { return m_time; }
    SurfaceText* returnMark() const { return m_returnMark; }

protected:
    void selectionChanged(bool selected) override;

private:
    SymbolView* m_symbol;
    SurfaceText* m_preview;
    SurfaceText* m_time;
    SurfaceText* m_returnMark;
};

} // namespace plimbo
