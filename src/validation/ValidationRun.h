#pragma once

#include "shared/clsIniFile.h"
#include "validation/AnalyzeOptions.h"
#include "validation/CfgSource.h"
#include "validation/FolderListing.h"
#include "validation/FolderValidation.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// One validation run. Its parts live in three files: the run itself with
// the entry collection (FolderValidation.cpp), the checks of each entry's
// files and of the effects (EntryChecks.cpp), and the lists over all
// entries with the folder scans (FindingLists.cpp).
namespace FolderValidation::detail {

inline const QString kZero = QStringLiteral("0");

// A file-system error that ends the run without a report.
struct RunError
{
    QString text;
};


// An existing regular file at an already resolved path; a last part with
// wildcards is matched against the listing, as the Windows test does.
bool fileThere(const QString& path);

// The folder an entry's texture or model value names, below the aircraft
// folder. Windows drops the dot of "texture." before a '\', so an empty value
// and one that starts with '\' name the bare "texture" (or "model") folder.
QString folderName(const QString& prefix, const QString& value);

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
    CfgSource cfgSource(const QString& path)
    {
        CfgSource source(path, m_folder, m_in.tempFolder);
        if (!source.error().isEmpty())
            throw RunError{source.error()};
        // A file that several entries read is told once.
        if (!source.markKept().isEmpty() && !m_marksTold.contains(path)) {
            m_marksTold.insert(path);
            m_r.marksKept.append(QStringLiteral("..\\") + below(QDir::cleanPath(path)) + QStringLiteral(" --> ") +
                                 source.markKept());
        }
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
    QSet<QString> m_marksTold; // the files whose kept mark the report names already
    QHash<QString, QList<DirEntry>> m_listings;
};

} // namespace FolderValidation::detail
