#include "mainwindow/EditorText.h"

#include "platform/Cp1252.h"

#include <QList>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace editortext {

namespace {

struct FileLine
{
    QStringView text;
    QStringView end; // CR LF, LF, CR, or empty for a last line without one
};

// The lines of a file's text with their ends; text that ends with a line
// end gives a last, empty line, as the editor's text does.
QList<FileLine> fileLines(QStringView text)
{
    QList<FileLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        const qsizetype endLength = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        lines.append({text.sliced(start, i - start), text.sliced(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    lines.append({text.sliced(start), QStringView()});
    return lines;
}

// The pairs (old line, new line) a shortest edit script keeps unchanged, in
// order; none when that script needs more than `maxEdits` insertions and
// deletions. The greedy algorithm of E. W. Myers: time and memory grow with
// the number of edits, not with the length of the texts.
std::optional<QList<std::pair<qsizetype, qsizetype>>> keptLines(const QList<QStringView>& a,
                                                                 const QList<QStringView>& b, int maxEdits)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    const qsizetype limit = std::min<qsizetype>(n + m, maxEdits);
    const qsizetype offset = limit + 1;
    std::vector<qsizetype> v(size_t(2 * limit + 3), 0);
    std::vector<std::vector<qsizetype>> trace;
    for (qsizetype d = 0; d <= limit; ++d) {
        trace.push_back(v);
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = k == -d || (k != d && v[size_t(offset + k - 1)] < v[size_t(offset + k + 1)])
                              ? v[size_t(offset + k + 1)]
                              : v[size_t(offset + k - 1)] + 1;
            qsizetype y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[size_t(offset + k)] = x;
            if (x < n || y < m)
                continue;
            // Walk the script back from the end, collecting the diagonals.
            QList<std::pair<qsizetype, qsizetype>> kept;
            for (qsizetype step = d; step >= 0; --step) {
                const std::vector<qsizetype>& before = trace[size_t(step)];
                const qsizetype kk = x - y;
                qsizetype prevX = 0;
                qsizetype prevY = 0;
                if (step > 0) {
                    const bool down = kk == -step || (kk != step && before[size_t(offset + kk - 1)] <
                                                                        before[size_t(offset + kk + 1)]);
                    const qsizetype prevK = down ? kk + 1 : kk - 1;
                    prevX = before[size_t(offset + prevK)];
                    prevY = prevX - prevK;
                }
                while (x > prevX && y > prevY) {
                    --x;
                    --y;
                    kept.append({x, y});
                }
                x = prevX;
                y = prevY;
            }
            std::reverse(kept.begin(), kept.end());
            return kept;
        }
    }
    return std::nullopt;
}

// More edits than this between the first and the last changed line, and the
// changed stretch is matched line for line instead.
constexpr int kMaxEdits = 1000;

QString lineEndText(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::CrLf:
        return QStringLiteral("\r\n");
    case LineEnd::Cr:
        return QStringLiteral("\r");
    case LineEnd::Lf:
        break;
    }
    return QStringLiteral("\n");
}

} // namespace

