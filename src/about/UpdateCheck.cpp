#include "about/UpdateCheck.h"

#include "platform/Cp1252.h"

#include <QList>
#include <QStringList>
#include <QUrl>

namespace updatecheck {

int weekOfYear(const QDate& date)
{
    // Sunday is 0, as the week starts on Sunday.
    const int firstWeekday = QDate(date.year(), 1, 1).dayOfWeek() % 7;
    return (date.dayOfYear() + firstWeekday + 6) / 7;
}

std::optional<int> storedWeek(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < -32768 || n > 32767)
        return std::nullopt;
    return n;
}

bool checkDue(const QString& lastCheck, int week)
{
    const std::optional<int> stored = storedWeek(lastCheck);
    return !stored || *stored != week;
}

VersionFile parseVersionFile(QByteArrayView bytes)
{
    const QString text = platform::cp1252::decode(bytes);
    VersionFile file;
    qsizetype pos = 0;
    while (pos < text.size() && file.lineCount < 3) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QString line = text.mid(pos, end - pos);
        ++file.lineCount;
        if (file.lineCount == 2)
            file.webVersion = line.trimmed();
        else if (file.lineCount == 3)
            file.downloadAddress = line.trimmed();
        pos = end;
        if (pos < text.size() && text[pos] == u'\r')
            ++pos;
        if (pos < text.size() && text[pos] == u'\n' && (pos == end || text[pos - 1] == u'\r'))
            ++pos;
    }
    return file;
}

qint64 numericValue(QStringView part)
{
    constexpr qint64 kCap = 999'999'999;
    qsizetype i = 0;
    while (i < part.size() && (part[i] == u' ' || part[i] == u'\t'))
        ++i;
    qint64 value = 0;
    for (; i < part.size() && part[i] >= u'0' && part[i] <= u'9'; ++i)
        value = qMin(kCap, value * 10 + (part[i].unicode() - u'0'));
    return value;
}

Comparison compareVersions(const QString& webVersion, const QString& currentVersion)
{
    const QStringList web = webVersion.split(u'.');
    const QStringList own = currentVersion.split(u'.');
    if (web.size() < 3 || own.size() < 3)
        return Comparison::Unreadable;
    for (int i = 0; i < 3; ++i) {
        const qint64 w = numericValue(web.at(i));
        const qint64 o = numericValue(own.at(i));
        if (w != o)
            return w > o ? Comparison::Newer : Comparison::Ahead;
    }
    return Comparison::Same;
}

Comparison resultOf(const VersionFile& file, const QString& currentVersion)
{
    if (file.lineCount < 3)
        return Comparison::Unreadable;
    return compareVersions(file.webVersion, currentVersion);
}

QString progressText(qint64 bytesRead, qint64 bytesTotal)
{
    return QString::number(bytesRead) + QStringLiteral(" bytes of ") + QString::number(bytesTotal) +
           QStringLiteral(" bytes configuration data retreived");
}

QString versionsText(const QString& currentVersion, const QString& webVersion)
{
    return QStringLiteral("Your version: ") + currentVersion + QStringLiteral("    Web version: ") +
           webVersion;
}

QString resultText(Comparison result)
{
    switch (result) {
    case Comparison::Newer:
        return QStringLiteral(
            "A new version is available. Click on the 'Update' button to open Brackenhold in "
            "your webbrowser and download the update.");
    case Comparison::Same:
        return QStringLiteral("You already have the most current version. Click 'Close' to continue.");
    case Comparison::Ahead:
        return QStringLiteral("For unknown reasons your version is more recent than the official version.");
    case Comparison::Unreadable:
        break;
    }
    return QStringLiteral("The version information could not be read. Click 'Close' to continue.");
}

QString connectionErrorText()
{
    return QStringLiteral("Error connecting to host.  Unable to complete Live Update.");
}

bool isWebAddress(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == u"http" || scheme == u"https";
}

QString addressToOpen(const QString& downloadAddress, const QString& fallback)
{
    return isWebAddress(downloadAddress) ? downloadAddress.trimmed() : fallback;
}

QString temporaryFolder(const QString& tempVariable, const QString& privateFolder)
{
    QString folder = tempVariable.isEmpty() ? privateFolder : tempVariable;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace updatecheck
