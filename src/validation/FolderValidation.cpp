#include "validation/FolderValidation.h"

#include "editing/AircraftCfg.h"
#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "platform/ProfileEngine.h"
#include "validation/ValidationRun.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>

#include <utility>

namespace FolderValidation {

QString simulatorName(Simulator simulator)
{
    return simulator == Simulator::FS9 ? QStringLiteral("FS9") : QStringLiteral("FSX");
}

namespace detail {

namespace {

bool hasWildcard(QStringView s)
{
    return s.contains(u'*') || s.contains(u'?');
}

} // namespace

bool fileThere(const QString& path)
{
    if (hasWildcard(path))
        return platform::paths::regularFileExists(path);
    return platform::paths::isFile(path);
}

QString folderName(const QString& prefix, const QString& value)
{
    if (value.isEmpty() || value.startsWith(u'\\'))
        return prefix + value;
    return prefix + u'.' + value;
}

// Listings of the folders the run looked into, kept for the run: the names
// are all it reads from them, and the one name it changes (a stale
// zibcheck.log) goes after the last lookup. Empty when the folder cannot be read.
std::optional<QList<DirEntry>> Run::listing(const QString& dir, QString* error)
{
    if (const auto it = m_listings.constFind(dir); it != m_listings.cend())
        return *it;
    QList<DirEntry> entries;
    if (!listFolder(dir, entries, error))
        return std::nullopt;
    m_listings.insert(dir, entries);
    return entries;
}

// A name from a file, found in `dir` without regard to letter case (an exact
// match first, then the first in listing order). Single names are looked up
// in the kept listings, since nearly every name from Windows differs in case
// from what the run asks for; paths go to the platform's resolver.
QString Run::resolve(const QString& dir, const QString& relative)
{
    if (relative.isEmpty() || relative.contains(u'\\') || relative.contains(u'/') || relative == u"." ||
        relative == u"..")
        return platform::paths::resolveUnder(dir, relative);
    const std::optional<QList<DirEntry>> entries = listing(dir);
    if (entries) {
        for (const DirEntry& e : *entries) {
            if (e.name == relative)
                return joinPath(dir, e.name);
        }
        for (const DirEntry& e : *entries) {
            if (platform::paths::sameName(e.name, relative))
                return joinPath(dir, e.name);
        }
    }
    return joinPath(dir, relative);
}

Result Run::exec()
{
    m_r.flags = m_in.flags;
    m_r.simulator = m_in.simulator;
    m_r.textureFormat = m_in.textureFormat;
    m_folder = QDir::cleanPath(QFileInfo(m_in.aircraftFolder).absoluteFilePath());
    m_prefix = m_folder.endsWith(u'/') ? m_folder : m_folder + u'/';
    // The header names the folder as it is on disk: lower-casing a Linux
    // path would name another folder.
    m_r.aircraftFolderText = m_prefix;

    try {
        if (!QFileInfo(m_folder).isDir())
            throw RunError{QStringLiteral("%1: the folder does not exist").arg(m_folder)};
        // The profile functions read an unreadable file as an empty one;
        // read it once here so such a file ends the run instead.
        QByteArray cfg;
        if (const auto r = platform::fileio::readAllFresh(m_in.aircraftCfg, &cfg); !r)
            throw RunError{r.error};

        if (m_in.airlinesFound) {
            for (const QString& line : m_in.airlineLines)
                m_airlines.insert(line.toUpper());
        }

        m_ini.setPath(m_in.aircraftCfg);
        // Every key comes from one parse of the file, however large it is,
        // and the file is read once: the snapshot parses what was just read.
        const platform::profile::Snapshot snapshot(m_in.aircraftCfg, std::move(cfg));
        QStringList sSections;
        qint32 lSectionCount = 0;
        m_ini.EnumerateAllSections(sSections, lSectionCount);
        // A section name that stands twice is two entries, each read from its own section.
        const QList<AircraftCfg::EntryRef> refs = AircraftCfg::entryRefs(sSections);
        m_r.entries.reserve(refs.size());
        qsizetype entry = 0;
        for (qint32 lSection = 0; lSection < lSectionCount; ++lSection) {
            const QString& name = sSections[lSection];
            if (AircraftCfg::isEffectsSection(name) && flagOn(21) && m_in.airlinesFound)
                effectsCheck(name);
            if (AircraftCfg::isEntrySection(name)) {
                const AircraftCfg::EntryRef& ref = refs[entry++];
                collectEntry(ref.section, ref.occurrence);
            }
        }
        if (m_r.entries.isEmpty()) {
            m_r.status = Status::NoFltsimSection;
            return m_r;
        }

        numbering();
        // Liveries share their folders (fifty entries, five models): each
        // value is looked up once per run.
        QHash<QString, int> textures, airs, models;
        const auto once = [](QHash<QString, int>& seen, const std::optional<QString>& value,
                             const auto& lookUp) {
            if (!value)
                return lookUp();
            if (const auto it = seen.constFind(*value); it != seen.cend())
                return *it;
            const int state = lookUp();
            seen.insert(*value, state);
            return state;
        };
        for (Entry& e : m_r.entries) {
            e.textureState = once(textures, e.texture, [&] { return textureState(e); });
            e.airState = once(airs, e.sim, [&] { return airState(e); });
            e.modelState = once(models, e.model, [&] { return modelState(e); });
        }
        lists();

        // A report left inside the aircraft folder by an older version is
        // stale; one that cannot be removed does no harm and is left.
        const QString staleLog = platform::paths::resolveUnder(m_folder, u"zibcheck.log");
        if (QFileInfo(staleLog).isFile())
            platform::fileio::remove(staleLog);

        m_r.emptyFolderBase = m_prefix;
        WalkScope scope(m_folder);
        FindEmptyFolders(scope, m_folder, m_prefix, m_r.emptyFolders, m_in.yield);
    } catch (const RunError& e) {
        Result failed;
        failed.status = Status::FileSystemError;
        failed.error = e.text;
        failed.flags = m_r.flags;
        failed.simulator = m_r.simulator;
        failed.textureFormat = m_r.textureFormat;
        failed.aircraftFolderText = m_r.aircraftFolderText;
        return failed;
    }
    return m_r;
}

void Run::collectEntry(const QString& section, int occurrence)
{
    Entry e;
    e.section = section.toLower();
    m_ini.setSection(section, occurrence);
    for (const auto& [key, read] : m_ini.SectionValues()) {
        const QString lower = key.toLower();
        const auto value = [&read] { return modGlobal::StripComment(read); };
        if (lower == u"title") {
            e.title = value();
        } else if (lower == u"sim") {
            e.sim = value().toLower();
        } else if (lower == u"model") {
            e.model = value().toLower().replace(u'/', u'\\');
        } else if (lower == u"texture") {
            e.texture = value().toLower().replace(u'/', u'\\');
        } else if (lower == u"atc_airline") {
            e.atcAirline = value().toUpper();
            if (m_in.airlinesFound) {
                if (e.atcAirline->isEmpty())
                    e.airlineState = AirlineState::None;
                else
                    e.airlineState =
                        m_airlines.contains(*e.atcAirline) ? AirlineState::Known : AirlineState::Unknown;
                m_r.airlineKeyRead = true;
            }
        }
    }
    m_r.entries.append(std::move(e));
}

void Run::numbering()
{
    QSet<QString> names;
    names.reserve(m_r.entries.size());
    for (const Entry& e : m_r.entries)
        names.insert(e.section);
    for (qsizetype i = 0; i < m_r.entries.size(); ++i) {
        Entry& e = m_r.entries[i];
        e.numberingState = 1;
        if (AircraftCfg::leadingNumber(QStringView(e.section).mid(7)) == static_cast<double>(i))
            continue;
        m_r.notInSequentialOrder = true;
        // Out of order but every number 0..n-1 present: a renumbering would
        // only move sections, so the entry is not misnumbered.
        if (!names.contains(QStringLiteral("fltsim.%1").arg(i))) {
            e.numberingState = 0;
            m_r.misnumberedFound = true;
            m_r.misnumbered.append(u'[' + e.section + u']');
        }
    }
}

} // namespace detail

Result validate(const Input& input)
{
    // The empty-folder walk lets the caller's event loop run; a second run
    // started from there would share nothing with this one but the disk, and
    // its report would be overwritten by this one's: refuse it.
    static bool running = false;
    if (running) {
        Result busy;
        busy.status = Status::Busy;
        busy.error = QStringLiteral("A validation is already running.");
        return busy;
    }
    running = true;
    const auto done = qScopeGuard([] { running = false; });
    return detail::Run(input).exec();
}

} // namespace FolderValidation
