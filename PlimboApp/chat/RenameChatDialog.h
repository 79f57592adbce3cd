#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace plimbo {

// The "Rename chat" alert: a name field, "Cancel" and "Save"; "Save" is disabled while the name
// is blank. The name is handed on exactly as typed (the model trims it).
class RenameChatDialog : public QDialog {
    Q_OBJECT

public:
    explicit RenameChatDialog(QWidget* parent = nullptr);

    void setDraft(const QString& draft);
    QString draft() const;
    QLineEdit* nameField() const { return m_name; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    void draftChanged(const QString& draft);
    void saveRequested();

private:
    QLineEdit* m_name;
    QPushButton* m_save;
    QPushButton* m_cancel;
};

} // namespace plimbo
