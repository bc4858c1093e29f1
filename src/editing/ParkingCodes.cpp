#include "editing/ParkingCodes.h"

#include "platform/MdbReader.h"
#include "platform/PathResolver.h"
#include "platform/WildcardMatch.h"
#include "shared/modGlobal.h"

namespace ParkingCodes {

const QStringList& parkingTypes()
{
    static const QStringList types = {QStringLiteral("CARGO"),      QStringLiteral("DOCK"),
                                      QStringLiteral("GATE"),       QStringLiteral("MIL_CARGO"),
                                      QStringLiteral("MIL_COMBAT"), QStringLiteral("RAMP")};
    return types;
}

QList<int> typesToTick(const QString& caption)
{
    QList<int> ticks;
    const QStringList& types = parkingTypes();
    for (const QString& part : caption.split(u',')) {
        const auto at = types.indexOf(part);
        if (at >= 0 && !ticks.contains(static_cast<int>(at)))
            ticks.append(static_cast<int>(at));
    }
    return ticks;
}

QString captionFor(const QStringList& items, const QList<bool>& ticked)
{
    QStringList parts;
    for (qsizetype i = 0; i < items.size() && i < ticked.size(); ++i) {
        if (ticked[i])
            parts.append(items[i]);
    }
    return parts.join(u',');
}

QString counterText(const QString& codes)
{
    const qint32 count = codes.isEmpty() ? 0 : modGlobal::CountCommas(codes) + 1;
    return QString::number(count) + QStringLiteral(" of 5");
}

Toggle toggleCode(const QString& codes, const QString& code)
{
    // A row without a code has nothing to add, and "removing" it would only
    // strip empty places between commas.
    if (code.trimmed().isEmpty())
        return {Outcome::Ignored, codes};
    const QString wanted = code.trimmed();
    if (codes.isEmpty())
        return {Outcome::Added, wanted};

    QStringList parts = codes.split(u',');
    const auto before = parts.size();
    parts.removeIf([&wanted](const QString& part) { return part.trimmed() == wanted; });
    if (parts.size() != before)
        return {Outcome::Removed, parts.join(u',')};

    if (modGlobal::CountCommas(codes) >= kMaxCodes - 1)
        return {Outcome::LimitReached, codes};
    return {Outcome::Added, codes + u',' + wanted};
}

QString findDatabase(const QString& folder)
{
    const QString path = platform::paths::resolveUnder(folder, kDatabaseFile);
    return platform::paths::regularFileExists(path) ? path : QString();
}

QString locateDatabase(const QString& chosenFolder, const QStringList& defaultFolders)
{
    if (!chosenFolder.isEmpty())
        return findDatabase(chosenFolder);
    for (const QString& folder : defaultFolders) {
        if (const QString path = findDatabase(folder); !path.isEmpty())
            return path;
    }
    return {};
}

Listing readDatabase(const QString& path)
{
    const platform::mdb::TableRows table =
        platform::mdb::readTable(path, kTable, {QStringLiteral("Airline"), QStringLiteral("Code")});
    Listing listing;
    listing.ok = table.ok;
    listing.error = table.error;
    listing.rows.reserve(table.rows.size());
    for (const QStringList& row : table.rows)
        listing.rows.append({row.value(0), row.value(1)});
    return listing;
}

bool likeMatches(QStringView text, QStringView pattern)
{
    return platform::wildcardMatches(pattern, text, u'%', u'_', [](QChar a, QChar b) {
        return a == b || a.toCaseFolded() == b.toCaseFolded();
    });
}

QList<Airline> filtered(const QList<Airline>& rows, const QString& filter)
{
    if (filter.isEmpty())
        return rows;
    const QString pattern = u'%' + filter + u'%';
    QList<Airline> out;
    for (const Airline& row : rows) {
        if (likeMatches(row.name, pattern))
            out.append(row);
    }
    return out;
}

} // namespace ParkingCodes
