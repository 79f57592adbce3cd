#pragma once

#include "PlimboError.h"

#include <QString>

namespace plimbo {

// Why a file cannot be attached to a chat message, with the text the user sees.
class AIAttachmentError : public PlimboError {
public:
    enum class Kind { unsupportedType, unreadable, tooLarge, textTooLarge, totalTooLarge };

    explicit AIAttachmentError(Kind kind)
        : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    QString description() const override;

    bool operator==(const AIAttachmentError& other) const { return m_kind == other.m_kind; }

private:
    Kind m_kind;
};

} // namespace plimbo
