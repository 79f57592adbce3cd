#pragma once

#include "JsonDecodingError.h"

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <optional>
#include <string>

namespace plimbo {

// A strict pull reader over the UTF-8 bytes of one JSON document, for formats too large to
// build a QJsonDocument of first. The caller walks the document in order: it peeks at the next
// value's kind, steps into objects and arrays, reads scalars and skips what it does not know.
// Any fault throws JsonDecodingError: grammar faults as "document: …" (malformedDocument), a
// member of the wrong kind as "key: …" in json::require…'s words, a null counting as missing.
// Stricter than QJsonDocument in strings (raw control characters and unknown escapes fail);
// the UTF-8 of keys is not checked. Skipping stops at a fixed nesting depth, so no input can
// exhaust the stack. Reads from the caller's bytes, which must outlive it; one thread.
class JsonPullReader {
public:
    enum class Kind { object, array, string, number, boolean, null };

    explicit JsonPullReader(const QByteArray& bytes)
        : m_at(bytes.constData())
        , m_end(bytes.constData() + bytes.size()) {}
    // The reader keeps pointers into the bytes: a temporary would be gone before the first read.
    explicit JsonPullReader(QByteArray&&) = delete;

    // The structural calls below run once per value of a large document: they stay in the
    // header so the caller's loop inlines them.
    Kind peek() {
        skipSpace();
        if (m_at == m_end) {
            malformed("unexpected end");
        }
        switch (*m_at) {
        case '{':
            return Kind::object;
        case '[':
            return Kind::array;
        case '"':
            return Kind::string;
        case 't':
        case 'f':
            return Kind::boolean;
        case 'n':
            return Kind::null;
        default:
            if (*m_at == '-' || (*m_at >= '0' && *m_at <= '9')) {
                return Kind::number;
            }
            malformed("unexpected character");
        }
    }

    // Object members: call beginObject, then nextKey until it returns false; after each
    // member's value, afterValue.
    void beginObject() {
        expect('{');
        m_first = true;
    }
    // The key's bytes, unescaped; they may point into the document.
    bool nextKey(QByteArray& key) {
        skipSpace();
        if (m_at != m_end && *m_at == '}') {
            ++m_at;
            return false;
        }
        if (!m_first) {
            expect(',');
            skipSpace();
        }
        m_first = false;
        key = rawString();
        skipSpace();
        expect(':');
        return true;
    }

    // Array elements: beginArray, then hasElement before each one and afterValue after it.
    void beginArray() {
        expect('[');
        m_first = true;
    }
    bool hasElement() {
        skipSpace();
        if (m_at != m_end && *m_at == ']') {
            ++m_at;
            return false;
        }
        if (!m_first) {
            expect(',');
        }
        m_first = false;
        return true;
    }

    // Nested containers reset the "first member" flag; callers restore it after a value.
    void afterValue() { m_first = false; }

    // The same, for a value that must be there: a null fails as missing and another kind as
    // the wrong type, naming `key`.
    void beginObject(const char* key) {
        requireKind(Kind::object, key, "expected an object");
        beginObject();
    }
    void beginArray(const char* key) {
        requireKind(Kind::array, key, "expected an array");
        beginArray();
    }

    QString string();
    double number();
    // An integral number ("12.0" and "1.2e1" count); false for a fraction or a value out of
    // qint64's range, with the number read past.
    bool integer(qint64& value);
    bool boolean();
    void null();
    // Reads past any value, such as a member the caller does not declare.
    void skipValue() { skipValue(0); }
    // Fails unless only white space is left.
    void finish();

    // Member values under the rules of json::require… and json::optional…: a null counts as
    // missing, and a failure names `key`.
    // Reads a null if one is next.
    bool skipNull();
    QString requireString(const char* key);
    std::optional<QString> optionalString(const char* key);
    QUuid requireUuid(const char* key);
    // Out-of-range numbers read as infinities, as QJsonDocument reads them.
    double requireDouble(const char* key);
    qint64 requireInteger(const char* key);
    // For a required member the object did not have.
    static void requirePresent(bool present, const char* key);
    // A member the caller found wrong, failing in the same form.
    [[noreturn]] static void fail(JsonDecodingError::Reason reason, const char* key,
                                  const char* what);

private:
    [[noreturn]] static void malformed(const char* what);

    void skipSpace() {
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t')) {
            ++m_at;
        }
    }

    void expect(char c) {
        skipSpace();
        if (m_at == m_end || *m_at != c) {
            malformed("unexpected character");
        }
        ++m_at;
    }

    void requireKind(Kind expected, const char* key, const char* what);
    void skipValue(int depth);
    // Declared inline though defined in the .cpp, their only caller: that lets the compiler
    // fold them into string() and number() as it did when the whole reader was one class body
    // (measurably faster on a large history).
    inline bool literal(const char* word);
    inline void scanRun(bool& ascii);
    inline void scanNumber();
    inline static QString utf8(const char* start, qsizetype length);
    QByteArray rawString();
    inline QString escapedString(const char* start);
    inline bool appendUnicodeEscape();
    inline QString withUnpairedSurrogates(const char* start);
    inline char16_t hexUnit();

    const char* m_at;
    const char* m_end;
    bool m_first = true;
    std::string m_scratch; // reused for every escaped string
};

} // namespace plimbo
