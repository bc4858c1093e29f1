#include "shared/modGlobal.h"

#include "platform/Cp1252.h"
#include "platform/PathResolver.h"
#include "platform/ProfileEngine.h"
#include "shared/Globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <limits>

namespace modGlobal {

namespace {

constexpr QChar kBlank = u' ';
constexpr QChar kListSeparator = u'\u00A6'; // "¦"

// Lets waiting window events run while a file is read. Processing events after
// every single line makes reading a long file crawl, so after the first line
// they run at most every few milliseconds; a waiting click is still handled
// long before a user notices. Painting is held back further (KeepPainting).
class EventPump
{
public:
    EventPump() { m_clock.start(); }
    void lineRead()
    {
        if (m_first || m_clock.elapsed() >= kIntervalMs) {
            m_first = false;
            // Windows repaint and timers run; clicks and keys wait, so no
            // command starts again in the middle of the one reading the file.
            KeepPainting();
            m_clock.restart();
        }
    }

private:
    static constexpr qint64 kIntervalMs = 10;
    QElapsedTimer m_clock;
    bool m_first = true;
};

// A repaint costs far more than the events around it, and a window painted in
// the middle of a command is painted again at its end. While events run, the
// windows' paint requests are held back and posted again afterwards, so they
// paint at the next turn that lets them: at the latest when the command ends.
class PaintsHeld : public QObject
{
public:
    PaintsHeld() { QCoreApplication::instance()->installEventFilter(this); }
    ~PaintsHeld() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (const QPointer<QObject>& window : std::as_const(m_held)) {
            if (window)
                QCoreApplication::postEvent(window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
        }
    }
    PaintsHeld(const PaintsHeld&) = delete;
    PaintsHeld& operator=(const PaintsHeld&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest || !watched->isWidgetType())
            return false;
        if (!m_held.contains(watched))
            m_held.append(watched);
        return true;
    }

private:
    QList<QPointer<QObject>> m_held;
};

// Long work calls KeepPainting over and over; the windows paint at most this
// often meanwhile, the first time once the work has gone on that long.
constexpr qint64 kPaintIntervalMs = 250;

QElapsedTimer& lastEvents()
{
    static QElapsedTimer clock;
    return clock;
}

constexpr qint64 kBatchEventIntervalMs = 200;

QString resolveFileName(const QString& fileName)
{
    if (QDir::isAbsolutePath(fileName))
        return platform::paths::resolvePath(fileName);
    return platform::paths::resolveUnder(QDir::currentPath(), fileName);
}

bool isDigitIn(QChar c, int base)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0' < base;
    if (base == 16)
        return (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
    return false;
}

qsizetype skipDigits(QStringView s, qsizetype i, int base)
{
    while (i < s.size() && isDigitIn(s[i], base))
        ++i;
    return i;
}

bool sameAsciiLetter(QChar c, char lower)
{
    return c.unicode() == static_cast<char16_t>(lower) || c.unicode() == static_cast<char16_t>(lower - 32);
}

} // namespace

bool EventsDue()
{
    return !lastEvents().isValid() || lastEvents().elapsed() >= kBatchEventIntervalMs;
}

void EventsRan(bool reset)
{
    if (reset)
        lastEvents().invalidate();
    else
        lastEvents().start();
}

