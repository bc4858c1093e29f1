#include "mainwindow/FolderLoad.h"

#include "editing/NumberText.h"
#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "platform/ProfileEngine.h"
#include "shared/modGlobal.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>

namespace FolderLoad {

namespace {

using namespace AircraftCfg;

// The listing of "<prefix>.*" folders: the bare prefix is "<default>", the
// others show their suffix.
QStringList prefixedFolders(const QString& folder, const QString& prefix)
{
    QStringList out;
    const QStringList names =
        platform::paths::matchEntries(folder, QString(prefix + QStringLiteral(".*")), platform::paths::EntryKind::Dirs);
    for (const QString& n : names)
        out.append(n.size() == prefix.size() ? QStringLiteral("<default>") : n.mid(prefix.size() + 1));
    return out;
}

void readOtherSection(clsIniFile& ini, const QString& section, Result& r)
{
    ini.setSection(section);
    QStringList keys;
    qint32 count = 0;
    ini.EnumerateCurrentSection(keys, count);
    const bool general = isGeneralSection(section);
    for (const QString& key : keys) {
        const QString lower = key.toLower();
        if (lower == u"wing_span") {
            ini.setKey(key);
            r.wingSpanOrg = numbertext::toText(leadingNumber(ini.Value()));
            continue;
        }
        if (const int exit = exitIndex(key); exit >= 0) {
            ini.setKey(key);
            const ExitValue v = parseExit(ini.Value());
            ExitRead read = r.exits[static_cast<size_t>(exit)].value_or(ExitRead{});
            // A part the value has sets its box, even when empty; a missing
            // one leaves the box as it was.
            for (size_t b = 0; b < static_cast<size_t>(v.parts); ++b)
                read.boxes[b] = v.boxes[b];
            read.comment = v.comment;
            read.allParts = v.allParts;
            if (v.allParts)
                r.jetwaysPossible = true;
            r.exits[static_cast<size_t>(exit)] = read;
            continue;
        }
        if (general && lower == u"atc_model") {
            ini.setKey(key);
            r.generalAtcModel = ini.Value();
        } else if (general && lower == u"atc_type") {
            ini.setKey(key);
            r.generalAtcType = ini.Value();
        }
    }
}

void readEffectsSection(clsIniFile& ini, const QString& section, Result& r)
{
    ini.setSection(section);
    QStringList keys;
    qint32 count = 0;
    ini.EnumerateCurrentSection(keys, count);
    for (const QString& key : keys) {
        const int slot = effectSlotIndex(key);
        if (slot < 0)
            continue;
        ini.setKey(key);
        r.effects[static_cast<size_t>(slot)] = parseEffect(ini.Value());
    }
}

} // namespace

Result load(const QString& folder, clsIniFile& ini, bool folderChoices)
{
    return load(folder, ini, folderChoices, {});
}

Result load(const QString& folder, clsIniFile& ini, bool folderChoices,
            const std::function<void(GridRow&&)>& rowSink)
{
    Result r;
    if (folderChoices) {
        r.textureItems = textureItems(folder);
        r.modelItems = modelItems(folder);
    }
    r.airItems = airItems(folder);

    const QString cfg = platform::paths::resolveUnder(folder, u"aircraft.cfg");
    if (!platform::paths::regularFileExists(cfg))
        return r;
    r.cfgExists = true;
    r.cfgPath = cfg;
    QFile probe;
    if (const platform::fileio::Result opened = platform::fileio::openRegular(cfg, &probe); !opened) {
        // The reason alone: the message names the file itself.
        const QString prefix = cfg + QStringLiteral(": ");
        r.cfgError = opened.error.startsWith(prefix) ? opened.error.mid(prefix.size()) : opened.error;
    }
    probe.close();
    ini.setPath(cfg);
    const platform::profile::Snapshot snapshot(cfg);

    qint32 sectionCount = 0;
    ini.EnumerateAllSections(r.sections, sectionCount);

    // The duplicate tests capitalise a value as IsInArray does (a number
    // stays as it is) and look for it among those seen so far. A title test
    // also matches an empty title, as the per-section slot list it stands for
    // always held an empty slot for the section being read.
    QSet<QString> entryNames;
    QSet<QString> titles;
    // Sections that share a name are told apart by their occurrence.
    const QList<EntryRef> refs = entryRefs(r.sections);
    qsizetype entry = 0;
    static const int kTitle = entryKeyIndex(u"title");
    static const int kSim = entryKeyIndex(u"sim");
    static const int kDescription = entryKeyIndex(u"description");
    if (!rowSink)
        r.rows.reserve(refs.size());
    r.descriptions.reserve(refs.size());

    for (qsizetype i = 0; i < r.sections.size(); ++i) {
        const QString name = r.sections[i];
        switch (sectionKind(name)) {
        case SectionKind::Effects:
            readEffectsSection(ini, name, r);
            continue;
        case SectionKind::General:
        case SectionKind::Other:
            readOtherSection(ini, name, r);
            continue;
        case SectionKind::Entry:
            break;
        }

        const QString upper = modGlobal::UpperUnlessNumeric(name);
        if (entryNames.contains(upper))
            r.statusNok = true;
        entryNames.insert(upper);
        r.sections[i] = upper;

        r.descriptions.append(QString());
        ini.setSection(name, refs[entry++].occurrence);
        GridRow row;
        row.text = modGlobal::StripComment(upper);
        for (const auto& [key, value] : ini.SectionValues()) {
            const int index = entryKeyIndex(key);
            if (index < 0)
                continue;
            const EntryKey& ek = entryKeys()[static_cast<size_t>(index)];
            if (ek.column >= 2)
                row.subItems[static_cast<size_t>(ek.column - 2)] = readEntryValue(index, value);
            if (index == kTitle) {
                const QString t = modGlobal::UpperUnlessNumeric(value);
                if (t.isEmpty() || titles.contains(t))
                    r.statusNok = true;
                titles.insert(t);
            } else if (index == kSim) {
                if (r.airFile.isEmpty())
                    r.airFile = value;
            } else if (index == kDescription) {
                r.descriptions.last() = value;
            }
        }
        if (rowSink)
            rowSink(std::move(row));
        else
            r.rows.append(std::move(row));
    }
    return r;
}

int removeLeftovers(const QString& folder)
{
    // A rewrite's temporary file is hidden (its name starts with '.'): while
    // lookups are remembered, a folder whose listing shows no hidden entry
    // is not searched again.
    const auto clear = [](const QString& dir) {
        if (platform::paths::lookupsRemembered()) {
            const QStringList names = platform::paths::matchEntries(dir, u"*", platform::paths::EntryKind::Any);
            if (std::none_of(names.cbegin(), names.cend(), [](const QString& n) { return n.startsWith(u'.'); }))
                return 0;
        }
        return platform::fileio::removeStaleTemporaries(dir);
    };
    int removed = clear(folder);
    for (const QStringView pattern : {u"texture.*", u"model.*"}) {
        for (const QString& name : platform::paths::matchEntries(folder, pattern, platform::paths::EntryKind::Dirs))
            removed += clear(platform::paths::join(folder, name));
    }
    return removed;
}

CurrentFiles currentFiles(clsIniFile& ini, const QString& section, int occurrence)
{
    CurrentFiles f;
    ini.setSection(section, occurrence);
    ini.setKey(QStringLiteral("texture"));
    f.texture = fileFolderText(ini.Value());
    ini.setKey(QStringLiteral("model"));
    f.model = fileFolderText(ini.Value());
    ini.setKey(QStringLiteral("sim"));
    f.airFile = modGlobal::StripComment(ini.Value());
    if (f.airFile.isEmpty())
        f.airFile = QStringLiteral("<none>");
    return f;
}

QStringList textureItems(const QString& folder) { return prefixedFolders(folder, QStringLiteral("texture")); }

QStringList modelItems(const QString& folder) { return prefixedFolders(folder, QStringLiteral("model")); }

QStringList airItems(const QString& folder)
{
    QStringList out;
    for (const QString& n : platform::paths::matchEntries(folder, u"*.air", platform::paths::EntryKind::Files))
        out.append(n.left(n.indexOf(u'.')));
    return out;
}

} // namespace FolderLoad
