#include "InlineMarkdownParser.h"

#include "ReplyLinkPolicy.h"

#include <QHash>

#include <array>
#include <vector>

namespace plimbo {

namespace {

enum class MarkerKind : quint8 { emphasis, strong, strikethrough, link };

struct Marker {
    MarkerKind kind;
    bool opens;
    QUrl url;
};

// A piece of output: literal text (or a code span) with the style changes around it.
struct Node {
    QString text;
    bool isCode = false;
    std::vector<Marker> before;
    std::vector<Marker> after;
};

// A run of "*", "_" or "~" that may open or close emphasis; kept in a doubly linked list.
struct Delimiter {
    qsizetype node = 0;
    QChar character;
    int count = 0;
    int originalCount = 0;
    bool canOpen = false;
    bool canClose = false;
    qsizetype previous = -1;
    qsizetype next = -1;
};

struct Bracket {
    qsizetype node = 0;
    bool image = false;
    // The last delimiter when the bracket was seen: emphasis inside the link text is matched
    // only above it.
    qsizetype delimiterBottom = -1;
};

// Where the runs of one length of backticks are, and how far the scan has passed them.
struct BacktickRuns {
    QList<qsizetype> positions;
    qsizetype cursor = 0;
};

constexpr char32_t kOutside = U'\n'; // the text's ends count as white space
constexpr int kMaximumParenthesisDepth = 32;

bool isAsciiPunctuation(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '!' && u <= '/') || (u >= ':' && u <= '@') || (u >= '[' && u <= '`') ||
           (u >= '{' && u <= '~');
}

bool isWhiteSpace(char32_t c) {
    return QChar::isSpace(c);
}

bool isPunctuation(char32_t c) {
    return QChar::isPunct(c) || QChar::isSymbol(c);
}

char32_t codePointBefore(QStringView s, qsizetype i) {
    if (i <= 0) {
        return kOutside;
    }
    const QChar c = s[i - 1];
    if (c.isLowSurrogate() && i >= 2 && s[i - 2].isHighSurrogate()) {
        return QChar::surrogateToUcs4(s[i - 2], c);
    }
    return c.unicode();
}

char32_t codePointAt(QStringView s, qsizetype i) {
    if (i >= s.size()) {
        return kOutside;
    }
    const QChar c = s[i];
    if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
        return QChar::surrogateToUcs4(c, s[i + 1]);
    }
    return c.unicode();
}

bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiAlphanumeric(QChar c) {
    return isAsciiLetter(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// "scheme:anything" with a scheme of 2 to 32 characters.
bool isUriAutolink(QStringView text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2 || colon > 32 || !isAsciiLetter(text[0])) {
        return false;
    }
    for (qsizetype i = 1; i < colon; ++i) {
        const QChar c = text[i];
        if (!isAsciiAlphanumeric(c) && c != QLatin1Char('+') && c != QLatin1Char('.') &&
            c != QLatin1Char('-')) {
            return false;
        }
    }
    return true;
}

class Parser {
public:
    explicit Parser(QStringView source, bool findRestart = false)
        : m_s(source)
        , m_findRestart(findRestart) {}

    QList<InlineRun> parse() {
        run();
        return render(0, m_nodes.size());
    }

    // Also finds the last restart point: the runs before it and its position.
    QList<InlineRun> parse(qsizetype& restart, QList<InlineRun>& runsBefore) {
        run();
        restart = m_restart;
        runsBefore = render(0, m_restartNode);
        return render(m_restartNode, m_nodes.size());
    }

private:
    void run() {
        const qsizetype n = m_s.size();
        qsizetype i = 0;
        while (i < n) {
            if (m_findRestart) {
                noteRestart(i);
            }
            const QChar c = m_s[i];
            switch (c.unicode()) {
            case '\\':
                if (i + 1 < n && isAsciiPunctuation(m_s[i + 1])) {
                    m_pending += m_s[i + 1];
                    i += 2;
                } else {
                    m_pending += c;
                    ++i;
                }
                break;
            case '`':
                i = backticks(i);
                break;
            case '*':
            case '_':
            case '~':
                i = delimiterRun(i);
                break;
            case '[':
                pushBracket(i, false);
                ++i;
                break;
            case '!':
                if (i + 1 < n && m_s[i + 1] == QLatin1Char('[')) {
                    pushBracket(i, true);
                    i += 2;
                } else {
                    m_pending += c;
                    ++i;
                }
                break;
            case ']':
                i = closeBracket(i);
                break;
            case '<':
                i = autolink(i);
                break;
            default:
                m_pending += c;
                ++i;
                break;
            }
        }
        flush();
        if (m_findRestart) {
            processClosers();
        }
        processEmphasis(-1);
    }

    // A restart point is a position nothing after can change the parse before: the text before
    // it was read without reaching it, it follows a space (so a delimiter run there flanks as at
    // the start of a text), no bracket is open and, once the closers before it are matched, no
    // delimiter is left that could open. Parsing from it alone then gives the same runs.
    void noteRestart(qsizetype i) {
        if (i == 0 || m_s[i - 1] != QLatin1Char(' ') || !m_brackets.empty() || i <= m_horizon) {
            return;
        }
        processClosers();
        if (m_head >= 0) {
            return;
        }
        flush();
        m_restart = i;
        m_restartNode = m_nodes.size();
    }

    // Marks everything up to `position` as read; past the end, no restart point follows.
    void reach(qsizetype position) {
        m_horizon = std::max(m_horizon, position >= m_s.size() ? m_s.size() : position);
    }

    // Matches the closers not matched yet, in order, as processEmphasis(-1) would before the
    // rest; the bounds carry over, so the whole text is still searched once.
    void processClosers() {
        qsizetype current = -1;
        for (qsizetype d = m_processed; d < qsizetype(m_delimiters.size()); ++d) {
            if (d == m_head || m_delimiters[d].previous >= 0) {
                current = d;
                break;
            }
        }
        m_processed = qsizetype(m_delimiters.size());
        if (current >= 0) {
            matchClosers(current, -1, m_openersBottom);
        }
    }

    void flush() {
        if (!m_pending.isEmpty()) {
            m_nodes.push_back(Node{m_pending, false, {}, {}});
            m_pending.clear();
        }
    }

    qsizetype addNode(Node node) {
        flush();
        m_nodes.push_back(std::move(node));
        return static_cast<qsizetype>(m_nodes.size()) - 1;
    }

    // ------------------------------------------------------------ code spans

    qsizetype runLength(qsizetype i, QChar c) const {
        qsizetype end = i;
        while (end < m_s.size() && m_s[end] == c) {
            ++end;
        }
        return end - i;
    }

    void indexBackticks() {
        m_backticksIndexed = true;
        for (qsizetype i = 0; i < m_s.size();) {
            if (m_s[i] != QLatin1Char('`')) {
                ++i;
                continue;
            }
            const qsizetype length = runLength(i, QLatin1Char('`'));
            m_backtickRuns[length].positions.append(i);
            i += length;
        }
    }

    // The next run of exactly `length` backticks at or after `from`; -1 when there is none.
    qsizetype nextBacktickRun(qsizetype length, qsizetype from) {
        auto found = m_backtickRuns.find(length);
        if (found == m_backtickRuns.end()) {
            return -1;
        }
        BacktickRuns& runs = found.value();
        while (runs.cursor < runs.positions.size() && runs.positions[runs.cursor] < from) {
            ++runs.cursor;
        }
        return runs.cursor < runs.positions.size() ? runs.positions[runs.cursor] : -1;
    }

    qsizetype backticks(qsizetype i) {
        if (!m_backticksIndexed) {
            indexBackticks();
        }
        const qsizetype length = runLength(i, QLatin1Char('`'));
        const qsizetype closer = nextBacktickRun(length, i + length);
        if (closer < 0) {
            // A closer may still come.
            reach(m_s.size());
            m_pending += m_s.mid(i, length);
            return i + length;
        }
        QString code = m_s.mid(i + length, closer - i - length).toString();
        // One space on each side is padding, unless the span is nothing but spaces.
        if (code.size() >= 2 && code.front() == QLatin1Char(' ') &&
            code.back() == QLatin1Char(' ') && code.count(QLatin1Char(' ')) != code.size()) {
            code = code.mid(1, code.size() - 2);
        }
        addNode(Node{code, true, {}, {}});
        return closer + length;
    }

    // ------------------------------------------------------------ emphasis

    qsizetype delimiterRun(qsizetype i) {
        const QChar c = m_s[i];
        const qsizetype length = runLength(i, c);
        const char32_t before = codePointBefore(m_s, i);
        const char32_t after = codePointAt(m_s, i + length);
        const bool leftFlanking =
            !isWhiteSpace(after) &&
            (!isPunctuation(after) || isWhiteSpace(before) || isPunctuation(before));
        const bool rightFlanking =
            !isWhiteSpace(before) &&
            (!isPunctuation(before) || isWhiteSpace(after) || isPunctuation(after));
        bool canOpen = leftFlanking;
        bool canClose = rightFlanking;
        if (c == QLatin1Char('_')) {
            canOpen = leftFlanking && (!rightFlanking || isPunctuation(before));
            canClose = rightFlanking && (!leftFlanking || isPunctuation(after));
        }
        const bool tooLong = c == QLatin1Char('~') && length > 2;
        if ((!canOpen && !canClose) || tooLong || length > 0x7fffffff) {
            m_pending += m_s.mid(i, length);
            return i + length;
        }
        Delimiter delimiter;
        delimiter.node = addNode(Node{QString(length, c), false, {}, {}});
        delimiter.character = c;
        delimiter.count = static_cast<int>(length);
        delimiter.originalCount = delimiter.count;
        delimiter.canOpen = canOpen;
        delimiter.canClose = canClose;
        delimiter.previous = m_tail;
        m_delimiters.push_back(delimiter);
        const qsizetype index = static_cast<qsizetype>(m_delimiters.size()) - 1;
        if (m_tail >= 0) {
            m_delimiters[m_tail].next = index;
        } else {
            m_head = index;
        }
        m_tail = index;
        return i + length;
    }

    void removeDelimiter(qsizetype index) {
        Delimiter& d = m_delimiters[index];
        if (d.previous >= 0) {
            m_delimiters[d.previous].next = d.next;
        } else {
            m_head = d.next;
        }
        if (d.next >= 0) {
            m_delimiters[d.next].previous = d.previous;
        } else {
            m_tail = d.previous;
        }
        d.previous = d.next = -1;
    }

    static int characterIndex(QChar c) {
        return c == QLatin1Char('*') ? 0 : c == QLatin1Char('_') ? 1 : 2;
    }

    // Below these, no opener for a closer of that kind exists: the bound that keeps the search
    // linear.
    using OpenersBottom = std::array<std::array<std::array<qsizetype, 3>, 2>, 3>;

    static OpenersBottom openersBottomAt(qsizetype bottom) {
        OpenersBottom openersBottom;
        for (auto& byCharacter : openersBottom) {
            for (auto& byOpen : byCharacter) {
                byOpen.fill(bottom);
            }
        }
        return openersBottom;
    }

    // Matches closers with openers above `bottom`, innermost first, then turns every delimiter
    // above `bottom` into text.
    void processEmphasis(qsizetype bottom) {
        OpenersBottom openersBottom = openersBottomAt(bottom);
        matchClosers(bottom >= 0 ? m_delimiters[bottom].next : m_head, bottom, openersBottom);
        for (qsizetype rest = bottom >= 0 ? m_delimiters[bottom].next : m_head; rest >= 0;) {
            const qsizetype next = m_delimiters[rest].next;
            removeDelimiter(rest);
            rest = next;
        }
    }

    // Matches the closers from `current` on with openers above `bottom`.
    void matchClosers(qsizetype current, qsizetype bottom, OpenersBottom& openersBottom) {
        while (current >= 0) {
            Delimiter& closer = m_delimiters[current];
            if (!closer.canClose) {
                current = closer.next;
                continue;
            }
            qsizetype& floor = openersBottom[characterIndex(closer.character)]
                                            [closer.canOpen ? 1 : 0][closer.originalCount % 3];
            qsizetype opener = closer.previous;
            bool found = false;
            while (opener >= 0 && opener != bottom && opener != floor) {
                const Delimiter& candidate = m_delimiters[opener];
                if (candidate.character == closer.character && candidate.canOpen) {
                    if (closer.character == QLatin1Char('~')) {
                        found = candidate.count == closer.count;
                    } else {
                        const bool oddMatch =
                            (candidate.canClose || closer.canOpen) &&
                            (candidate.originalCount + closer.originalCount) % 3 == 0 &&
                            !(candidate.originalCount % 3 == 0 && closer.originalCount % 3 == 0);
                        found = !oddMatch;
                    }
                    if (found) {
                        break;
                    }
                }
                opener = candidate.previous;
            }
            if (!found) {
                floor = closer.previous;
                const qsizetype next = closer.next;
                if (!closer.canOpen) {
                    removeDelimiter(current);
                }
                current = next;
                continue;
            }

            Delimiter& open = m_delimiters[opener];
            int used = 1;
            MarkerKind kind = MarkerKind::emphasis;
            if (closer.character == QLatin1Char('~')) {
                used = closer.count;
                kind = MarkerKind::strikethrough;
            } else if (open.count >= 2 && closer.count >= 2) {
                used = 2;
                kind = MarkerKind::strong;
            }
            open.count -= used;
            closer.count -= used;
            m_nodes[open.node].text.chop(used);
            m_nodes[closer.node].text.chop(used);
            m_nodes[open.node].after.push_back({kind, true, {}});
            m_nodes[closer.node].before.push_back({kind, false, {}});
            for (qsizetype between = open.next; between >= 0 && between != current;) {
                const qsizetype next = m_delimiters[between].next;
                removeDelimiter(between);
                between = next;
            }
            if (open.count == 0) {
                removeDelimiter(opener);
            }
            if (closer.count == 0) {
                const qsizetype next = closer.next;
                removeDelimiter(current);
                current = next;
            }
        }
    }

    // ------------------------------------------------------------ links

    void pushBracket(qsizetype i, bool image) {
        Bracket bracket;
        bracket.node =
            addNode(Node{image ? QStringLiteral("![") : QStringLiteral("["), false, {}, {}});
        bracket.image = image;
        bracket.delimiterBottom = m_tail;
        m_brackets.push_back(bracket);
    }

    void popBracket() {
        m_brackets.pop_back();
        m_activeFloor = std::min(m_activeFloor, m_brackets.size());
    }

    qsizetype skipSpaces(qsizetype j) const {
        while (j < m_s.size() && (m_s[j] == QLatin1Char(' ') || m_s[j] == QLatin1Char('\t') ||
                                  m_s[j] == QLatin1Char('\n'))) {
            ++j;
        }
        return j;
    }

    static bool stopsLinkScan(QChar c) {
        // Every scan ends at the next bracket, so no character is scanned by two attempts.
        return c == QLatin1Char('[') || c == QLatin1Char(']');
    }

    // "(destination)" or "(destination "title")" starting at `j`; the index after ")" and the
    // destination, or -1.
    qsizetype inlineLinkTail(qsizetype j, QString& destination) const {
        const qsizetype n = m_s.size();
        if (j >= n || m_s[j] != QLatin1Char('(')) {
            return -1;
        }
        j = skipSpaces(j + 1);
        if (j < n && m_s[j] == QLatin1Char('<')) {
            qsizetype k = j + 1;
            while (k < n && m_s[k] != QLatin1Char('>') && m_s[k] != QLatin1Char('<') &&
                   m_s[k] != QLatin1Char('\n') && !stopsLinkScan(m_s[k])) {
                if (m_s[k] == QLatin1Char('\\') && k + 1 < n && isAsciiPunctuation(m_s[k + 1]) &&
                    !stopsLinkScan(m_s[k + 1])) {
                    destination += m_s[k + 1];
                    k += 2;
                    continue;
                }
                destination += m_s[k];
                ++k;
            }
            if (k >= n || m_s[k] != QLatin1Char('>')) {
                return -1;
            }
            j = k + 1;
        } else {
            int depth = 0;
            qsizetype k = j;
            while (k < n) {
                const QChar c = m_s[k];
                if (c.isSpace() || c.unicode() < 0x20 || c == QLatin1Char('<') ||
                    stopsLinkScan(c)) {
                    break;
                }
                if (c == QLatin1Char('\\') && k + 1 < n && isAsciiPunctuation(m_s[k + 1]) &&
                    !stopsLinkScan(m_s[k + 1])) {
                    destination += m_s[k + 1];
                    k += 2;
                    continue;
                }
                if (c == QLatin1Char('(')) {
                    if (++depth > kMaximumParenthesisDepth) {
                        return -1;
                    }
                } else if (c == QLatin1Char(')')) {
                    if (depth == 0) {
                        break;
                    }
                    --depth;
                }
                destination += c;
                ++k;
            }
            if (depth != 0) {
                return -1;
            }
            j = k;
        }
        const qsizetype afterDestination = j;
        j = skipSpaces(j);
        if (j < n && j > afterDestination &&
            (m_s[j] == QLatin1Char('"') || m_s[j] == QLatin1Char('\'') ||
             m_s[j] == QLatin1Char('('))) {
            const QChar close = m_s[j] == QLatin1Char('(') ? QLatin1Char(')') : m_s[j];
            qsizetype k = j + 1;
            while (k < n && m_s[k] != close && !stopsLinkScan(m_s[k])) {
                k += (m_s[k] == QLatin1Char('\\') && k + 1 < n && !stopsLinkScan(m_s[k + 1])) ? 2
                                                                                              : 1;
            }
            if (k >= n || m_s[k] != close) {
                return -1;
            }
            j = skipSpaces(k + 1);
        }
        if (j >= n || m_s[j] != QLatin1Char(')')) {
            return -1;
        }
        return j + 1;
    }

    qsizetype closeBracket(qsizetype i) {
        if (m_brackets.empty()) {
            m_pending += m_s[i];
            return i + 1;
        }
        const Bracket bracket = m_brackets.back();
        if (m_brackets.size() - 1 < m_activeFloor) {
            // A link cannot hold another link.
            popBracket();
            m_pending += m_s[i];
            return i + 1;
        }
        QString destination;
        const qsizetype end = inlineLinkTail(i + 1, destination);
        if (end < 0) {
            if (m_findRestart) {
                // Every scan of the tail stops at the next bracket.
                qsizetype stop = i + 1;
                if (stop < m_s.size() && m_s[stop] == QLatin1Char('(')) {
                    while (stop < m_s.size() && !stopsLinkScan(m_s[stop])) {
                        ++stop;
                    }
                }
                reach(stop);
            }
            popBracket();
            m_pending += m_s[i];
            return i + 1;
        }
        flush();
        popBracket();
        processEmphasis(bracket.delimiterBottom);
        Node& open = m_nodes[bracket.node];
        open.text.clear();
        Node close;
        if (!bracket.image) {
            if (const std::optional<QUrl> url = ReplyLinkPolicy::openableLink(destination)) {
                open.after.push_back({MarkerKind::link, true, *url});
                close.before.push_back({MarkerKind::link, false, {}});
            }
            m_activeFloor = m_brackets.size();
        }
        m_nodes.push_back(std::move(close));
        return end;
    }

    qsizetype autolink(qsizetype i) {
        const qsizetype n = m_s.size();
        qsizetype j = i + 1;
        while (j < n && m_s[j] != QLatin1Char('>') && m_s[j] != QLatin1Char('<') &&
               !m_s[j].isSpace() && m_s[j].unicode() >= 0x20) {
            ++j;
        }
        const QStringView content = m_s.mid(i + 1, j - i - 1);
        reach(j);
        if (j >= n || m_s[j] != QLatin1Char('>') || content.isEmpty()) {
            m_pending += m_s[i];
            return i + 1;
        }
        std::optional<QUrl> url;
        if (isUriAutolink(content)) {
            url = ReplyLinkPolicy::openableLink(content);
        } else if (ReplyLinkPolicy::isEmailAddress(content)) {
            url = ReplyLinkPolicy::mailtoLink(content);
        } else {
            m_pending += m_s[i];
            return i + 1;
        }
        Node node{content.toString(), false, {}, {}};
        if (url) {
            node.before.push_back({MarkerKind::link, true, *url});
            node.after.push_back({MarkerKind::link, false, {}});
        }
        addNode(std::move(node));
        return j + 1;
    }

    // ------------------------------------------------------------ output

    QList<InlineRun> render(qsizetype from, qsizetype to) const {
        QList<InlineRun> runs;
        int emphasis = 0;
        int strong = 0;
        int strikethrough = 0;
        std::vector<QUrl> links;
        const auto apply = [&](const Marker& marker) {
            const int step = marker.opens ? 1 : -1;
            switch (marker.kind) {
            case MarkerKind::emphasis:
                emphasis += step;
                break;
            case MarkerKind::strong:
                strong += step;
                break;
            case MarkerKind::strikethrough:
                strikethrough += step;
                break;
            case MarkerKind::link:
                if (marker.opens) {
                    links.push_back(marker.url);
                } else if (!links.empty()) {
                    links.pop_back();
                }
                break;
            }
        };
        for (qsizetype index = from; index < to; ++index) {
            const Node& node = m_nodes[index];
            for (const Marker& marker : node.before) {
                apply(marker);
            }
            if (!node.text.isEmpty()) {
                unsigned styles = 0;
                styles |= emphasis > 0 ? InlineRun::emphasis : 0u;
                styles |= strong > 0 ? InlineRun::strong : 0u;
                styles |= strikethrough > 0 ? InlineRun::strikethrough : 0u;
                styles |= node.isCode ? InlineRun::code : 0u;
                const QUrl link = links.empty() ? QUrl() : links.back();
                if (!runs.isEmpty() && runs.last().styles == styles && runs.last().link == link) {
                    runs.last().text += node.text;
                } else {
                    runs.append(InlineRun{node.text, styles, link});
                }
            }
            for (const Marker& marker : node.after) {
                apply(marker);
            }
        }
        return runs;
    }

    QStringView m_s;
    QString m_pending;
    std::vector<Node> m_nodes;
    std::vector<Delimiter> m_delimiters;
    qsizetype m_head = -1;
    qsizetype m_tail = -1;
    std::vector<Bracket> m_brackets;
    // Brackets below this index can no longer open a link.
    std::size_t m_activeFloor = 0;
    bool m_backticksIndexed = false;
    QHash<qsizetype, BacktickRuns> m_backtickRuns;

    bool m_findRestart;
    // The furthest position any decision so far looked at.
    qsizetype m_horizon = 0;
    // Delimiters before this index were matched as closers already.
    qsizetype m_processed = 0;
    OpenersBottom m_openersBottom = openersBottomAt(-1);
    qsizetype m_restart = 0;
    qsizetype m_restartNode = 0;
};

} // namespace

QList<InlineRun> InlineMarkdownParser::parse(QStringView source) {
    return Parser(source).parse();
}

namespace {

void appendRuns(QList<InlineRun>& runs, const QList<InlineRun>& more) {
    if (more.isEmpty()) {
        return;
    }
    qsizetype from = 0;
    if (!runs.isEmpty() && runs.last().styles == more.front().styles &&
        runs.last().link == more.front().link) {
        runs.last().text += more.front().text;
        from = 1;
    }
    runs.append(more.mid(from));
}

} // namespace

QList<InlineRun> InlineMarkdownParser::parse(QStringView source, Restart& restart) {
    if (restart.position > source.size()) {
        restart = Restart();
    }
    qsizetype position = 0;
    QList<InlineRun> before;
    const QList<InlineRun> after =
        Parser(source.mid(restart.position), true).parse(position, before);
    if (position > 0) {
        appendRuns(restart.runs, before);
        restart.position += position;
    }
    QList<InlineRun> runs = restart.runs;
    appendRuns(runs, after);
    return runs;
}

QString InlineMarkdownParser::plainText(const QList<InlineRun>& runs) {
    QString text;
    for (const InlineRun& run : runs) {
        text += run.text;
    }
    return text;
}

} // namespace plimbo
