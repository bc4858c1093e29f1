// The lists one validation run makes over all entries: undefined and
// duplicate values, the folder scans and what is missing or unused.
#include "validation/ValidationRun.h"

#include "platform/PathResolver.h"

namespace FolderValidation::detail {

// Groups the entries that share a value: a group of two or more adds one
// line per entry. Entries without the value take no part: a missing title or
// texture is reported as undefined already.
void Run::duplicateGroups(const std::function<std::optional<QString>(const Entry&)>& value, QStringList& list,
                          bool* found) const
{
    QHash<QString, QList<qsizetype>> byValue;
    QStringList order;
    byValue.reserve(m_r.entries.size());
    order.reserve(m_r.entries.size());
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

    // Entries whose folder or file is not there, and those without the key;
    // the missing list keeps its "0" when everything is there.
    const auto notFound = [&entries](int Entry::*state, const auto& missingName, const QString& key,
                                     QStringList& missingOut, QStringList& undefinedOut) {
        QStringList missing;
        for (const Entry& e : entries) {
            if (e.*state == kNotFound)
                missing.append(e.section + QStringLiteral(" -->  ..\\") + missingName(e));
            else if (e.*state == kKeyMissing)
                undefinedOut.append(e.section + QStringLiteral(" --> no '") + key +
                                    QStringLiteral("=' entry"));
        }
        if (!missing.isEmpty())
            missingOut = missing;
    };
    notFound(
        &Entry::textureState,
        [](const Entry& e) -> QString { return QStringLiteral("texture.") + e.texture.value_or(QString()); },
        QStringLiteral("texture"), m_r.missingTextures, m_r.undefinedTextures);

    folderScan(
        QStringLiteral("model"), QStringLiteral("*.mdl"), [](const Entry& e) { return e.model; },
        m_r.modelsFound, m_r.unusedModels);
    notFound(
        &Entry::modelState,
        [](const Entry& e) -> QString { return QStringLiteral("Model.") + e.model.value_or(QString()); },
        QStringLiteral("model"), m_r.missingModels, m_r.undefinedModels);

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

    notFound(
        &Entry::airState,
        [](const Entry& e) -> QString { return e.sim.value_or(QString()) + QStringLiteral(".air"); },
        QStringLiteral("sim"), m_r.missingAirFiles, m_r.undefinedAirFiles);
}

} // namespace FolderValidation::detail