void KeepPainting()
{
    if (globals::gbBatchValidate && !EventsDue())
        return;
    if (QCoreApplication::instance()) {
        // Calls further apart than the interval belong to separate pieces of
        // work: each starts its own clock.
        static QElapsedTimer lastCall;
        static QElapsedTimer lastPaint;
        const bool newWork = !lastCall.isValid() || lastCall.elapsed() >= kPaintIntervalMs;
        if (newWork)
            lastPaint.start();
        if (!newWork && lastPaint.elapsed() >= kPaintIntervalMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            lastPaint.start();
        } else {
            const PaintsHeld held;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        lastCall.start();
    }
    // Whatever ran meanwhile may have changed files.
    platform::paths::forgetLookups();
    EventsRan();
}

platform::fileio::Result FileToArray(const QString& fileName, StringArray& array)
{
    if (fileName.isEmpty())
        return {};
    const QString path = resolveFileName(fileName);
    const QFileInfo info(path);
    // Hidden files count as missing, like a listing of ordinary files shows them.
    if (!info.isFile() || info.fileName().startsWith(u'.'))
        return {};

    QFile file;
    if (auto opened = platform::fileio::openRegular(path, &file); !opened)
        return opened;

    // Lines are collected apart from the caller's array, so a read that fails
    // halfway leaves the array as it was.
    QStringList lines;
    QByteArray current;
    bool afterCr = false;
    EventPump pump;
    auto endLine = [&] {
        lines.append(StripComment(platform::cp1252::decode(current)));
        current.clear();
        pump.lineRead();
    };

    // A small file (most of them) needs no large buffer; a file that grows
    // meanwhile is read on in more chunks.
    QByteArray chunk(qsizetype(qBound(qint64(1), info.size() + 1, qint64(64 * 1024))), Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            return platform::fileio::Result::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
        if (got == 0)
            break;
        qsizetype start = 0;
        for (qsizetype i = 0; i < got; ++i) {
            const char c = chunk[i];
            if (c != '\r' && c != '\n')
                continue;
            current.append(chunk.constData() + start, i - start);
            start = i + 1;
            if (c == '\n' && afterCr) {
                afterCr = false; // second half of a CR LF pair
                continue;
            }
            afterCr = c == '\r';
            endLine();
        }
        if (start < got) {
            current.append(chunk.constData() + start, got - start);
            afterCr = false;
        }
    }
    if (!current.isEmpty())
        endLine();

    if (!lines.isEmpty())
        array = std::move(lines);
    return {};
}

QString Trim(const QString& text)
{
    return platform::profile::callerName(text);
}

QString StripComment(const QString& text)
{
    // Most values hold no '/' at all; one character is found faster than two.
    const qsizetype slash = text.indexOf(u'/');
    const qsizetype cut = slash < 0 ? -1 : text.indexOf(u"//", slash);
    return Trim(cut < 0 ? text : text.left(cut));
}

qint32 CountDelimiters(const QString& text, const QString& delimiter)
{
    if (delimiter.isEmpty())
        return 0;
    if (text.isEmpty())
        return -1;
    qint32 count = 0;
    qsizetype from = 0;
    while ((from = text.indexOf(delimiter, from)) >= 0) {
        ++count;
        from += delimiter.size();
    }
    return count;
}

int InStrNth(int n, const QString& text, const QString& search)
{
    if (n == 0)
        return 0;
    qsizetype from = 0;
    int count = 0;
    for (;;) {
        qsizetype pos = -1;
        if (search.isEmpty())
            pos = from < text.size() ? from : -1; // an empty search matches at every position
        else
            pos = text.indexOf(search, from);
        if (pos < 0)
            return -1;
        if (++count == n)
            return pos < std::numeric_limits<int>::max() ? static_cast<int>(pos + 1) : -1;
        from = pos + 1;
    }
}

QString CleanText(const QString& text, bool strict)
{
    QString s = Trim(text);
    if (strict) {
        s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        s.replace(u'\t', kBlank);
        for (QChar& c : s) {
            bool lossy = false;
            const QByteArray b = platform::cp1252::encode(QStringView(&c, 1), &lossy);
            if (lossy)
                continue; // not in the code page: neither control nor high
            const auto byte = static_cast<unsigned char>(b.at(0));
            if (byte < 32 || byte >= 127)
                c = kBlank;
        }
    }
    QString out;
    out.reserve(s.size());
    for (const QChar c : std::as_const(s)) {
        if (c == kBlank && !out.isEmpty() && out.back() == kBlank)
            continue;
        out.append(c);
    }
    return out;
}

qint32 CountCommas(const QString& text)
{
    return static_cast<qint32>(text.count(u','));
}

bool IsNumeric(const QString& text)
{
    QStringView s(text);
    while (!s.isEmpty() && (s.front() == kBlank || s.front() == u'\t'))
        s = s.mid(1);
    while (!s.isEmpty() && (s.back() == kBlank || s.back() == u'\t'))
        s.chop(1);
    if (s.isEmpty())
        return false;

    if (s.front() == u'&') {
        int base = 8;
        qsizetype i = 1;
        if (i < s.size() && sameAsciiLetter(s[i], 'h')) {
            base = 16;
            ++i;
        } else if (i < s.size() && sameAsciiLetter(s[i], 'o')) {
            ++i;
        }
        const qsizetype end = skipDigits(s, i, base);
        return end > i && end == s.size();
    }

    qsizetype i = 0;
    if (s[i] == u'+' || s[i] == u'-')
        ++i;
    const qsizetype intEnd = skipDigits(s, i, 10);
    qsizetype digits = intEnd - i;
    i = intEnd;
    if (i < s.size() && s[i] == u'.') {
        const qsizetype fracEnd = skipDigits(s, i + 1, 10);
        digits += fracEnd - (i + 1);
        i = fracEnd;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (sameAsciiLetter(s[i], 'e') || sameAsciiLetter(s[i], 'd'))) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        const qsizetype expEnd = skipDigits(s, i, 10);
        if (expEnd == i)
            return false;
        i = expEnd;
    }
    return i == s.size();
}

QString UpperUnlessNumeric(const QString& value)
{
    return IsNumeric(value) ? value : value.toUpper();
}

bool IsInArray(QString& value, const StringArray& list)
{
    if (!list)
        return false;
    value = UpperUnlessNumeric(value);
    // Whole elements only: "3" must not match "13".
    return list->contains(value);
}

bool IsInArrayLower(QString& value, const StringArray& list)
{
    if (!list)
        return false;
    if (!IsNumeric(value))
        value = value.toLower();
    return list->contains(value);
}

// A number is looked up as it stands, in either letter case.
bool IsInArray(qint64 value, const StringArray& list)
{
    return list && list->contains(QString::number(value));
}

bool IsInArrayLower(qint64 value, const StringArray& list)
{
    return IsInArray(value, list);
}

bool IsInPipeList(const StringArray& list, const QString& search)
{
    if (!list)
        return false;
    const QString joined = kListSeparator + list->join(kListSeparator) + kListSeparator;
    return joined.toUpper().contains(search);
}

void RemoveStringArrayItem(StringArray& array, qint32 index)
{
    if (!array || index < 0 || index >= array->size())
        return;
    if (array->size() == 1) {
        array.reset();
        return;
    }
    array->removeAt(index);
}

bool IsArrayInitialized(const StringArray& array)
{
    return array.has_value();
}

bool IsArrayAllocated(const StringArray& array)
{
    return array.has_value();
}

bool ArrayHasBounds(const StringArray& array)
{
    return IsArrayAllocated(array);
}

} // namespace modGlobal
