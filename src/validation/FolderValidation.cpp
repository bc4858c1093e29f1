#include "validation/FolderValidation.h"

#include "editing/AircraftCfg.h"
#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "platform/ProfileEngine.h"
#include "validation/AnalyzeOptions.h"
#include "validation/CfgSource.h"
#include "shared/clsIniFile.h"
#include "shared/RuntimeError.h"
#include "validation/FolderListing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>

namespace FolderValidation {

using namespace detail;

QString simulatorName(Simulator simulator)
{
    return simulator == Simulator::FS9 ? QStringLiteral("FS9") : QStringLiteral("FSX");
}

namespace {

const QString kZero = QStringLiteral("0");

// A file-system error that ends the run without a report.
struct RunError
{
    QString text;
};

// VB's Trim: blanks only, tabs stay.
QString trimBlanks(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

bool hasWildcard(QStringView s)
{
    return s.contains(u'*') || s.contains(u'?');
}

// An existing regular file at an already resolved path; a last part with
// wildcards is matched against the listing, as the Windows test does.
bool fileThere(const QString& path)
{
    if (hasWildcard(path))
        return platform::paths::regularFileExists(path);
    return QFileInfo(path).isFile();
}

// The folder an entry's texture or model value names, below the aircraft
// folder. Windows drops the dot of "texture." before a '\', so an empty value
// and one that starts with '\' name the bare "texture" (or "model") folder.
QString folderName(const QString& prefix, const QString& value)
{
    if (value.isEmpty() || value.startsWith(u'\\'))
        return prefix + value;
    return prefix + u'.' + value;
}

class Run
{
public:
    explicit Run(const Input& in) : m_in(in) {}

    Result exec();

private:
    bool flagOn(int index) const
    {
        return AnalyzeOptions::isOn(m_in.flags, index);
    }

    QList<DirEntry> listingOrThrow(const QString& dir)
    {
        QString error;
        std::optional<QList<DirEntry>> entries = listing(dir, &error);
        if (!entries)
            throw RunError{error};
        return *entries;
    }

    // A texture.cfg or Model.cfg to read keys from; an unreadable one ends the run.
    CfgSource cfgSource(const QString& path) const
    {
        CfgSource source(path, m_folder, m_in.tempFolder);
        if (!source.error().isEmpty())
            throw RunError{source.error()};
        return source;
    }

    std::optional<QList<DirEntry>> listing(const QString& dir, QString* error = nullptr);
    QString resolve(const QString& dir, const QString& relative);

    // The path of a folder below the aircraft folder, parts joined by '\'.
    QString below(const QString& path) const
    {
        QString rel = path.mid(m_prefix.size());
        rel.replace(u'/', u'\\');
        return rel;
    }

    void effectsCheck(const QString& section);
    void collectEntry(const QString& section, int occurrence);
    void numbering();
    int textureState(Entry& e);
    int modelState(Entry& e);
    int airState(Entry& e);
    int modelFileState(const QString& folder, const QString& normal);
    std::optional<QString> resolveFallback(const QString& textureFolder, QString value) const;
    bool holdsImages(const QString& folder);
    void duplicateGroups(const std::function<std::optional<QString>(const Entry&)>& value, QStringList& list,
                         bool* found) const;
    void folderScan(const QString& prefix, const QString& pattern,
                    const std::function<std::optional<QString>(const Entry&)>& value, int& found,
                    QStringList& unused);
    void lists();

    const Input& m_in;
    Result m_r;
    QString m_folder; // the aircraft folder, absolute, without a trailing '/'
    QString m_prefix; // the same with the trailing '/'
    clsIniFile m_ini;
    QSet<QString> m_airlines; // the chosen airlines.cfg's lines in capitals
    QHash<QString, QList<DirEntry>> m_listings;
};

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
        if (const auto r = platform::fileio::readAll(m_in.aircraftCfg, &cfg); !r)
            throw RunError{r.error};

        if (m_in.airlinesFound) {
            for (const QString& line : m_in.airlineLines)
                m_airlines.insert(line.toUpper());
        }

        m_ini.setPath(m_in.aircraftCfg);
        // Every key comes from one parse of the file, however large it is.
        const platform::profile::Snapshot snapshot(m_in.aircraftCfg);
        QStringList sSections;
        qint32 lSectionCount = 0;
        m_ini.EnumerateAllSections(sSections, lSectionCount);
        // A section name that stands twice is two entries, each read from its own section.
        const QList<AircraftCfg::EntryRef> refs = AircraftCfg::entryRefs(sSections);
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

void Run::effectsCheck(const QString& section)
{
    m_ini.setSection(section);
    QStringList keys;
    qint32 count = 0;
    m_ini.EnumerateCurrentSection(keys, count);

    // One slot per key; the slots left filled are the files that are missing.
    modGlobal::StringArray files = QStringList();
    for (const QString& key : keys) {
        QString file;
        if (key != u"windshield_rain_effect_available") {
            m_ini.setKey(key);
            const QString v = modGlobal::StripComment(m_ini.Value());
            const QString lower = v.toLower();
            if (lower.startsWith(u"fx_dummy")) {
                file.clear();
            } else if (lower.startsWith(u"false") || lower.startsWith(u"true") || lower.startsWith(u"0") ||
                       lower.startsWith(u"1") || lower.startsWith(u"-1")) {
                // Only switched on: the simulator plays its own default effect.
                file = EffectFileDefault(key);
            } else {
                file = trimBlanks(lower);
            }
            // A trailing ",1" only makes the effect run once.
            const qsizetype comma = file.indexOf(u',');
            if (comma >= 0)
                file = trimBlanks(file.left(comma));
            // An effect without a name ("fueldump=, 0") names no file.
            if (!file.isEmpty() && !file.endsWith(u".fx"))
                file += QStringLiteral(".fx");
        }
        files->append(file);
    }

    for (QString& file : *files) {
        if (file.isEmpty() || m_in.effectsFolder.isEmpty())
            continue;
        if (fileThere(resolve(m_in.effectsFolder, file)))
            file.clear();
    }
    for (qint32 i = static_cast<qint32>(files->size()) - 1; i >= 0; --i) {
        if ((*files)[i].isEmpty())
            ArrayRemoveItem(&files, i);
    }
    m_r.missingEffectFiles = *files;
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
    m_r.entries.append(e);
}

void Run::numbering()
{
    QSet<QString> names;
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

bool Run::holdsImages(const QString& folder)
{
    return holdsFileMatching(listingOrThrow(folder), {u"*.bmp", u"*.dds"});
}

int Run::textureState(Entry& e)
{
    if (!e.texture) {
        m_r.undefinedTextureFound = true;
        return kKeyMissing;
    }
    const QString folder = resolve(m_folder, folderName(QStringLiteral("texture"), *e.texture));
    if (!QFileInfo(folder).isDir())
        return kNotFound;
    if (holdsImages(folder))
        return kFound;
    const QString cfg = resolve(folder, QStringLiteral("texture.cfg"));
    if (!QFileInfo(cfg).isFile())
        return kNotFound;
    m_r.textureAliasingUsed = true;
    const CfgSource source = cfgSource(cfg);
    const QString value = ReadIniKey(QStringLiteral("fltsim"), QStringLiteral("fallback.1"), source.path());
    if (value.isEmpty())
        return kNotFound;
    QString v = modGlobal::StripComment(value);
    v.replace(u'/', u'\\');
    const std::optional<QString> target = resolveFallback(folder, v);
    if (!target || !QFileInfo(*target).isDir())
        return kNotFound;
    return holdsImages(*target) ? kFound : kNotFound;
}

// Every "..\" of the value climbs one level from the texture folder and the
// rest of the value, without them, is looked up below the folder reached. A
// value without "..\" names a folder below the texture folder; one that
// climbs above the root names nothing.
std::optional<QString> Run::resolveFallback(const QString& textureFolder, QString value) const
{
    const qint32 ups = modGlobal::CountDelimiters(value, QStringLiteral("..\\"));
    value.remove(QStringLiteral("..\\"));
    QString base = QDir::cleanPath(textureFolder);
    for (qint32 i = 0; i < ups; ++i) {
        if (base == u"/")
            return std::nullopt;
        const qsizetype slash = base.lastIndexOf(u'/');
        base = slash <= 0 ? QStringLiteral("/") : base.left(slash);
    }
    return platform::paths::resolveUnder(base, value);
}

int Run::airState(Entry& e)
{
    if (!e.sim) {
        m_r.undefinedAirFileFound = true;
        return kKeyMissing;
    }
    return fileThere(resolve(m_folder, QString(*e.sim + QStringLiteral(".air")))) ? kFound : kNotFound;
}

int Run::modelFileState(const QString& folder, const QString& normal)
{
    QString name = modGlobal::StripComment(normal);
    if (name.right(3).toLower() != u"mdl")
        name += QStringLiteral(".mdl");
    return fileThere(resolve(folder, name)) ? kFound : kNotFound;
}

int Run::modelState(Entry& e)
{
    if (!e.model) {
        m_r.undefinedModelFound = true;
        return kKeyMissing;
    }
    const QString folder = resolve(m_folder, folderName(QStringLiteral("model"), *e.model));
    if (!QFileInfo(folder).isDir())
        return kNotFound;
    const QString cfg = resolve(folder, QStringLiteral("Model.cfg"));
    if (!QFileInfo(cfg).isFile())
        return kNotFound;
    const CfgSource source = cfgSource(cfg);
    const QString normal = ReadIniKey(QStringLiteral("models"), QStringLiteral("normal"), source.path());
    if (!normal.isEmpty())
        return modelFileState(folder, normal);

    // No model of its own: "alias" names another aircraft's model folder,
    // relative to the folder that holds the aircraft folders.
    QString alias = ReadIniKey(QStringLiteral("fltsim"), QStringLiteral("alias"), source.path());
    if (alias.isEmpty())
        return kNotFound;
    alias = modGlobal::StripComment(alias);
    if (!alias.startsWith(u'\\'))
        alias.prepend(u'\\');
    const QString parent = QFileInfo(m_folder).dir().absolutePath();
    const QString aliasFolder = platform::paths::resolveUnder(m_folder == u"/" ? m_folder : parent, alias);
    const QString aliasCfg = resolve(aliasFolder, QStringLiteral("Model.cfg"));
    if (!QFileInfo(aliasCfg).isFile())
        return kNotFound;
    const CfgSource aliasSource = cfgSource(aliasCfg);
    const QString aliasNormal =
        ReadIniKey(QStringLiteral("models"), QStringLiteral("normal"), aliasSource.path());
    if (aliasNormal.isEmpty())
        return kNotFound;
    return modelFileState(aliasFolder, aliasNormal);
}

// Groups the entries that share a value: a group of two or more adds one
// line per entry. Entries without the value take no part: a missing title or
// texture is reported as undefined already.
void Run::duplicateGroups(const std::function<std::optional<QString>(const Entry&)>& value, QStringList& list,
                          bool* found) const
{
    QHash<QString, QList<qsizetype>> byValue;
    QStringList order;
    for (qsizetype i = 0; i < m_r.entries.size(); ++i) {
        const std::optional<QString> v = value(m_r.entries[i]);
        if (!v)
            continue;
        auto it = byValue.find(*v);
        if (it == byValue.end()) {
            order.append(*v);
            it = byValue.insert(*v, {});
        }
        it->append(i);
    }
    QStringList items;
    for (const QString& v : order) {
        const QList<qsizetype>& group = byValue[v];
        if (group.size() < 2)
            continue;
        for (qsizetype i : group)
            items.append(u'"' + v + QStringLiteral("\" --> ") + m_r.entries[i].section);
    }
    if (!items.isEmpty()) {
        list = items;
        if (found)
            *found = true;
    }
}

// Walks the "texture.*" (or "model.*") folders and sorts each into used,
// unused or ignored.
void Run::folderScan(const QString& prefix, const QString& pattern,
                     const std::function<std::optional<QString>(const Entry&)>& value, int& found,
                     QStringList& unused)
{
    WalkScope scope(m_folder);
    ScanAccum sScanAccum;
    const Lister kept = [this](const QString& dir, QList<DirEntry>& out, QString* error) {
        std::optional<QList<DirEntry>> entries = listing(dir, error);
        if (entries)
            out = *entries;
        return entries.has_value();
    };
    const QList<DirEntry> top = listingOrThrow(m_folder);
    const QString match = prefix + QStringLiteral(".*");
    for (const DirEntry& e : top) {
        // A file named like the folders is not walked and makes no pair.
        if (!e.isDir || !platform::paths::wildcardMatch(match, e.name))
            continue;
        const QString path = joinPath(m_folder, e.name);
        const QString canonical = childCanonical(scope.root(), path, e);
        if (!scope.enter(canonical, e.isLink))
            continue;
        const QList<DirEntry> entries = listingOrThrow(path);
        sScanAccum.append({path, holdsFileMatching(entries, {pattern}) ? QStringLiteral("-1") : kZero});
        if (const auto r = analyzeBelow(scope, path, canonical, entries, pattern, sScanAccum, kept); !r)
            throw RunError{r.error};
    }
    // The aircraft folder closes the scan; it is never examined.
    sScanAccum.append({m_folder, holdsFileMatching(top, {pattern}) ? QStringLiteral("-1") : kZero});

    // An entry without the key uses the bare folder, as the simulator does.
    QSet<QString> used;
    for (const Entry& e : m_r.entries)
        used.insert(folderName(prefix, value(e).value_or(QString())));
    QStringList items;
    for (qsizetype i = 0; i + 1 < sScanAccum.size(); ++i) {
        const QString name = below(sScanAccum[i].path).toLower();
        if (used.contains(name)) {
            ++found;
        } else if (sScanAccum[i].flag == u"-1") {
            items.append(QStringLiteral("..\\") + name);
            ++found;
        }
    }
    if (!items.isEmpty())
        unused = items;
}

void Run::lists()
{
    const auto& entries = m_r.entries;
    for (const Entry& e : entries) {
        if (!e.title || e.title->isEmpty()) {
            m_r.undefinedTitles.append(e.section + QStringLiteral(" --> no 'title=' entry"));
            m_r.undefinedTitleFound = true;
        }
    }
    duplicateGroups([](const Entry& e) { return e.title && !e.title->isEmpty() ? e.title : std::nullopt; },
                    m_r.duplicateTitles, &m_r.duplicateTitlesFound);
    // An empty texture value names the "texture" folder, so it can be shared.
    duplicateGroups([](const Entry& e) { return e.texture; }, m_r.texturesUsedMoreThanOnce, nullptr);

    folderScan(
        QStringLiteral("texture"), m_in.textureFormat, [](const Entry& e) { return e.texture; },
        m_r.texturesFound, m_r.unusedTextures);
    m_r.aliasingNote = m_r.textureAliasingUsed ? QString::fromUtf16(kAliasingNote) : QString();

    QStringList missing;
    for (const Entry& e : entries) {
        if (e.textureState == kNotFound)
            missing.append(e.section + QStringLiteral(" -->  ..\\texture.") + e.texture.value_or(QString()));
        else if (e.textureState == kKeyMissing)
            m_r.undefinedTextures.append(e.section + QStringLiteral(" --> no 'texture=' entry"));
    }
    if (!missing.isEmpty())
        m_r.missingTextures = missing;

    folderScan(
        QStringLiteral("model"), QStringLiteral("*.mdl"), [](const Entry& e) { return e.model; },
        m_r.modelsFound, m_r.unusedModels);
    missing.clear();
    for (const Entry& e : entries) {
        if (e.modelState == kNotFound)
            missing.append(e.section + QStringLiteral(" -->  ..\\Model.") + e.model.value_or(QString()));
        else if (e.modelState == kKeyMissing)
            m_r.undefinedModels.append(e.section + QStringLiteral(" --> no 'model=' entry"));
    }
    if (!missing.isEmpty())
        m_r.missingModels = missing;

    for (const Entry& e : entries) {
        switch (e.airlineState) {
        case AirlineState::None:
            m_r.airlinesWithoutValue.append(e.section + QStringLiteral(" -->  atc_airline missing"));
            break;
        case AirlineState::Unknown:
            m_r.unknownAirlines.append(e.section + QStringLiteral(" -->  atc_airline=") +
                                       e.atcAirline.value_or(QString()));
            break;
        case AirlineState::Known:
            ++m_r.airlinesFound;
            break;
        }
    }

    QSet<QString> named;
    for (const Entry& e : entries) {
        if (e.sim)
            named.insert(*e.sim + QStringLiteral(".air"));
    }
    QStringList unusedAir;
    for (const DirEntry& f : listingOrThrow(m_folder)) {
        if (!f.isFile || !platform::paths::wildcardMatch(u"*.air", f.name))
            continue;
        ++m_r.airFilesFound;
        const QString lower = f.name.toLower();
        if (!named.contains(lower))
            unusedAir.append(QStringLiteral("..\\") + lower);
    }
    if (!unusedAir.isEmpty())
        m_r.unusedAirFiles = unusedAir;

    missing.clear();
    for (const Entry& e : entries) {
        if (e.airState == kNotFound)
            missing.append(e.section + QStringLiteral(" -->  ..\\") + e.sim.value_or(QString()) +
                           QStringLiteral(".air"));
        else if (e.airState == kKeyMissing)
            m_r.undefinedAirFiles.append(e.section + QStringLiteral(" --> no 'sim=' entry"));
    }
    if (!missing.isEmpty())
        m_r.missingAirFiles = missing;
}

} // namespace

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
    return Run(input).exec();
}

} // namespace FolderValidation
