#include "validation/CfgSource.h"

#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "validation/FolderValidation.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace FolderValidation::detail {

namespace {

// Whether the path, as it is written, names a file below the folder.
bool namedInside(const QString& folder, const QString& path)
{
    const QString dir = QDir::cleanPath(folder);
    return QDir::cleanPath(path).startsWith(dir.endsWith(u'/') ? dir : dir + u'/');
}

// A write failure without the file's name in front ("<path>: the file is
// read-only"): the report names the file itself.
QString reasonOnly(const QString& error, const QString& path)
{
    for (const QString& name : {path, QFileInfo(path).canonicalFilePath()}) {
        if (!name.isEmpty() && error.startsWith(name + QStringLiteral(": ")))
            return error.mid(name.size() + 2);
    }
    return error;
}

} // namespace

CfgSource::CfgSource(const QString& path, const QString& aircraftFolder, const QString& tempFolder)
    : m_path(path)
{
    QByteArray bytes;
    bool withoutMark = false;
    if (namedInside(aircraftFolder, path)) {
        const BomResult r = ReadByteArray(path, bytes, aircraftFolder);
        if (!r.read) {
            m_error = r.read.error;
            return;
        }
        withoutMark = r.bomFound && !r.rewritten;
        if (withoutMark)
            m_markKept = reasonOnly(r.rewriteError, path);
    } else {
        if (const auto r = platform::fileio::readAll(path, &bytes); !r) {
            m_error = r.error;
            return;
        }
        withoutMark = bytes.startsWith("\xEF\xBB\xBF");
        if (withoutMark)
            bytes.remove(0, 3);
    }
    if (!withoutMark)
        return;
    m_copy = tempFolder.isEmpty() ? std::make_unique<QTemporaryFile>()
                                  : std::make_unique<QTemporaryFile>(tempFolder + QStringLiteral("/cfg-XXXXXX"));
    if (m_copy->open() && m_copy->write(bytes) == bytes.size() && m_copy->flush())
        m_path = m_copy->fileName();
}

CfgSource::CfgSource(CfgSource&&) noexcept = default;
CfgSource::~CfgSource() = default;

} // namespace FolderValidation::detail
