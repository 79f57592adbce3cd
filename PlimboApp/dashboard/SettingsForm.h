#pragma once

#include <QList>
#include <QScrollArea>
#include <QString>

class QLabel;
class QVBoxLayout;

namespace plimbo {

class SettingsSwitch;

// A settings form in the grouped style: sections one under another, each a plain heading over
// a rounded card whose rows are separated by hairlines. Scrolls when taller than its space.
class SettingsForm : public QScrollArea {
    Q_OBJECT

public:
    explicit SettingsForm(QWidget* parent = nullptr);

    // Starts a section; the rows added next go into it.
    void addSection(const QString& title);
    // Adds a row widget to the current section.
    void addRow(QWidget* row);
    // A row of a label on the left and `content` on the right.
    QWidget* addLabeledRow(const QString& label, QWidget* content);
    // A row of `label` (any widget) on the left and a switch on the right; the switch is
    // named after `accessibleName`.
    SettingsSwitch* addSwitchRow(QWidget* label, const QString& accessibleName);
    // A caption-sized note in the secondary colour.
    QLabel* addNote(const QString& text);
    // A paragraph at body size in the secondary colour.
    QLabel* addParagraph(const QString& text);
    // Drops every row of the current section (its heading stays).
    void clearSection();

    QStringList sectionTitles() const;

private:
    struct Section {
        QLabel* heading = nullptr;
        QWidget* card = nullptr;
        QVBoxLayout* rows = nullptr;
        int rowCount = 0;
    };

    QWidget* m_content;
    QVBoxLayout* m_layout;
    QList<Section> m_sections;
};

} // namespace plimbo
