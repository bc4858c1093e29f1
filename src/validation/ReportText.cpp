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
    QByteArray out;
    for (const QString& line : lines) {
        out += platform::cp1252::encode(line);
        out += "\r\n";
    }
    return out;
}

} // namespace ReportText
