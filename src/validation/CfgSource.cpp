#include "validation/CfgSource.h"

#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "validation/FolderValidation.h"

#include <QTemporaryFile>

namespace FolderValidation::detail {

CfgSource::CfgSource(const QString& path, const QString& aircraftFolder, const QString& tempFolder)
    : m_path(path)
{
    QByteArray bytes;
    bool withoutMark = false;
    if (platform::paths::liesInside(aircraftFolder, path)) {
        const BomResult r = ReadByteArray(path, bytes);
        if (!r.read) {
            m_error = r.read.error;
            return;
        }
        withoutMark = r.bomFound && !r.rewritten;
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
