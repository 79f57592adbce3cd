#include "RenameChatDialog.h"

#include "ChatStyle.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plimbo {

RenameChatDialog::RenameChatDialog(QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Rename chat"));
    auto* layout = new QVBoxLayout(this);
    QLabel* title = ChatStyle::plainLabel(tr("Rename chat"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    QLabel* message = ChatStyle::plainLabel(tr("Choose a name that will be easy to find later."));
    message->setWordWrap(true);
    layout->addWidget(message);
    m_name = new QLineEdit;
    m_name->setPlaceholderText(tr("Chat name"));
    layout->addWidget(m_name);
    auto* buttons = new QDialogButtonBox;
    layout->addWidget(buttons);
    m_cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    m_save = buttons->addButton(tr("Save"), QDialogButtonBox::AcceptRole);
    // Only a button already inside the dialog becomes its default; before, the dialog picks
    // the first button in focus order (Cancel) when it opens, and Return would cancel.
    m_save->setDefault(true);

    connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_save->setEnabled(!text.trimmed().isEmpty());
        emit draftChanged(text);
    });
    connect(m_save, &QPushButton::clicked, this, [this] {
        if (m_save->isEnabled()) {
            emit saveRequested();
        }
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_save->setEnabled(false);
}

void RenameChatDialog::setDraft(const QString& draft) {
    m_name->setText(draft);
    m_save->setEnabled(!draft.trimmed().isEmpty());
    m_name->selectAll();
}

QString RenameChatDialog::draft() const {
    return m_name->text();
}

} // namespace plimbo
