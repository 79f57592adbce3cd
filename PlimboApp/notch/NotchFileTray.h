#pragma once

#include <QHash>
#include <QUrl>
#include <QWidget>

class QHBoxLayout;
class QScrollArea;

namespace plimbo {

class DesktopActions;
class FileActionButton;
class NotchCircleButton;
class NotchFileShelfItem;

// The shelf of dropped files inside the expanded notch: a header with the count, a strip of
// tiles (one per file, in arrival order) and four actions on the whole list. It draws the
// desktop actions' list and never keeps a copy of its own.
class NotchFileTray : public QWidget {
    Q_OBJECT

public:
    explicit NotchFileTray(DesktopActions& desktop, QWidget* parent = nullptr);

    QList<NotchFileShelfItem*> tiles() const;
    NotchCircleButton& dismissButton() const { return *m_dismiss; }
    QList<FileActionButton*> actions() const { return m_actions; }
    QScrollArea& strip() const { return *m_strip; }
    QString countText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildTiles();
    QRectF headerRect() const;

    DesktopActions& m_desktop;
    NotchCircleButton* m_dismiss;
    QScrollArea* m_strip;
    QWidget* m_stripContent;
    QHBoxLayout* m_tileRow;
    QHash<QUrl, NotchFileShelfItem*> m_tiles;
    QList<FileActionButton*> m_actions;
};

} // namespace plimbo
