#pragma once

#include <QString>

#include <memory>

class QTemporaryFile;

namespace FolderValidation::detail {

// The file a texture.cfg or Model.cfg key is read from. The profile functions
// take a UTF-8 byte-order mark for part of the first line, so the mark goes:
// a file of the aircraft folder is rewritten without it, where the rewrite
// stays inside that folder (links resolved). A file elsewhere, one that a
// link leads out of the folder and one that cannot be rewritten (read-only)
// stay as they are, and their keys are read from a copy without the mark in
// `tempFolder` (the system's temporary folder when empty), so the aliasing
// still counts. A file of the aircraft folder that keeps its mark says why
// in markKept(). A file that cannot be read leaves the reason in error().
class CfgSource
{
public:
    CfgSource(const QString& path, const QString& aircraftFolder, const QString& tempFolder);
    ~CfgSource();
    CfgSource(CfgSource&&) noexcept;
    CfgSource& operator=(CfgSource&&) = delete;

    const QString& path() const { return m_path; }
    const QString& error() const { return m_error; }
    const QString& markKept() const { return m_markKept; }

private:
    QString m_path;
    QString m_error;
    QString m_markKept;
    std::unique_ptr<QTemporaryFile> m_copy;
};

} // namespace FolderValidation::detail
