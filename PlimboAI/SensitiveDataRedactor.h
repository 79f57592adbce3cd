#pragma once

#include <QString>

namespace plimbo {

// Masks text that looks like a secret before it leaves the machine: OpenRouter API keys, PEM
// private keys (plain, RSA, EC, OpenSSH, DSA and encrypted; header through footer),
// key/token/password assignments and six-digit one-time codes. Cheap to make; safe to use from
// several threads at once.
class SensitiveDataRedactor {
public:
    static inline const QString marker = QStringLiteral("[REDACTED]");

    // The text with every recognised secret replaced by the marker.
    QString redacted(const QString& text) const;
    // True when any pattern matches.
    bool containsSensitiveData(const QString& text) const;
};

} // namespace plimbo
