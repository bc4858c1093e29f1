#include "editing/AircraftCfg.h"

#include "platform/HexDigit.h"
#include "platform/PathResolver.h"
#include "shared/modGlobal.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <QDir>
#include <QHash>
#include <QFileInfo>

namespace AircraftCfg {

namespace {

constexpr auto kDefault = QLatin1StringView("<default>");

// Left$(name, n) lower-cased, compared with an ASCII literal.
bool prefixIs(QStringView text, QLatin1StringView lowerPrefix)
{
    return text.left(lowerPrefix.size()).toString().toLower() == lowerPrefix;
}

bool sameKey(QStringView keyName, const char* lowerKey)
{
    const QLatin1StringView wanted(lowerKey);
    if (keyName.size() != wanted.size()) {
        // Lower-casing keeps the length of all but a few non-ASCII letters.
        for (const QChar c : keyName) {
            if (c.unicode() >= 0x80)
                return keyName.toString().toLower() == wanted;
        }
        return false;
    }
    for (qsizetype i = 0; i < keyName.size(); ++i) {
        const char16_t c = keyName[i].unicode();
        if (c >= 0x80)
            return keyName.toString().toLower() == wanted;
        const char16_t lower = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
        if (lower != wanted[i].unicode())
            return false;
    }
    return true;
}

constexpr std::array<EntryKey, kEntryKeyCount> kEntryKeys = {{
    {"title", 2, ReadRule::Stripped},
    {"atc_parking_types", 3, ReadRule::StrippedUpper},
    {"atc_parking_codes", 4, ReadRule::Stripped},
    {"ui_createdby", 5, ReadRule::Stripped},
    {"ui_typerole", 6, ReadRule::Stripped},
    {"ui_manufacturer", 7, ReadRule::Stripped},
    {"ui_type", 8, ReadRule::Stripped},
    {"ui_variation", 9, ReadRule::Stripped},
    {"model", 10, ReadRule::FileFolder},
    {"sim", 11, ReadRule::Stripped},
    {"atc_id", 12, ReadRule::Stripped},
    {"atc_flight_number", 13, ReadRule::Stripped},
    {"atc_airline", 14, ReadRule::Stripped},
    {"atc_heavy", 15, ReadRule::Stripped},
    {"atc_model", 16, ReadRule::Stripped},
    {"texture", 17, ReadRule::FileFolder},
    {"description", 0, ReadRule::Raw},
}};

constexpr std::array<EffectSlot, kEffectSlotCount> kEffectSlots = {{
    {"wake", "fx_wake", false},
    {"water", "fx_spray", false},
    {"dirt", "fx_tchdrt", false},
    {"concrete", "fx_sparks", false},
    {"touchdown", "fx_tchdwn", true},
    {"contrail", "fx_contrail_l", false},
    {"startup", "fx_engstrt", true},
    {"vaportrail_l", "fx_vaportrail_l", false},
    {"vaportrail_r", "fx_vaportrail_r", false},
    {"l_wingtipvortice", "fx_wingtipvortice_l", true},
    {"r_wingtipvortice", "fx_wingtipvortice_r", true},
}};

bool isValSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "&H" and "&O" literals give 16-bit numbers while they fit and 32-bit numbers
// after that, both signed, as Basic reads them.
double basedLiteral(const QString& s, qsizetype i, int base)
{
    quint64 value = 0;
    bool any = false;
    for (; i < s.size(); ++i) {
        const int d = platform::hexDigit(s[i]);
        if (d < 0 || d >= base)
            break;
        value = value * static_cast<quint64>(base) + static_cast<quint64>(d);
        any = true;
        if (value > 0xFFFFFFFFull)
            return 0; // Basic stops with an overflow here; read it as no number
    }
    if (!any)
        return 0;
    if (value <= 0xFFFF)
        return static_cast<qint16>(static_cast<quint16>(value));
    return static_cast<qint32>(static_cast<quint32>(value));
}

// One exit part: trimmed of blanks and cut before the first blank left inside,
// which drops whatever follows the number. Tabs count as blanks here, so a
// tab-separated remark cannot end up in a box.
QString exitPart(QStringView part)
{
    auto isBlank = [](QChar c) {
        return c == u' ' || c == u'\t';
    };
    qsizetype from = 0;
    while (from < part.size() && isBlank(part[from]))
        ++from;
    qsizetype to = from;
    while (to < part.size() && !isBlank(part[to]))
        ++to;
    return part.mid(from, to - from).toString();
}

} // namespace

// ---- Sections -------------------------------------------------------------

bool isEntrySection(QStringView name)
{
    return prefixIs(name, QLatin1StringView("fltsim."));
}

bool isEffectsSection(QStringView name)
{
    return prefixIs(name, QLatin1StringView("effects"));
}

bool isGeneralSection(QStringView name)
{
    return name.toString().toLower() == u"general";
}

SectionKind sectionKind(QStringView name)
{
    if (isEntrySection(name))
        return SectionKind::Entry;
    if (isEffectsSection(name))
        return SectionKind::Effects;
    if (isGeneralSection(name))
        return SectionKind::General;
    return SectionKind::Other;
}

// ---- Entry keys -----------------------------------------------------------

const std::array<EntryKey, kEntryKeyCount>& entryKeys()
{
    return kEntryKeys;
}

int entryKeyIndex(QStringView keyName)
{
    // A name of plain ASCII letters only matches a table name of its length.
    static constexpr std::array<qsizetype, kEntryKeyCount> kLengths = [] {
        std::array<qsizetype, kEntryKeyCount> lengths{};
        for (size_t i = 0; i < lengths.size(); ++i)
            lengths[i] = static_cast<qsizetype>(std::char_traits<char>::length(kEntryKeys[i].key));
        return lengths;
    }();
    const bool ascii =
        std::all_of(keyName.begin(), keyName.end(), [](QChar c) { return c.unicode() < 0x80; });
    for (int i = 0; i < kEntryKeyCount; ++i) {
        const char* key = kEntryKeys[static_cast<size_t>(i)].key;
        if (ascii && keyName.size() != kLengths[static_cast<size_t>(i)])
            continue;
        if (sameKey(keyName, key))
            return i;
    }
    return -1;
}

QString readEntryValue(int index, const QString& value)
{
    if (index < 0 || index >= kEntryKeyCount)
        return modGlobal::StripComment(value);
    switch (kEntryKeys[static_cast<size_t>(index)].rule) {
    case ReadRule::Stripped:
        return modGlobal::StripComment(value);
    case ReadRule::StrippedUpper:
        return modGlobal::StripComment(value).toUpper();
    case ReadRule::FileFolder:
        return fileFolderText(value);
    case ReadRule::Raw:
        return value;
    }
    return value;
}

QString fileFolderText(const QString& value)
{
    // The comment goes first: turning "//" into "\\" beforehand would keep it.
    QString shown = modGlobal::StripComment(value);
    if (shown.isEmpty())
        return kDefault;
    shown.replace(u'/', u'\\');
    return shown;
}

QString fileFolderWriteText(const QString& shown)
{
    return shown == kDefault ? QStringLiteral(" ") : shown;
}

double leadingNumber(QStringView text)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (!isValSkipped(c))
            s.append(c);
    }

    if (s.startsWith(u'&')) {
        if (s.size() > 1 && (s[1] == u'h' || s[1] == u'H'))
            return basedLiteral(s, 2, 16);
        if (s.size() > 1 && (s[1] == u'o' || s[1] == u'O'))
            return basedLiteral(s, 2, 8);
        return basedLiteral(s, 1, 8);
    }

    // Collect sign, mantissa and exponent into C-locale text for the conversion.
    QByteArray number;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        number.append(static_cast<char>(s[i++].unicode()));
    bool digits = false;
    while (i < s.size() && isAsciiDigit(s[i])) {
        number.append(static_cast<char>(s[i++].unicode()));
        digits = true;
    }
    if (i < s.size() && s[i] == u'.') {
        number.append('.');
        ++i;
        while (i < s.size() && isAsciiDigit(s[i])) {
            number.append(static_cast<char>(s[i++].unicode()));
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent.append(static_cast<char>(s[j++].unicode()));
        const qsizetype expStart = j;
        while (j < s.size() && isAsciiDigit(s[j]))
            exponent.append(static_cast<char>(s[j++].unicode()));
        if (j > expStart)
            number.append(exponent);
    }
    bool ok = false;
    const double value = QString::fromLatin1(number).toDouble(&ok);
    // Basic stops with an overflow for numbers beyond a double; read them as none.
    if (!ok || !std::isfinite(value) || value == 0)
        return 0;
    return value;
}

