#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The rules behind the two parking fields of an entry: the parking-type
// drop-down (atc_parking_types) and the parking-code picker that fills
// atc_parking_codes from the airline list in parkingspecs.mdb.
namespace ParkingCodes {

// The most codes atc_parking_codes may hold.
inline constexpr int kMaxCodes = 5;

// The airline list's file in the program folder, and its table.
inline const QString kDatabaseFile = QStringLiteral("parkingspecs.mdb");
inline const QString kTable = QStringLiteral("parkingSpecs");

// ---- parking types -------------------------------------------------------

// The six parking types, in the order of the drop-down list.
const QStringList& parkingTypes();

// The list positions to tick for a caption: each part between commas that
// equals a type exactly (letter case and blanks included).
QList<int> typesToTick(const QString& caption);

// The caption for the list's ticks: the ticked types joined by "," in list
// order; empty text when none is ticked.
QString captionFor(const QStringList& items, const QList<bool>& ticked);

// ---- parking codes --------------------------------------------------------

// "<n> of 5": 0 for empty codes, else the number of commas + 1.
QString counterText(const QString& codes);

enum class Outcome
{
    Added,
    Removed,
    LimitReached, // five codes already: nothing added
    Ignored,      // a row without a code
};

struct Toggle
{
    Outcome outcome = Outcome::Ignored;
    QString codes; // the codes text afterwards
};

// What a click on an airline's `code` makes of the codes text: a code that is
// one of the codes (compared whole, letter case counting, blanks around a code
// ignored) goes, every copy of it; any other code is appended after a comma
// unless the text already holds four commas. A code that only stands inside
// a longer one (AB in ABC) is not one of the codes and is added.
Toggle toggleCode(const QString& codes, const QString& code);

// ---- the airline list -------------------------------------------------------

struct Airline
{
    QString name;
    QString code;
};

struct Listing
{
    bool ok = false;
    QString error;
    QList<Airline> rows; // in the file's order
};

// The path of parkingspecs.mdb in `folder` (name matched without regard to
// case); empty when there is no such file.
QString findDatabase(const QString& folder);

// The parkingspecs.mdb that is read: the one in `chosenFolder` when a folder
// is chosen, else the first found in `defaultFolders`, looked through in
// order; empty when there is none.
QString locateDatabase(const QString& chosenFolder, const QStringList& defaultFolders);

// Reads the Airline and Code of every row of the airline list.
Listing readDatabase(const QString& path);

// Jet's LIKE: '%' any run of characters, '_' exactly one, letters compared
// without regard to case, every other character stands for itself.
bool likeMatches(QStringView text, QStringView pattern);

// The rows whose airline name contains `filter` in the LIKE sense
// (Airline LIKE '%filter%'); every row for an empty filter.
QList<Airline> filtered(const QList<Airline>& rows, const QString& filter);

} // namespace ParkingCodes
