#pragma once

#include <QString>

#include <memory>

class QTemporaryFile;

namespace FolderValidation::detail {

// The file a texture.cfg or Model.cfg key is read from. The profile functions
// take a UTF-8 byte-order mark for part of the first line, so the mark goes:
// a file inside the aircraft folder (links resolved) is rewritten without it;
// a file elsewhere, or one that cannot be rewritten (read-only), stays as it
// is and its keys are read from a copy without the mark in `tempFolder` (the
// system's temporary folder when empty), so the aliasing still counts.
// A file that cannot be read leaves the reason in error().
class CfgSource
{
public:
    CfgSource(const QString& path, const QString& aircraftFolder, const QString& tempFolder);
    ~CfgSource();
    CfgSource(CfgSource&&) noexcept;
    CfgSource& operator=(CfgSource&&) = delete;

    const QString& path() const { return m_path; }
    const QString& error() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    std::unique_ptr<QTemporaryFile> m_copy;
};

} // namespace FolderValidation::detail
