#include "validation/ReportText.h"

#include "platform/Cp1252.h"
#include "shared/AppInfo.h"

namespace ReportText {

QString headerPrefix(const QString& date, const QString& time)
{
    return QStringLiteral("Fernquill V.") + appinfo::versionText() + QStringLiteral(" - ") + date + u' ' + time +
           QStringLiteral(" - ");
}

QByteArray encodeLines(const QStringList& lines)
{
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QByteArray out;
    out.reserve(size);
    for (const QString& line : lines) {
        out += platform::cp1252::encode(line);
        out += "\r\n";
    }
    return out;
}

} // namespace ReportText
