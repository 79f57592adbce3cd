#include "RedactorFuzzTarget.h"

#include "FuzzCheck.h"
#include "SensitiveDataRedactor.h"

#include <QRegularExpression>

#include <cstring>

namespace plimbo {

namespace {

QRegularExpression pattern(const char* text) {
    return QRegularExpression(QString::fromLatin1(text),
                              QRegularExpression::UseUnicodePropertiesOption);
}

const QRegularExpression& providerKey() {
    static const QRegularExpression expression = pattern("sk-or-v1-[A-Za-z0-9_-]{16,}");
    return expression;
}

const QRegularExpression& keyHeader() {
    static const QRegularExpression expression =
        pattern("-----BEGIN ((?:RSA |EC |OPENSSH |DSA |ENCRYPTED )?PRIVATE KEY)-----");
    return expression;
}

const QRegularExpression& assignment() {
    static const QRegularExpression expression =
        pattern(R"((?i)(?:api[_ -]?key|token|password)\s*[:=]\s*[^\s]{8,})");
    return expression;
}

const QRegularExpression& oneTimeCode() {
    static const QRegularExpression expression = pattern(R"(\b\d{6}\b)");
    return expression;
}

QString withoutLoneSurrogates(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

QString decode(const uint8_t* data, size_t size) {
    if (size > 0 && (data[0] & 1)) {
        QString text((size - 1) / 2, Qt::Uninitialized);
        std::memcpy(text.data(), data + 1, size_t(text.size()) * 2);
        return text;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                             qsizetype(size > 0 ? size - 1 : 0));
}

// True when every match of the expression in the text holds a marker.
bool everyMatchHoldsMarker(const QString& text, const QRegularExpression& expression) {
    QRegularExpressionMatchIterator matches = expression.globalMatch(text);
    while (matches.hasNext()) {
        if (!matches.next().captured().contains(SensitiveDataRedactor::marker)) {
            return false;
        }
    }
    return true;
}

} // namespace

QString referenceRedaction(const QString& input) {
    const QString& marker = SensitiveDataRedactor::marker;
    QString text = withoutLoneSurrogates(input);
    text.replace(providerKey(), marker);
    // A key block runs from its header to the footer of its kind, or to the end of the text.
    qsizetype offset = 0;
    for (;;) {
        const QRegularExpressionMatch header = keyHeader().match(text, offset);
        if (!header.hasMatch()) {
            break;
        }
        const QString footer =
            QStringLiteral("-----END ") + header.captured(1) + QStringLiteral("-----");
        const qsizetype footerStart = text.indexOf(footer, header.capturedEnd());
        const qsizetype end = footerStart < 0 ? text.size() : footerStart + footer.size();
        text.replace(header.capturedStart(), end - header.capturedStart(), marker);
        offset = header.capturedStart() + marker.size();
    }
    text.replace(assignment(), marker);
    text.replace(oneTimeCode(), marker);
    return text;
}

int fuzzRedactor(const uint8_t* data, size_t size) {
    const QString input = decode(data, size);
    const SensitiveDataRedactor redactor;
    const QString output = redactor.redacted(input);

    fuzzCheck(output == referenceRedaction(input), "the redaction follows the plain rule");
    fuzzCheck(!providerKey().match(output).hasMatch(), "no provider key is left");
    fuzzCheck(!keyHeader().match(output).hasMatch(), "no private key header is left");
    fuzzCheck(!oneTimeCode().match(output).hasMatch(), "no one-time code is left");
    // An assignment may stand before a marker the code rule put in ("token: 123456" becomes
    // "token: [REDACTED]"), but never around text of the input alone.
    const bool assignmentLeft = assignment().match(output).hasMatch();
    fuzzCheck(everyMatchHoldsMarker(output, assignment()),
              "no assignment of the input's own text is left");

    const bool found = redactor.containsSensitiveData(input);
    fuzzCheck(found == (output != withoutLoneSurrogates(input)),
              "text without a secret comes back unchanged, and only that text");
    if (!assignmentLeft) {
        fuzzCheck(redactor.redacted(output) == output, "redacting twice changes nothing");
    }
    return 0;
}

} // namespace plimbo
