#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace plimbo {

// The one error message the user must see now, or none. The model's features report their
// failures into it; every surface's alert shows it and sets it back to none when the alert
// closes. Main thread only; notifies only when the message changes.
class PresentedError : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<QString> message READ message WRITE setMessage NOTIFY messageChanged)

public:
    explicit PresentedError(QObject* parent = nullptr);

    std::optional<QString> message() const { return m_message; }
    void setMessage(const std::optional<QString>& message);

signals:
    void messageChanged();

private:
    std::optional<QString> m_message;
};

} // namespace plimbo