bool atcHeavyTicked(const QString& value)
{
    return leadingNumber(value) == 1.0;
}

QString atcHeavyWriteText(bool ticked)
{
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

// ---- Wing span ------------------------------------------------------------

QString wingSpanWriteText(const QString& typed)
{
    QString text = typed;
    text.replace(u',', u'.');
    return text;
}

// ---- Exits ----------------------------------------------------------------

int exitIndex(QStringView keyName)
{
    static const char* const keys[kExitCount] = {"exit.0", "exit.1", "exit.2"};
    for (int i = 0; i < kExitCount; ++i) {
        if (sameKey(keyName, keys[i]))
            return i;
    }
    return -1;
}

ExitValue parseExit(const QString& value)
{
    ExitValue exit;
    const qsizetype commentAt = value.indexOf(u"//");
    if (commentAt >= 0)
        exit.comment = value.mid(commentAt);
    // Only the text before the comment holds fields, so commas or numbers in a
    // remark never land in a box (and the remark is not written back twice).
    const QStringView fields = commentAt >= 0 ? QStringView(value).left(commentAt) : QStringView(value);
    const QList<QStringView> parts = fields.split(u',');
    for (int b = 0; b < kExitBoxCount && b < parts.size(); ++b)
        exit.boxes[static_cast<size_t>(b)] = exitPart(parts[b]);
    exit.allParts = parts.size() >= kExitBoxCount;
    exit.parts = static_cast<int>(std::min<qsizetype>(parts.size(), kExitBoxCount));
    return exit;
}

bool exitComplete(const ExitBoxes& boxes)
{
    return std::all_of(boxes.begin(), boxes.end(), [](const QString& b) { return !b.isEmpty(); });
}

QString exitWriteText(const ExitBoxes& boxes, const QString& comment)
{
    QStringList texts;
    for (const QString& box : boxes) {
        QString t = box;
        t.replace(u',', u'.');
        texts.append(t);
    }
    return u' ' + texts.join(QStringLiteral(", ")) + QString(12, u' ') + comment;
}

// ---- Effects --------------------------------------------------------------

const std::array<EffectSlot, kEffectSlotCount>& effectSlots()
{
    return kEffectSlots;
}

int effectSlotIndex(QStringView keyName)
{
    for (int i = 0; i < kEffectSlotCount; ++i) {
        if (sameKey(keyName, kEffectSlots[static_cast<size_t>(i)].key))
            return i;
    }
    return -1;
}

EffectValue parseEffect(const QString& value)
{
    EffectValue effect;
    const qsizetype comma = value.indexOf(u',');
    effect.file = comma < 0 ? value : value.left(comma);
    QString compact = value;
    compact.remove(u' ');
    effect.once = compact.contains(u",1");
    return effect;
}

QString effectWriteText(const QString& file, bool once)
{
    return once ? file + QStringLiteral(",1") : file;
}

// ---- Rows and sections ----------------------------------------------------

QList<EntryRef> entryRefs(const QStringList& sectionNames)
{
    QList<EntryRef> out;
    QHash<QString, int> seen;
    out.reserve(sectionNames.size());
    seen.reserve(sectionNames.size());
    for (qsizetype i = 0; i < sectionNames.size(); ++i) {
        const QString& name = sectionNames[i];
        if (isEntrySection(name))
            out.append({name, seen[name.toCaseFolded()]++, static_cast<int>(i)});
    }
    return out;
}

std::optional<EntryRef> entryAt(const QStringList& sectionNames, int row)
{
    const QList<EntryRef> refs = entryRefs(sectionNames);
    if (row < 0 || row >= refs.size())
        return std::nullopt;
    return refs[row];
}

QString rowText(const QString& sectionName)
{
    return modGlobal::StripComment(sectionName.toUpper());
}

// ---- Backup copy ----------------------------------------------------------

QString backupPathFor(const QString& cfgPath)
{
    return cfgPath.left(std::max<qsizetype>(0, cfgPath.size() - 4)) + QStringLiteral(".zib");
}

platform::fileio::Result makeBackupOnce(const QString& cfgPath, bool* created)
{
    if (created)
        *created = false;
    const QString wanted = backupPathFor(cfgPath);
    const QString source = QDir::isAbsolutePath(cfgPath)
                               ? platform::paths::resolvePath(cfgPath)
                               : platform::paths::resolveUnder(QDir::currentPath(), cfgPath);
    // The name in any letter case: an existing backup is the one backup.
    const QString target = QDir::isAbsolutePath(wanted)
                               ? platform::paths::resolvePath(wanted)
                               : platform::paths::resolveUnder(QDir::currentPath(), wanted);
    const QFileInfo there(target);
    if (there.isSymLink() || (there.exists() && !there.isFile())) {
        // Only a regular file is a backup. A link (dangling or not), a folder
        // or anything else at the name means no copy is kept: stop the command.
        return platform::fileio::Result::failure(
            QStringLiteral("%1: stands where the backup copy belongs but is not a file; nothing was written")
                .arg(target));
    }
    if (there.exists())
        return {}; // never refreshed
    return platform::fileio::copyIfAbsent(source, target, created);
}

} // namespace AircraftCfg