LineEnd detectLineEnd(QStringView fileText)
{
    qsizetype crlf = 0, lf = 0, cr = 0;
    for (qsizetype i = 0; i < fileText.size(); ++i) {
        if (fileText[i] == u'\r') {
            if (i + 1 < fileText.size() && fileText[i + 1] == u'\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (fileText[i] == u'\n') {
            ++lf;
        }
    }
    if (crlf >= lf && crlf >= cr)
        return LineEnd::CrLf;
    return lf >= cr ? LineEnd::Lf : LineEnd::Cr;
}

QString toEditorText(QStringView fileText)
{
    // Written in place: reports of several megabytes come through here.
    QString out(fileText.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    const QChar* src = fileText.data();
    const QChar* const end = src + fileText.size();
    while (src != end) {
        const QChar c = *src++;
        if (c == u'\r') {
            if (src != end && *src == u'\n')
                ++src;
            *dst++ = u'\n';
        } else {
            *dst++ = c;
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

QString withLineEnds(QStringView editorText, LineEnd lineEnd)
{
    QString out = editorText.toString();
    switch (lineEnd) {
    case LineEnd::CrLf:
        out.replace(u'\n', QStringLiteral("\r\n"));
        break;
    case LineEnd::Cr:
        out.replace(u'\n', u'\r');
        break;
    case LineEnd::Lf:
        break;
    }
    return out;
}

QString withOwnLineEnds(QStringView fileText, QStringView editorText, LineEnd newLines)
{
    const QList<FileLine> old = fileLines(fileText);
    QList<QStringView> now;
    for (qsizetype start = 0;;) {
        const qsizetype lf = editorText.indexOf(u'\n', start);
        if (lf < 0) {
            now.append(editorText.sliced(start));
            break;
        }
        now.append(editorText.sliced(start, lf - start));
        start = lf + 1;
    }

    // source[j]: the old line whose end new line j takes; -1 for a new line.
    QList<qsizetype> source(now.size(), -1);
    qsizetype head = 0;
    while (head < old.size() && head < now.size() && old[head].text == now[head]) {
        source[head] = head;
        ++head;
    }
    qsizetype tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           old[old.size() - 1 - tail].text == now[now.size() - 1 - tail]) {
        source[now.size() - 1 - tail] = old.size() - 1 - tail;
        ++tail;
    }
    QList<QStringView> a;
    for (qsizetype i = head; i < old.size() - tail; ++i)
        a.append(old[i].text);
    const QList<QStringView> b = now.mid(head, now.size() - head - tail);
    QList<std::pair<qsizetype, qsizetype>> kept = keptLines(a, b, kMaxEdits).value_or(decltype(kept)());
    // Between two kept lines, the changed lines replace the removed ones
    // counted from the stretch's end: a line broken in two keeps its end on
    // its second part, two lines joined keep the second one's end. A
    // sentinel closes the last stretch.
    kept.append({a.size(), b.size()});
    qsizetype i0 = 0;
    qsizetype j0 = 0;
    for (const auto& [i1, j1] : kept) {
        for (qsizetype t = 0; t < std::min(i1 - i0, j1 - j0); ++t)
            source[head + j1 - 1 - t] = head + i1 - 1 - t;
        if (i1 < a.size())
            source[head + j1] = head + i1;
        i0 = i1 + 1;
        j0 = j1 + 1;
    }

    const QString fresh = lineEndText(newLines);
    QString out;
    out.reserve(editorText.size() + now.size());
    for (qsizetype j = 0; j < now.size(); ++j) {
        out += now[j];
        if (j + 1 == now.size())
            break;
        const QStringView end = source[j] >= 0 ? old[source[j]].end : QStringView();
        if (end.isEmpty())
            out += fresh;
        else
            out += end;
    }
    return out;
}

qsizetype firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!platform::cp1252::canEncode(text.sliced(i, 1)))
            return i;
    }
    return -1;
}

qsizetype findText(QStringView text, QStringView what, qsizetype from)
{
    if (what.isEmpty())
        return -1;
    return text.indexOf(what, from < 0 ? 0 : from, Qt::CaseInsensitive);
}

qsizetype findAgainStart(qsizetype selectionStart, qsizetype selectionLength)
{
    // The classic search starts at the 1-based position start + length, which
    // is the selection's last character; 0-based that is one less. With no
    // selection at the start of the text this would be -1: start at the top.
    const qsizetype start = selectionStart + selectionLength - 1;
    return start < 0 ? 0 : start;
}

QString mruCaption(int number, QStringView path)
{
    return u'&' + QString::number(number) + u' ' + path;
}

QString mruPath(QStringView caption)
{
    return caption.size() > 3 ? caption.sliced(3).toString() : QString();
}

QString mruMovedCaption(int number, QStringView caption)
{
    const qsizetype blank = caption.indexOf(u' ');
    return mruCaption(number, blank < 0 ? QStringView() : caption.sliced(blank + 1));
}

} // namespace editortext
